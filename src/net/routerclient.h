#pragma once

#include <memory>
#include <string>

namespace quorin {

// What the program asks of the home router in front of this computer, so that a friend
// on the internet can reach the server. Every call blocks, for seconds when no router
// answers: it is only ever made off the user-interface thread.
class RouterClient {
public:
    virtual ~RouterClient() = default;

    // The router found, if any: one that maps ports by UPnP, else by NAT-PMP.
    struct Found {
        enum class Kind { None, Upnp, NatPmp };
        Kind kind = Kind::None;
        std::string externalAddress; // the router's own address on its internet side
        bool pinholes = false;       // it can open its IPv6 firewall to this computer
    };
    virtual Found Find() = 0;

    // A router's answer: 0, or its error code (UPnP 718: the external port is another
    // computer's, 725: only permanent leases), or -1; and the error in the router's words.
    struct Answer {
        int code = 0;
        std::string error;
        int externalPort = 0; // the port the router mapped (NAT-PMP may choose another)
        std::string pinhole;  // the identity of the pinhole opened
    };
    // TCP `externalPort` of the router to `internalPort` of this computer, for
    // `leaseSeconds` (0: until removed). Asked again with the same ports, it renews.
    virtual Answer AddMapping(int externalPort, int internalPort, int leaseSeconds) = 0;
    virtual void DeleteMapping(int externalPort, int internalPort) = 0;
    // The IPv6 firewall opened for TCP `port` of `address`.
    virtual Answer AddPinhole(const std::string& address, int port, int leaseSeconds) = 0;
    virtual void UpdatePinhole(const std::string& id, int leaseSeconds) = 0;
    virtual void DeletePinhole(const std::string& id) = 0;
};

// The router as the platform's libraries reach it: UPnP IGD first, then NAT-PMP.
std::unique_ptr<RouterClient> MakeHomeRouter();

} // namespace quorin
