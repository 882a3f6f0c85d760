#include "serveraddress.h"

#include <algorithm>

namespace quorin {
namespace {

QString BadPort(const QString& port) {
    return QStringLiteral(
               "ポート番号「%1」は使えません。1 から 65535 までの数字で指定してください。")
        .arg(port);
}

} // namespace

ServerAddress ParseServerAddress(const QString& text, quint16 defaultPort) {
    const QString entry = text.trimmed();
    QString host = entry, port;
    bool hasPort = false;
    if (entry.startsWith(u'[')) {
        const qsizetype close = entry.indexOf(u']');
        const QString rest = close < 0 ? QString() : entry.mid(close + 1);
        if (close < 0 || (!rest.isEmpty() && !rest.startsWith(u':')))
            return {{}, 0, QStringLiteral("アドレス「%1」の書き方が正しくありません。").arg(entry)};
        host = entry.mid(1, close - 1);
        hasPort = !rest.isEmpty();
        port = rest.mid(1);
    } else if (entry.count(u':') == 1) {
        const qsizetype colon = entry.indexOf(u':');
        host = entry.left(colon);
        port = entry.mid(colon + 1);
        hasPort = true;
    }
    if (!hasPort)
        return {host, defaultPort, {}};
    // Digits only: no sign, no blank, no other base.
    const bool digits =
        !port.isEmpty() && port.size() <= 5 &&
        std::all_of(port.begin(), port.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const uint value = digits ? port.toUInt() : 0;
    if (value < 1 || value > 65535)
        return {{}, 0, BadPort(port)};
    return {host, quint16(value), {}};
}

QString ServerAddressText(const QString& host, quint16 port, quint16 defaultPort, bool brackets) {
    const bool v6 = host.contains(u':');
    if (port == defaultPort)
        return v6 && brackets ? u'[' + host + u']' : host;
    return (v6 ? u'[' + host + u']' : host) + u':' + QString::number(port);
}

} // namespace quorin
