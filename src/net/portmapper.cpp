#include "portmapper.h"

namespace quorin {
namespace {

constexpr int kConflictInMappingEntry = 718;
constexpr int kOnlyPermanentLeasesSupported = 725;

} // namespace

PortMapper::Opened PortMapper::Open(const std::string& globalIPv6) {
    Close();
    const RouterClient::Found found = router_.Find();
    if (found.kind == RouterClient::Found::Kind::None)
        return {};
    RouterClient::Answer answer;
    for (int external = port_; external <= port_ + kOtherPorts; ++external) {
        answer = router_.AddMapping(external, port_, lease_);
        if (answer.code == kOnlyPermanentLeasesSupported && lease_ != 0) {
            lease_ = 0;
            answer = router_.AddMapping(external, port_, lease_);
        }
        if (answer.code != kConflictInMappingEntry)
            break;
    }
    if (answer.code != 0)
        return {Opened::Outcome::Refused, {}, 0, answer.error};
    externalPort_ = answer.externalPort;
    if (found.pinholes && !globalIPv6.empty()) {
        const RouterClient::Answer pinhole = router_.AddPinhole(globalIPv6, port_, lease_);
        if (pinhole.code == 0)
            pinhole_ = pinhole.pinhole;
    }
    return {Opened::Outcome::Open, found.externalAddress, externalPort_, {}};
}

void PortMapper::Renew() {
    if (!IsOpen())
        return;
    router_.AddMapping(externalPort_, port_, lease_);
    if (!pinhole_.empty())
        router_.UpdatePinhole(pinhole_, lease_);
}

void PortMapper::Close() {
    if (!pinhole_.empty())
        router_.DeletePinhole(pinhole_);
    pinhole_.clear();
    if (IsOpen())
        router_.DeleteMapping(externalPort_, port_);
    externalPort_ = 0;
}

} // namespace quorin
