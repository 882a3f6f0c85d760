// The router's port through the main window's menus, with a router that notes what it is
// asked on its own thread.

#include "net/routermapping.h"
#include "twocopies.h"

#include "support/fakerouter.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace quorin;
using test::WaitFor;

namespace {

// A copy with `log`'s router in front of it.
struct RouterCopy : test::Player {
    explicit RouterCopy(std::shared_ptr<test::RouterLog> log)
        : Player(test::FreePort(), [log](Environment& e) {
              e.makeRouter = [log] { return std::make_unique<test::FakeRouter>(log); };
          }) {}
    void Tick() { window->menu().mnuRouter->trigger(); }
};

} // namespace

// Asked for nothing until the item is ticked while serving; then opened, renewed at half
// the lease and removed when the item is unticked, a peer is accepted, the player
// disconnects and the program ends.
TEST(RouterPort, OpenWhileTickedAndServingRenewedAndRemovedWhenServingEnds) {
    auto log = std::make_shared<test::RouterLog>();
    log->found = {RouterClient::Found::Kind::Upnp, "198.51.100.7", false};
    RouterCopy copy(log);
    Form1& w = *copy.window;
    const quint16 port = w.connection().port();
    const QString map = QStringLiteral("map %1>%1 2").arg(port),
                  unmap = QStringLiteral("unmap %1").arg(port);
    w.mnuServer_Click();
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(log->Calls().isEmpty());
    EXPECT_TRUE(w.menu().mnuCopyAddress->isEnabled());

    const QString opened = "ルーターのポートを開きました。相手に伝えるアドレス：198.51.100.7";
    const auto ends = [&](const QString& call) {
        return WaitFor([&] { return log->Calls().endsWith(call); });
    };
    copy.Tick();
    ASSERT_TRUE(WaitFor([&] { return w.Text2->text() == opened; }));
    EXPECT_TRUE(WaitFor([&] { return log->Calls().count(map) == 2; })); // renewed
    w.menu().mnuCopyAddress->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), opened.section(u'：', 1));
    EXPECT_TRUE(w.Text1->toolTip().contains(opened.section(u'：', 1)));
    copy.Tick();
    EXPECT_TRUE(ends(unmap));

    copy.Tick();
    ASSERT_TRUE(ends(map));
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(WaitFor([&] { return w.connection().Connected(); }));
    EXPECT_TRUE(ends(unmap));
    EXPECT_FALSE(w.menu().mnuCopyAddress->isEnabled());
    EXPECT_EQ(w.Text2->text(), " 127. 0. 0. 1が接続してきました。");

    for (const bool exit : {false, true}) {
        w.mnuClose_Click();
        w.mnuServer_Click();
        ASSERT_TRUE(ends(map));
        if (exit)
            w.FileExit(); // waits for the removal
        else
            w.mnuClose_Click();
        EXPECT_TRUE(exit ? log->Calls().endsWith(unmap) : ends(unmap));
    }
}

// What the player is told, after "クライアント待受", for each kind of answer.
// A router whose own address the internet cannot reach maps, and the player is told so
// after "クライアント待受". (No router, and a refusal: the router daemon's test.)
TEST(RouterPort, ARouterBehindAnotherIsSaidToBeUnreachable) {
    auto log = std::make_shared<test::RouterLog>();
    log->found = {RouterClient::Found::Kind::NatPmp, "100.64.3.4", false};
    RouterCopy copy(log);
    copy.Tick();
    copy.window->mnuServer_Click();
    EXPECT_EQ(copy.window->Text2->text(), "クライアント待受");
    EXPECT_TRUE(WaitFor([&] {
        return copy.window->Text2->text() == "ルーターのポートを開きましたが、外部アドレス "
                                             "100.64.3.4 はインターネットから届きません。";
    }));
}
