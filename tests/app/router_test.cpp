// The router's port through the main window's menus, with a router that notes what it is
// asked on its own thread.

#include "net/routermapping.h"
#include "twocopies.h"

#include <QClipboard>
#include <QGuiApplication>

#include <mutex>

using namespace quorin;
using test::WaitFor;

namespace {

struct RouterLog {
    std::mutex mutex;
    QStringList calls;
    RouterClient::Found found;
    int refusal = 0;
    QStringList Calls() {
        const std::lock_guard lock(mutex);
        return calls;
    }
};

struct LoggingRouter : RouterClient {
    explicit LoggingRouter(std::shared_ptr<RouterLog> log) : log(std::move(log)) {}
    void Note(const QString& call) {
        const std::lock_guard lock(log->mutex);
        log->calls << call;
    }
    Found Find() override {
        Note("find");
        return log->found;
    }
    Answer AddMapping(int external, int, int lease) override {
        Note(QStringLiteral("map %1").arg(lease));
        return {log->refusal, log->refusal ? "Action not authorized" : "", external, {}};
    }
    void DeleteMapping(int, int) override { Note("unmap"); }
    Answer AddPinhole(const std::string&, int, int) override { return {-1, {}, 0, {}}; }
    void UpdatePinhole(const std::string&, int) override {}
    void DeletePinhole(const std::string&) override {}
    std::shared_ptr<RouterLog> log;
};

struct RouterCopy {
    explicit RouterCopy(std::shared_ptr<RouterLog> log) : env(test::FreePort()) {
        Environment e = env.environment();
        e.makeRouter = [log] { return std::make_unique<LoggingRouter>(log); };
        window = std::make_unique<Form1>(e);
        window->show();
        WaitFor([&] { return window->BoardReady(); });
    }
    void Tick() { window->menu().mnuRouter->trigger(); }
    test::TestEnvironment env;
    std::unique_ptr<Form1> window;
};

} // namespace

// Asked for nothing until the item is ticked while serving; then opened, renewed at half
// the lease and removed when the item is unticked, a peer is accepted, the player
// disconnects and the program ends.
TEST(RouterPort, OpenWhileTickedAndServingRenewedAndRemovedWhenServingEnds) {
    auto log = std::make_shared<RouterLog>();
    log->found = {RouterClient::Found::Kind::Upnp, "198.51.100.7", false};
    RouterCopy copy(log);
    Form1& w = *copy.window;
    w.mnuServer_Click();
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(log->Calls().isEmpty());
    EXPECT_TRUE(w.menu().mnuCopyAddress->isEnabled());

    const quint16 port = w.connection().port();
    const QString opened = "ルーターのポートを開きました。相手に伝えるアドレス：198.51.100.7";
    const auto ends = [&](const char* call) {
        return WaitFor([&] { return log->Calls().endsWith(call); });
    };
    copy.Tick();
    ASSERT_TRUE(WaitFor([&] { return w.Text2->text() == opened; }));
    EXPECT_TRUE(WaitFor([&] { return log->Calls().count("map 2") == 2; })); // renewed
    w.menu().mnuCopyAddress->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), opened.section(u'：', 1));
    EXPECT_TRUE(w.Text1->toolTip().contains(opened.section(u'：', 1)));
    copy.Tick();
    EXPECT_TRUE(ends("unmap"));

    copy.Tick();
    ASSERT_TRUE(ends("map 2"));
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(WaitFor([&] { return w.connection().Connected(); }));
    EXPECT_TRUE(ends("unmap"));
    EXPECT_FALSE(w.menu().mnuCopyAddress->isEnabled());
    EXPECT_EQ(w.Text2->text(), " 127. 0. 0. 1が接続してきました。");

    for (const bool exit : {false, true}) {
        w.mnuClose_Click();
        w.mnuServer_Click();
        ASSERT_TRUE(ends("map 2"));
        if (exit)
            w.FileExit(); // waits for the removal
        else
            w.mnuClose_Click();
        EXPECT_TRUE(exit ? log->Calls().endsWith("unmap") : ends("unmap"));
    }
}

// What the player is told, after "クライアント待受", for each kind of answer.
TEST(RouterPort, ThePlayerIsToldWhatTheRouterAnswered) {
    using Kind = RouterClient::Found::Kind;
    const std::tuple<Kind, const char*, int, QString> cases[] = {
        {Kind::NatPmp, "100.64.3.4", 0,
         "ルーターのポートを開きましたが、外部アドレス 100.64.3.4 "
         "はインターネットから届きません。"},
        {Kind::None, "", 0, "ポートを開けるルーターが見つかりません。"},
        {Kind::Upnp, "198.51.100.7", 606,
         "ルーターがポートを開けませんでした：Action not authorized"}};
    for (const auto& [kind, address, refusal, told] : cases) {
        auto log = std::make_shared<RouterLog>();
        log->found = {kind, address, false};
        log->refusal = refusal;
        RouterCopy copy(log);
        copy.Tick();
        copy.window->mnuServer_Click();
        EXPECT_EQ(copy.window->Text2->text(), "クライアント待受");
        EXPECT_TRUE(WaitFor([&] { return copy.window->Text2->text() == told; })) << address;
    }
}
