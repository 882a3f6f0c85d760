#include "net/handonaddress.h"
#include "net/portmapper.h"
#include "net/serveraddress.h"
#include "support/fakerouter.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <tuple>

using namespace quorin;

// Port 0 here: the text is refused with a message, and names no host.
TEST(ServerAddress, HostsWithAndWithoutPortsAndIPv6InBrackets) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"game.example.jp", "game.example.jp", 8000},
        {" 192.168.1.7:8001 ", "192.168.1.7", 8001},
        {"host:65535", "host", 65535},
        {"2001:db8::5", "2001:db8::5", 8000},
        {"[2001:db8::5]", "2001:db8::5", 8000},
        {"[2001:db8::5]:9000", "2001:db8::5", 9000},
        {"", "", 8000},
        {"host:0", "", 0},
        {"host:65536", "", 0},
        {"host:", "", 0},
        {"host:+80", "", 0},
        {"host:8 0", "", 0},
        {"[::1]x", "", 0},
        {"[::1]:abc", "", 0},
        {"[::1", "", 0},
        {"h:0x50", "", 0}};
    for (const auto& [text, host, port] : cases) {
        const ServerAddress parsed = ParseServerAddress(QString::fromUtf8(text), 8000);
        EXPECT_EQ(std::tuple(parsed.host, int(parsed.port), parsed.failure.isEmpty()),
                  std::tuple(QString::fromUtf8(host), port, port != 0))
            << text;
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

// Ports another computer holds are passed over up to ten more; a router that takes only
// permanent leases gets one; the pinhole goes with the mapping; renewing asks again.
TEST(PortMapper, MapsTriesOtherPortsRenewsAndRemoves) {
    auto log = std::make_shared<test::RouterLog>();
    test::FakeRouter router(log);
    log->found = {RouterClient::Found::Kind::Upnp, "198.51.100.7", true};
    log->codes = {{8000, 718}, {8001, 718}};
    log->permanentOnly = true;
    PortMapper mapper(router, 8000);
    const PortMapper::Opened opened = mapper.Open("2001:db8::5");
    EXPECT_EQ(std::tuple(opened.outcome, opened.externalAddress, opened.externalPort),
              std::tuple(PortMapper::Opened::Outcome::Open, "198.51.100.7", 8002));
    mapper.Renew();
    mapper.Close();
    mapper.Close(); // nothing more to remove
    EXPECT_EQ(log->Calls(),
              (QStringList{"find", "map 8000>8000 3600", "map 8000>8000 0", "map 8001>8000 0",
                           "map 8002>8000 0", "pinhole 2001:db8::5 8000 0", "map 8002>8000 0",
                           "renew pinhole 7 0", "close pinhole 7", "unmap 8002"}));

    // Every port held: refused. (Other refusals and no router: the window's tests.)
    log->permanentOnly = false;
    for (int port = 8000; port <= 8010; ++port)
        log->codes[port] = 718;
    const PortMapper::Opened refused = PortMapper(router, 8000).Open({});
    EXPECT_EQ(std::tuple(refused.outcome, refused.error),
              std::tuple(PortMapper::Opened::Outcome::Refused, "refused 718"));
}
