#include "net/handonaddress.h"
#include "net/portmapper.h"
#include "net/serveraddress.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <map>
#include <tuple>

using namespace quorin;

TEST(ServerAddress, HostsWithAndWithoutPortsAndIPv6InBrackets) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"game.example.jp", "game.example.jp", 8000},
        {" 192.168.1.7:8001 ", "192.168.1.7", 8001},
        {"host:65535", "host", 65535},
        {"2001:db8::5", "2001:db8::5", 8000},
        {"[2001:db8::5]", "2001:db8::5", 8000},
        {"[2001:db8::5]:9000", "2001:db8::5", 9000},
        {"", "", 8000}};
    for (const auto& [text, host, port] : cases) {
        const ServerAddress parsed = ParseServerAddress(QString::fromUtf8(text), 8000);
        EXPECT_EQ(std::tuple(parsed.host, int(parsed.port), parsed.failure),
                  std::tuple(QString::fromUtf8(host), port, QString()))
            << text;
    }
    for (const char* bad : {"host:0", "host:65536", "host:", "host:+80", "host:8 0", "[::1]x",
                            "[::1]:abc", "[::1", "h:0x50"}) {
        const ServerAddress parsed = ParseServerAddress(QString::fromUtf8(bad), 8000);
        EXPECT_TRUE(parsed.host.isEmpty() && !parsed.failure.isEmpty()) << bad;
    }
    EXPECT_EQ(ParseServerAddress("h:99999", 8000).failure,
              "ポート番号「99999」は使えません。1 から 65535 までの数字で指定してください。");
}

// The router's address while it maps (with its port when another), else global IPv6 in
// brackets, else the local one; only an address the internet can reach counts as public.
TEST(HandOnAddress, TheAddressAFriendTypesAndWhoCanReachIt) {
    const QHostAddress v6("2001:db8::5");
    EXPECT_EQ(AddressToHandOn("198.51.100.7", 8000, v6, "192.168.1.5", 8000), "198.51.100.7");
    EXPECT_EQ(AddressToHandOn("198.51.100.7", 8003, v6, "192.168.1.5", 8000), "198.51.100.7:8003");
    EXPECT_EQ(AddressToHandOn({}, 0, v6, "192.168.1.5", 8000), "[2001:db8::5]");
    EXPECT_EQ(AddressToHandOn({}, 0, {}, "192.168.1.5", 8000), "192.168.1.5");
    for (const char* reachable : {"8.8.8.8", "198.51.100.7", "100.63.255.255", "172.32.0.1",
                                  "2001:db8::5", "::ffff:8.8.8.8"})
        EXPECT_TRUE(ReachableFromInternet(QHostAddress(reachable))) << reachable;
    for (const char* not_ :
         {"10.1.2.3", "172.16.0.1", "172.31.255.255", "192.168.0.1", "100.64.0.1",
          "100.127.255.255", "127.0.0.1", "169.254.1.1", "0.0.0.0", "192.0.0.9", "224.0.0.1",
          "255.255.255.255", "fd00::1", "fe80::1", "::1", "::ffff:10.0.0.1"})
        EXPECT_FALSE(ReachableFromInternet(QHostAddress(not_))) << not_;
}

namespace {

// A router that answers from a table and notes every call.
struct FakeRouter : RouterClient {
    Found found{Found::Kind::Upnp, "198.51.100.7", true};
    std::map<int, int> codes; // external port -> the code AddMapping answers
    bool permanentOnly = false;
    QStringList calls;

    Found Find() override {
        calls << "find";
        return found;
    }
    Answer AddMapping(int external, int internal, int lease) override {
        calls << QStringLiteral("map %1>%2 %3").arg(external).arg(internal).arg(lease);
        const int code = permanentOnly && lease != 0 ? 725 : codes[external];
        return {code, code ? "refused " + std::to_string(code) : "", external, {}};
    }
    void DeleteMapping(int external, int) override {
        calls << QStringLiteral("unmap %1").arg(external);
    }
    Answer AddPinhole(const std::string& address, int port, int lease) override {
        calls << QStringLiteral("pinhole %1 %2 %3")
                     .arg(QString::fromStdString(address))
                     .arg(port)
                     .arg(lease);
        return {0, {}, port, "7"};
    }
    void UpdatePinhole(const std::string& id, int lease) override {
        calls << QStringLiteral("renew pinhole %1 %2").arg(QString::fromStdString(id)).arg(lease);
    }
    void DeletePinhole(const std::string& id) override {
        calls << QStringLiteral("close pinhole %1").arg(QString::fromStdString(id));
    }
};

} // namespace

// Ports another computer holds are passed over up to ten more; a router that takes only
// permanent leases gets one; the pinhole goes with the mapping; renewing asks again.
TEST(PortMapper, MapsTriesOtherPortsRenewsAndRemoves) {
    FakeRouter router;
    router.codes = {{8000, 718}, {8001, 718}};
    router.permanentOnly = true;
    PortMapper mapper(router, 8000);
    const PortMapper::Opened opened = mapper.Open("2001:db8::5");
    EXPECT_EQ(std::tuple(opened.outcome, opened.externalAddress, opened.externalPort),
              std::tuple(PortMapper::Opened::Outcome::Open, "198.51.100.7", 8002));
    mapper.Renew();
    mapper.Close();
    mapper.Close(); // nothing more to remove
    EXPECT_EQ(router.calls,
              (QStringList{"find", "map 8000>8000 3600", "map 8000>8000 0", "map 8001>8000 0",
                           "map 8002>8000 0", "pinhole 2001:db8::5 8000 0", "map 8002>8000 0",
                           "renew pinhole 7 0", "close pinhole 7", "unmap 8002"}));

    // Every port held, a refusal of another kind, no router at all.
    router.permanentOnly = false;
    for (int port = 8000; port <= 8010; ++port)
        router.codes[port] = 718;
    EXPECT_EQ(PortMapper(router, 8000).Open({}).error, "refused 718");
    router.codes = {{8000, 606}};
    const PortMapper::Opened refused = PortMapper(router, 8000).Open({});
    EXPECT_EQ(std::tuple(refused.outcome, refused.error),
              std::tuple(PortMapper::Opened::Outcome::Refused, "refused 606"));
    router.found = {};
    router.calls.clear();
    EXPECT_EQ(PortMapper(router, 8000).Open({}).outcome, PortMapper::Opened::Outcome::NoRouter);
    EXPECT_EQ(router.calls, QStringList{"find"});
}
