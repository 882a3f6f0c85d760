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

using namespace quorin;

TEST(AddressText, FirstNumberInTheLowestByteAndLastNumbersOf128AndMore) {
    struct Case {
        std::int32_t ip;
        const char* local;
        const char* peer;
    };
    const Case cases[] = {
        {0x0501A8C0, "192.168.1.5", " 192. 168. 1. 5"},
        {AddressFromQuad(10, 0, 0, 200), "10.0.0.200", " 10. 0. 0. 200"},
        {AddressFromQuad(10, 1, 0, 0), "10.1.0.0", " 10. 1. 0. 0"},
        {-1, "255.255.255.255", " 255. 255. 255. 255"},
        {INT_MIN, "0.0.0.128", " 0. 0. 0. 128"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetMyLocalIPString(c.ip), c.local) << c.ip;
        EXPECT_EQ(GetPeerIPString(c.ip), c.peer) << c.ip;
        if (c.ip != -1) {
            EXPECT_EQ(ResolveHost(c.local), c.ip) << c.local;
        }
    }
    // Dotted text only; host names are looked up by the connection itself.
    for (const char* text : {"", "localhost", "256.1.1.1", "1.2.3", "1.2.3.4.5", " 1.2.3.4",
                             "1.2.3.4a", "0x1.2.3.4", "255.255.255.255"})
        EXPECT_EQ(ResolveHost(text), kNoAddress) << text;
    EXPECT_EQ(HeldAddress(QHostAddress(QStringLiteral("::ffff:10.0.0.200"))),
              AddressFromQuad(10, 0, 0, 200));
    EXPECT_EQ(HeldAddress(QHostAddress(QStringLiteral("::1"))), kNoAddress);
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
    QFile file(folder.filePath(QStringLiteral("Virir.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QStringEncoder shiftJis("Shift_JIS");
    file.write(shiftJis(QStringLiteral("対局室.example.jp\r\n本館")));
    file.close();
    EXPECT_EQ(ReadAddressList(folder.path()),
              (QStringList{QStringLiteral("対局室.example.jp"), QStringLiteral("本館")}));
}

TEST(SocketErrorText, FortyOneTextsAndTheNumberForAnyOtherCode) {
    EXPECT_EQ(SocketErrorText(10014), "32ビットインターネットアドレス指定に誤りがあります。");
    EXPECT_EQ(SocketErrorText(10093), "WSAStartup関数を呼び出していないか、失敗しています。");
    EXPECT_EQ(SocketErrorText(10061), "接続が拒否された。");
    std::set<std::string> texts;
    for (int code = -1; code <= 11010; ++code) {
        const std::string text = SocketErrorText(code);
        if (text.front() != '(')
            texts.insert(text);
        else
            EXPECT_EQ(text, std::string("(").append(std::to_string(code)).append(")"));
    }
    EXPECT_EQ(texts.size(), 41u);
    EXPECT_EQ(SocketErrorText(10059), "(10059)");
    EXPECT_EQ(SocketErrorText(INT_MIN), "(-2147483648)");
    // Qt's errors name the codes of the same meaning.
    EXPECT_EQ(SocketErrorCode(QAbstractSocket::ConnectionRefusedError), 10061);
    EXPECT_EQ(SocketErrorCode(QAbstractSocket::AddressInUseError), 10048);
    EXPECT_EQ(SocketErrorCode(QAbstractSocket::HostNotFoundError), 11001);
    EXPECT_EQ(SocketErrorCode(QAbstractSocket::SocketTimeoutError), 10060);
    EXPECT_EQ(SocketErrorText(SocketErrorCode(QAbstractSocket::UnknownSocketError)), "(-1)");
}
