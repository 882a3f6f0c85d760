#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace quorin {

// The name of the server address list in the program folder: the host names and dotted
// addresses offered to a player who connects to an opponent, written in Shift-JIS.
inline constexpr char kAddressListFile[] = "Virir.txt";

// The most of the address list file that is read. A list of a thousand entries is a few
// tens of KiB; a larger file is read up to here, without a line it cuts short.
inline constexpr qint64 kMaxAddressListBytes = 1024 * 1024;
// The longest entry kept: the longest a host name can be (253 characters), with a port
// after it (":65535"); longer than any address, also one in brackets.
inline constexpr qsizetype kMaxAddressLength = 253 + 6;

// The entries of the address list text, in file order. Entries are separated by commas
// or line ends (CR LF, LF or CR). An entry in double quotes is taken without them and may
// hold commas; anything after its closing quote up to the next separator is ignored.
// Blanks (spaces and tabs) in front of an entry are skipped, and after an unquoted one
// dropped. Empty entries, such as those of empty lines, are left out, and so are entries
// longer than kMaxAddressLength, which can be no host.
QStringList ParseAddressFields(const QString& text);

// The entries of the address list file in `programFolder`, read only when it is a regular
// file (after following links), and then up to kMaxAddressListBytes. A missing, unreadable
// or empty file, or one that is no regular file, gives no entries; it is not an error.
QStringList ReadAddressList(const QString& programFolder);

// The held form (see addresstext.h) of an IPv4 address, also of one carried in IPv6 as
// ::ffff:a.b.c.d, as a server socket that takes both kinds reports its peers. Any other
// address gives -1.
std::int32_t HeldAddress(const QHostAddress& address);

// The address this machine shows to a player who wants to connect to it, in held form:
// the first IPv4 address, not a loopback one, of the network interfaces that are up;
// 127.0.0.1 when there is none.
std::int32_t GetMyLocalIPAddress();

} // namespace quorin
