#include "net/addresslist.h"
#include "net/addresstext.h"
#include "net/socketerrorcode.h"
#include "net/socketerrortext.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <climits>
#include <set>
#include <tuple>

using namespace quorin;

TEST(AddressText, FirstNumberInTheLowestByteAndLastNumbersOf128AndMore) {
    const std::tuple<std::int32_t, const char*, const char*> cases[] = {
        {0x0501A8C0, "192.168.1.5", " 192. 168. 1. 5"},
        {AddressFromQuad(10, 0, 0, 200), "10.0.0.200", " 10. 0. 0. 200"},
        {-1, "255.255.255.255", " 255. 255. 255. 255"}, // no address: its text reads as none
        {INT_MIN, "0.0.0.128", " 0. 0. 0. 128"}};
    for (const auto& [ip, local, peer] : cases)
        EXPECT_EQ(std::tuple(GetMyLocalIPString(ip), GetPeerIPString(ip)), std::tuple(local, peer));
    EXPECT_EQ(HeldAddress(QHostAddress("::ffff:10.0.0.200")), AddressFromQuad(10, 0, 0, 200));
    EXPECT_EQ(HeldAddress(QHostAddress("::1")), kNoAddress);
    EXPECT_NE(GetMyLocalIPAddress(), kNoAddress);
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

    // The file is read from the program folder, in the Japanese code page.
    QTemporaryDir folder;
    EXPECT_TRUE(ReadAddressList(folder.path()).isEmpty());
    QFile file(folder.filePath(kAddressListFile));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("Shift_JIS")(QStringLiteral("対局室.example.jp\r\n本館")));
    file.close();
    EXPECT_EQ(ReadAddressList(folder.path()), QStringList({"対局室.example.jp", "本館"}));
}

TEST(SocketErrorText, FortyOneTextsAndTheNumberForAnyOtherCode) {
    EXPECT_EQ(SocketErrorText(10014), "32ビットインターネットアドレス指定に誤りがあります。");
    EXPECT_EQ(SocketErrorText(10093), "WSAStartup関数を呼び出していないか、失敗しています。");
    std::set<std::string> texts;
    for (int code = -1; code <= 11010; ++code) {
        const std::string text = SocketErrorText(code);
        if (text.front() != '(')
            texts.insert(text);
        else
            EXPECT_EQ(text, std::string("(").append(std::to_string(code)).append(")"));
    }
    EXPECT_EQ(texts.size(), 41u);
    EXPECT_EQ(SocketErrorText(INT_MIN), "(-2147483648)");
    // Qt's errors name the codes of the same meaning.
    using S = QAbstractSocket;
    EXPECT_EQ(SocketErrorText(SocketErrorCode(S::ConnectionRefusedError)), "接続が拒否された。");
    EXPECT_EQ(SocketErrorCode(S::AddressInUseError), 10048);
    EXPECT_EQ(SocketErrorCode(S::HostNotFoundError), 11001);
    EXPECT_EQ(SocketErrorCode(S::SocketTimeoutError), 10060);
    EXPECT_EQ(SocketErrorText(SocketErrorCode(S::UnknownSocketError)), "(-1)");
}
