#pragma once

#include "routerclient.h"

#include <string>

namespace quorin {

// Keeps the game's port open on the home router while the server waits: a mapping of the
// router's TCP port to this computer's, and where the computer has a global IPv6 address
// and the router can, a pinhole in its IPv6 firewall. Each call blocks on the router.
class PortMapper {
public:
    // The lease asked for; a router that takes only permanent ones gets 0.
    static constexpr int kLeaseSeconds = 3600;
    // External ports tried after the game's own one when another computer holds it.
    static constexpr int kOtherPorts = 10;

    struct Opened {
        enum class Outcome { Open, NoRouter, Refused };
        Outcome outcome = Outcome::NoRouter;
        std::string externalAddress; // Open: the router's internet side
        int externalPort = 0;        // Open: the port a friend connects to
        std::string error;           // Refused: in the router's words
    };

    // `port`: this computer's port, and the first external port asked for.
    PortMapper(RouterClient& router, int port, int leaseSeconds = kLeaseSeconds)
        : router_(router), port_(port), lease_(leaseSeconds) {}

    // Maps the port; with `globalIPv6`, also opens a pinhole to it.
    Opened Open(const std::string& globalIPv6);
    // Renews what is open, before its lease runs out.
    void Renew();
    // Removes what is open.
    void Close();

    bool IsOpen() const { return externalPort_ != 0; }
    int lease() const { return lease_; }

private:
    RouterClient& router_;
    int port_;
    int lease_;
    int externalPort_ = 0; // while open
    std::string pinhole_;
};

} // namespace quorin
