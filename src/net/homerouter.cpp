// The home router reached through the libraries made for it: miniupnpc for UPnP IGD and
// libnatpmp for NAT-PMP. Nothing here is called on the user-interface thread.

#include "routerclient.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>
#define ENABLE_STRNATPMPERR
#include <natpmp.h>

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <sys/select.h>
#endif

#include <chrono>
#include <optional>
#include <string>

namespace quorin {
namespace {

// How long a search waits for routers to answer.
constexpr int kDiscoveryMs = 2000;
// How long a NAT-PMP request is tried before the router counts as silent.
constexpr std::chrono::seconds kNatPmpPatience{2};
constexpr const char* kDescription = "Quorin";

std::string Text(const char* text) {
    return text ? std::string(text) : std::string();
}

class HomeRouter : public RouterClient {
public:
    ~HomeRouter() override {
        if (igd_)
            FreeUPNPUrls(&urls_);
        if (natpmpOpen_)
            closenatpmp(&natpmp_);
    }

    Found Find() override {
        Found found;
        if (FindIgd(found) || FindNatPmp(found))
            return found;
        return {};
    }

    Answer AddMapping(int externalPort, int internalPort, int leaseSeconds) override {
        if (igd_) {
            const std::string external = std::to_string(externalPort),
                              internal = std::to_string(internalPort),
                              lease = std::to_string(leaseSeconds);
            const int code = UPNP_AddPortMapping(urls_.controlURL, data_.first.servicetype,
                                                 external.c_str(), internal.c_str(), lanAddress_,
                                                 kDescription, "TCP", nullptr, lease.c_str());
            return {code, code == 0 ? std::string() : Text(strupnperror(code)), externalPort, {}};
        }
        natpmpresp_t response{};
        const int code = NatPmp(
            [&] {
                return sendnewportmappingrequest(&natpmp_, NATPMP_PROTOCOL_TCP,
                                                 uint16_t(internalPort), uint16_t(externalPort),
                                                 uint32_t(leaseSeconds));
            },
            response);
        if (code < 0)
            return {code, Text(strnatpmperr(code)), 0, {}};
        return {0, {}, response.pnu.newportmapping.mappedpublicport, {}};
    }

    void DeleteMapping(int externalPort, int internalPort) override {
        if (igd_) {
            const std::string external = std::to_string(externalPort);
            UPNP_DeletePortMapping(urls_.controlURL, data_.first.servicetype, external.c_str(),
                                   "TCP", nullptr);
            return;
        }
        // A lifetime of 0 removes the mapping of the private port.
        natpmpresp_t response{};
        NatPmp(
            [&] {
                return sendnewportmappingrequest(&natpmp_, NATPMP_PROTOCOL_TCP,
                                                 uint16_t(internalPort), 0, 0);
            },
            response);
    }

    Answer AddPinhole(const std::string& address, int port, int leaseSeconds) override {
        if (!igd_ || !urls_.controlURL_6FC || !*urls_.controlURL_6FC)
            return {-1, "no IPv6 firewall control", 0, {}};
        const std::string internal = std::to_string(port), lease = std::to_string(leaseSeconds);
        char id[8] = {};
        const int code = UPNP_AddPinhole(urls_.controlURL_6FC, data_.IPv6FC.servicetype, "", "0",
                                         address.c_str(), internal.c_str(), "6", lease.c_str(), id);
        return {code, code == 0 ? std::string() : Text(strupnperror(code)), port, id};
    }

    void UpdatePinhole(const std::string& id, int leaseSeconds) override {
        if (igd_ && urls_.controlURL_6FC)
            UPNP_UpdatePinhole(urls_.controlURL_6FC, data_.IPv6FC.servicetype, id.c_str(),
                               std::to_string(leaseSeconds).c_str());
    }

