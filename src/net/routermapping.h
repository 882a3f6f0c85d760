#pragma once

#include "portmapper.h"
#include "routerclient.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

namespace quorin {

// The router's port, opened while the player wants it and the copy waits as server. Every
// talk with the router runs in order on a thread of its own, started only when something
// is to be asked; the outcome comes back as a signal, so the window, the menus and the
// connection never wait for the router. Nothing is ever asked of a router unless wanted.
class RouterMapping : public QObject {
    Q_OBJECT

public:
    using MakeRouter = std::function<std::unique_ptr<RouterClient>()>;

    // `port`: this computer's listening port. The lease is renewed at half its time.
    RouterMapping(MakeRouter makeRouter, int port, int leaseSeconds = PortMapper::kLeaseSeconds,
                  QObject* parent = nullptr);
    ~RouterMapping() override;

    // Opens the port when `wanted` becomes true (with a pinhole to `globalIPv6` where there
    // is one), removes what is open, or is being opened, when it becomes false.
    void SetWanted(bool wanted, const QString& globalIPv6 = {});
    bool Wanted() const { return wanted_; }
    // The program ends: removes what is open and waits for that at most `waitMs`; a router
    // that does not answer drops the mapping when its lease runs out.
    void Finish(int waitMs);

    bool IsOpen() const { return open_; }
    QString externalAddress() const { return externalAddress_; }
    int externalPort() const { return externalPort_; }

signals:
    void opened(const QString& externalAddress, int externalPort);
    void noRouter();
    void refused(const QString& error);

private:
    struct Worker;
    void Ask(std::function<void(Worker&)> job);
    void OnOpened(int generation, const PortMapper::Opened& result, int lease);

    MakeRouter makeRouter_;
    int port_;
    int leaseSeconds_;
    std::shared_ptr<Worker> worker_;
    bool wanted_ = false;
    int generation_ = 0; // counts the changes of wanted_: answers of an earlier one are old
    bool open_ = false;
    QString externalAddress_;
    int externalPort_ = 0;
    QTimer renew_;
};

} // namespace quorin
