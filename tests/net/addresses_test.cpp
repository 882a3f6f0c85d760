#include "net/addresslist.h"
#include "net/addresstext.h"
#include "net/announcement.h"
#include "net/socketerrorcode.h"
#include "net/socketerrortext.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <tuple>

#include <sys/stat.h>

using namespace quorin;

TEST(AddressText, FirstNumberInTheLowestByteAndLastNumbersOf128AndMore) {
    const std::tuple<std::int32_t, const char*, const char*> cases[] = {
        {0x0501A8C0, "192.168.1.5", " 192. 168. 1. 5"},
        {AddressFromQuad(10, 0, 0, 200), "10.0.0.200", " 10. 0. 0. 200"},
        {-1, "255.255.255.255", " 255. 255. 255. 255"}, // no address: its text reads as none
        {INT_MIN, "0.0.0.128", " 0. 0. 0. 128"}};
    for (const auto& [ip, local, peer] : cases)
        EXPECT_EQ(std::tuple(GetMyLocalIPString(ip), GetPeerIPString(ip)), std::tuple(local, peer));
}

TEST(AddressList, FieldsAtCommasAndLineEndsQuotedOnesWhole) {
    const std::pair<const char*, QStringList> cases[] = {
        {"game.example.jp\r\n192.168.1.7\r\n", {"game.example.jp", "192.168.1.7"}},
        {"192.168.1.7,10.0.0.200", {"192.168.1.7", "10.0.0.200"}},
        {"\"host, annex\",10.0.0.1", {"host, annex", "10.0.0.1"}},
        {"  a\n\t b \r c\r\n\r\n,,", {"a", "b", "c"}},
        {"", {}}};
    for (const auto& [text, fields] : cases)
        EXPECT_EQ(ParseAddressFields(QString::fromUtf8(text)), fields) << text;
}

// The list is read only from a regular file, up to its cap and without a line the cap cuts;
// an entry longer than a host name can be is no entry.
TEST(AddressList, ReadsARegularFileUpToItsCapAndSkipsOverlongEntries) {
    QTemporaryDir folder;
    const QString path = folder.filePath(kAddressListFile);
    const QByteArray longest(kMaxAddressLength, 'h');
    const QByteArray first = "a," + longest + "h,\"" + longest + "\"\r\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(first);
    EXPECT_TRUE(file.flush());
    EXPECT_EQ(ReadAddressList(folder.path()), QStringList({"a", longest}));
    const QByteArray line = "host-12345678\r\n"; // the cap falls inside one of these
    while (file.size() < 2 * kMaxAddressListBytes)
        file.write(line);
    EXPECT_TRUE(file.flush());
    const QStringList read = ReadAddressList(folder.path());
    EXPECT_EQ(read.size(), 2 + (kMaxAddressListBytes - first.size()) / line.size());
    EXPECT_EQ(read.last(), "host-12345678");
    QFile::remove(path);
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_EQ(ReadAddressList(folder.path()), QStringList()); // at once, without a writer
}

// A sample of the table; any other code shows as its number, Qt's errors as theirs.
TEST(SocketErrorText, TextsOfTheTableAndTheNumberForAnyOtherCode) {
    EXPECT_EQ(SocketErrorText(10014), "32ビットインターネットアドレス指定に誤りがあります。");
    EXPECT_EQ(SocketErrorText(10093), "WSAStartup関数を呼び出していないか、失敗しています。");
    EXPECT_EQ(SocketErrorText(SocketErrorCode(QAbstractSocket::ConnectionRefusedError)),
              "接続が拒否された。");
    EXPECT_EQ(SocketErrorCode(QAbstractSocket::HostNotFoundError), 11001);
    for (int code : {10059, 10062, 11000, INT_MIN, 0})
        EXPECT_EQ(SocketErrorText(code), "(" + std::to_string(code) + ")");
    EXPECT_EQ(SocketErrorText(SocketErrorCode(QAbstractSocket::UnknownSocketError)), "(-1)");
}

TEST(Announcement, ReadsOnlyItsOwnFormAndCleansTheName) {
    const std::string word = "QUORIN-SERVER 1 ";
    const std::string longName = std::string(63, 'a') + "\xE3\x81\x82"; // 66 bytes: a, あ
    const std::pair<std::string, Announcement> read[] = {
        {word + "8000 host-1", {8000, "host-1"}},
        {word + "65535 ", {65535, ""}},
        {word + "8000 \x01na\tme\x7F\n", {8000, "name"}},
        {word + "8000 <b>&amp;</b>", {8000, "<b>&amp;</b>"}},
        // Cut to 64 bytes, and back to the start of the character the cut fell in.
        {word + "8000 " + longName, {8000, std::string(63, 'a')}},
        {word + "8000 " + std::string(179, 'n'), {8000, std::string(64, 'n')}}}; // 200 bytes
    for (const auto& [datagram, announcement] : read)
        EXPECT_EQ(ReadAnnouncement(datagram), announcement) << datagram;
    // Refused: 201 bytes, a bad port, another word or version.
    EXPECT_EQ(ReadAnnouncement(word + "8000 " + std::string(180, 'n')), std::nullopt);
    for (const char* port :
         {"8000", "0 host", "08000 host", "65536 host", "+800 host", "8x00 host", " 8000 host"})
        EXPECT_EQ(ReadAnnouncement(word + port), std::nullopt) << port;
    for (const char* datagram :
         {"QUORIN-SERVER 2 8000 host", "QUORIN-SERVER 10 8000 host", "quorin-server 1 8000 host",
          "QUORIN-SERVER  1 8000 host", "QUORIN-SERVER", ""})
        EXPECT_EQ(ReadAnnouncement(datagram), std::nullopt) << datagram;
    EXPECT_EQ(MakeAnnouncement(8000, "\x1Bpc"), "QUORIN-SERVER 1 8000 pc");
}