    void DeletePinhole(const std::string& id) override {
        if (igd_ && urls_.controlURL_6FC)
            UPNP_DeletePinhole(urls_.controlURL_6FC, data_.IPv6FC.servicetype, id.c_str());
    }

private:
    bool FindIgd(Found& found) {
        // All asked for at once, and answers awaited once: a network without a router
        // costs one wait, not one for each kind.
        static const char* const kKinds[] = {"urn:schemas-upnp-org:device:InternetGatewayDevice:2",
                                             "urn:schemas-upnp-org:device:InternetGatewayDevice:1",
                                             "urn:schemas-upnp-org:service:WANIPConnection:2",
                                             "urn:schemas-upnp-org:service:WANIPConnection:1",
                                             "urn:schemas-upnp-org:service:WANPPPConnection:1",
                                             nullptr};
        int error = 0;
        UPNPDev* devices =
            upnpDiscoverDevices(kKinds, kDiscoveryMs, nullptr, nullptr, 0, 0, 2, &error, 1);
        if (!devices)
            return false;
#if MINIUPNPC_API_VERSION >= 18
        char wanAddress[64] = {};
        const int valid = UPNP_GetValidIGD(devices, &urls_, &data_, lanAddress_, sizeof lanAddress_,
                                           wanAddress, sizeof wanAddress);
        // 1: connected, with a public address; 2: connected, a private one; 3: not
        // connected; 4: no IGD. Both connected kinds map.
        const bool usable = valid == 1 || valid == 2;
#else
        const int valid =
            UPNP_GetValidIGD(devices, &urls_, &data_, lanAddress_, sizeof lanAddress_);
        // 1: connected; 2: reported as not connected, which is also what an IGD with a
        // private external address answers, and such an IGD still maps; 3: no IGD.
        const bool usable = valid == 1 || valid == 2;
#endif
        freeUPNPDevlist(devices);
        if (valid != 0 && !usable)
            FreeUPNPUrls(&urls_);
        if (!usable)
            return false;
        igd_ = true;
        char external[64] = {};
        if (UPNP_GetExternalIPAddress(urls_.controlURL, data_.first.servicetype, external) == 0)
            found.externalAddress = external;
        found.kind = Found::Kind::Upnp;
        found.pinholes = urls_.controlURL_6FC && *urls_.controlURL_6FC;
        return true;
    }

    bool FindNatPmp(Found& found) {
        if (initnatpmp(&natpmp_, 0, 0) < 0)
            return false;
        natpmpOpen_ = true;
        natpmpresp_t response{};
        if (NatPmp([&] { return sendpublicaddressrequest(&natpmp_); }, response) < 0) {
            closenatpmp(&natpmp_);
            natpmpOpen_ = false;
            return false;
        }
        char external[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &response.pnu.publicaddress.addr, external, sizeof external);
        found.externalAddress = external;
        found.kind = Found::Kind::NatPmp;
        return true;
    }

    // Sends a request and waits for its answer, as long as the router is given.
    template <typename Send> int NatPmp(Send send, natpmpresp_t& response) {
        if (!natpmpOpen_)
            return NATPMP_ERR_NOGATEWAYSUPPORT;
        int code = send();
        if (code < 0)
            return code;
        const auto deadline = std::chrono::steady_clock::now() + kNatPmpPatience;
        do {
            timeval timeout{};
            if (getnatpmprequesttimeout(&natpmp_, &timeout) < 0)
                return NATPMP_ERR_GETTIMEOFDAYERR;
            fd_set sockets;
            FD_ZERO(&sockets);
            FD_SET(natpmp_.s, &sockets);
            select(natpmp_.s + 1, &sockets, nullptr, nullptr, &timeout);
            code = readnatpmpresponseorretry(&natpmp_, &response);
        } while (code == NATPMP_TRYAGAIN && std::chrono::steady_clock::now() < deadline);
        return code == NATPMP_TRYAGAIN ? NATPMP_ERR_NOGATEWAYSUPPORT : code;
    }

    bool igd_ = false;
    UPNPUrls urls_{};
    IGDdatas data_{};
    char lanAddress_[64] = {};
    bool natpmpOpen_ = false;
    natpmp_t natpmp_{};
};

} // namespace

std::unique_ptr<RouterClient> MakeHomeRouter() {
    return std::make_unique<HomeRouter>();
}

} // namespace quorin
