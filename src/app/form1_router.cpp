// The main window's side of play across the internet: the router's port opened on request
// while serving, and the address a friend should type.

#include "form1.h"

#include "net/connection.h"
#include "net/handonaddress.h"
#include "net/routermapping.h"
#include "net/serveraddress.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

namespace quorin {

void Form1::connectRouter() {
    router_ = std::make_unique<RouterMapping>(env_.makeRouter, env_.port, env_.routerLeaseSeconds);
    connect(menu_.mnuRouter, &QAction::triggered, this, &Form1::mnuRouter_Click);
    connect(menu_.mnuCopyAddress, &QAction::triggered, this, &Form1::mnuCopyAddress_Click);
    connect(router_.get(), &RouterMapping::opened, this, [this](const QString& address) {
        const QHostAddress external(address);
        showRouterText(
            external.isNull() || ReachableFromInternet(external)
                ? QStringLiteral("ルーターのポートを開きました。相手に伝えるアドレス：") +
                      AddressToHandOn()
                : QStringLiteral("ルーターのポートを開きましたが、外部アドレス %1 "
                                 "はインターネットから届きません。")
                      .arg(address));
    });
    connect(router_.get(), &RouterMapping::noRouter, this,
            [this] { showRouterText(QStringLiteral("ポートを開けるルーターが見つかりません。")); });
    connect(router_.get(), &RouterMapping::refused, this, [this](const QString& error) {
        showRouterText(QStringLiteral("ルーターがポートを開けませんでした：") + error);
    });
}

void Form1::mnuRouter_Click() {
    // A checked item is checkable, and the menu has already taken its mark away.
    MainMenu::SetMark(menu_.mnuRouter, !menu_.mnuRouter->isCheckable());
    UpdateListening();
}

void Form1::mnuCopyAddress_Click() {
    QGuiApplication::clipboard()->setText(AddressToHandOn());
}

void Form1::UpdateListening() {
    const bool listening = connection_->Listening();
    router_->SetWanted(listening && menu_.mnuRouter->isChecked(),
                       listening ? GlobalIPv6Address().toString() : QString());
    menu_.mnuCopyAddress->setEnabled(listening);
    if (!listening) {
        Text1->setToolTip(QString());
        return;
    }
    // Every address a friend may use, and what for.
    QStringList lines{QStringLiteral("同じネットワークの相手へ：") + LocalAddressText};
    if (router_->IsOpen())
        lines << QStringLiteral("インターネットの相手へ（ルーター経由）：") +
                     ServerAddressText(router_->externalAddress(), quint16(router_->externalPort()),
                                       env_.port);
    if (const QHostAddress v6 = GlobalIPv6Address(); !v6.isNull())
        lines << QStringLiteral("IPv6 の相手へ：") +
                     ServerAddressText(v6.toString(), env_.port, env_.port, true);
    Text1->setToolTip(lines.join(u'\n'));
}

QString Form1::AddressToHandOn() const {
    return quorin::AddressToHandOn(router_->IsOpen() ? router_->externalAddress() : QString(),
                                   router_->externalPort(), GlobalIPv6Address(), LocalAddressText,
                                   env_.port);
}

void Form1::showRouterText(const QString& text) {
    // The router answers late: a peer may have come meanwhile, whose message stays.
    if (!connection_->Listening())
        return;
    Text2->setText(text);
    UpdateListening();
}

} // namespace quorin
