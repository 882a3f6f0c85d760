#include "addresslist.h"

#include "addresstext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QStringDecoder>

#include <algorithm>

namespace quorin {

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool IsLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}
bool IsSeparator(QChar c) {
    return c == u',' || IsLineEnd(c);
}

} // namespace

QStringList ParseAddressFields(const QString& text) {
    QStringList fields;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        while (i < size && IsBlank(text[i]))
            ++i;
        QString field;
        if (i < size && text[i] == u'"') {
            // A quoted entry ends at its closing quote, or at the line end when that is
            // missing; the rest up to the separator is ignored.
            const qsizetype start = ++i;
            while (i < size && text[i] != u'"' && !IsLineEnd(text[i]))
                ++i;
            field = text.mid(start, i - start);
            while (i < size && !IsSeparator(text[i]))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < size && !IsSeparator(text[i]))
                ++i;
            qsizetype end = i;
            while (end > start && IsBlank(text[end - 1]))
                --end;
            field = text.mid(start, end - start);
        }
        if (!field.isEmpty() && field.size() <= kMaxAddressLength)
            fields.append(field);
        // Skip the separator; CR LF counts as one, though an empty entry between the two
        // would be left out anyway.
        if (i < size && text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        ++i;
    }
    return fields;
}

QStringList ReadAddressList(const QString& programFolder) {
    const QString path = QDir(programFolder).filePath(QLatin1String(kAddressListFile));
    // Only a regular file: opening a pipe would wait for a writer, at start-up.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.read(kMaxAddressListBytes);
    // A list cut at the cap keeps its whole lines only: a host name cut short is none.
    if (!file.atEnd())
        bytes.truncate(std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1);
    // Plain ASCII reads the same in the Japanese code page; the code page's tables are
    // loaded only for a file that needs them.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
        return ParseAddressFields(QString::fromLatin1(bytes));
    QStringDecoder decode("Shift_JIS");
    if (!decode.isValid())
        return {};
    return ParseAddressFields(decode(bytes));
}

std::int32_t HeldAddress(const QHostAddress& address) {
    if (address.protocol() == QAbstractSocket::IPv4Protocol) {
        // Qt keeps the first number in the highest byte.
        const quint32 bits = address.toIPv4Address();
        return AddressFromQuad(static_cast<int>(bits >> 24), static_cast<int>((bits >> 16) & 0xFF),
                               static_cast<int>((bits >> 8) & 0xFF), static_cast<int>(bits & 0xFF));
    }
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        // ::ffff:a.b.c.d is ten zero bytes, two 0xFF bytes, then a, b, c and d.
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        for (int i = 0; i < 12; ++i) {
            if (bytes[i] != (i < 10 ? 0x00 : 0xFF))
                return kNoAddress;
        }
        return AddressFromQuad(bytes[12], bytes[13], bytes[14], bytes[15]);
    }
    return kNoAddress;
}

std::int32_t GetMyLocalIPAddress() {
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        if (!adapter.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry& entry : adapter.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback())
                return HeldAddress(ip);
        }
    }
    return AddressFromQuad(127, 0, 0, 1);
}

} // namespace quorin
