#include "net/addresslist.h"
#include "net/addresstext.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QNetworkInterface>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <climits>
#include <cstdio>
#include <ostream>
#include <random>
#include <string>
#include <vector>

using namespace quorin;

namespace {

// The address texts worked out from the hexadecimal form: the eight hexadecimal digits of
// the 32-bit value, read as four pairs from the last pair to the first, each pair as a
// decimal number with `before` in front, joined with dots.
std::string HexPairs(std::int32_t ip, const std::string& before) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(static_cast<std::uint32_t>(ip)));
    std::string text;
    for (int pair = 3; pair >= 0; --pair) {
        if (!text.empty())
            text += '.';
        text += before + std::to_string(std::stoi(std::string(hex + 2 * pair, 2), nullptr, 16));
    }
    return text;
}

QString ShiftJisFileText() {
    return QString::fromUtf8("対局室.example.jp\r\n192.168.1.7\r\n\"本館サーバー, 二階\"\r\n");
}

} // namespace

TEST(AddressText, KnownAddresses) {
    struct Case {
        std::int32_t ip;
        const char* local;
        const char* peer;
    };
    const Case cases[] = {
        {0x0501A8C0, "192.168.1.5", " 192. 168. 1. 5"},
        {AddressFromQuad(192, 168, 1, 7), "192.168.1.7", " 192. 168. 1. 7"},
        {AddressFromQuad(10, 0, 0, 200), "10.0.0.200", " 10. 0. 0. 200"},
        {AddressFromQuad(127, 0, 0, 1), "127.0.0.1", " 127. 0. 0. 1"},
        {AddressFromQuad(1, 2, 3, 128), "1.2.3.128", " 1. 2. 3. 128"},
        {0, "0.0.0.0", " 0. 0. 0. 0"},
        {-1, "255.255.255.255", " 255. 255. 255. 255"},
        {INT_MIN, "0.0.0.128", " 0. 0. 0. 128"},
        {INT_MAX, "255.255.255.127", " 255. 255. 255. 127"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetMyLocalIPString(c.ip), c.local) << c.ip;
        EXPECT_EQ(GetPeerIPString(c.ip), c.peer) << c.ip;
    }
}

TEST(AddressText, AgreesWithTheHexadecimalPairsEverywhere) {
    std::vector<std::int32_t> values = {0,       1,    5,    0xFF, 0x100, 0xFFF, 0x1000,  0xFFFF,
                                        0x10000, 0x7F, 0x80, -1,   -2,    -256,  INT_MIN, INT_MAX};
    for (int shift = 0; shift < 32; ++shift)
        values.push_back(static_cast<std::int32_t>(std::uint32_t{1} << shift));
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::int32_t> any(INT_MIN, INT_MAX);
    for (int i = 0; i < 20000; ++i)
        values.push_back(any(random));
    for (std::int32_t ip : values) {
        ASSERT_EQ(GetMyLocalIPString(ip), HexPairs(ip, "")) << ip;
        ASSERT_EQ(GetPeerIPString(ip), HexPairs(ip, " ")) << ip;
    }
}

TEST(AddressText, AddressFromQuadPutsTheFirstNumberInTheLowestByte) {
    EXPECT_EQ(AddressFromQuad(192, 168, 1, 5), 0x0501A8C0);
    EXPECT_EQ(AddressFromQuad(255, 255, 255, 255), -1);
    EXPECT_EQ(AddressFromQuad(0, 0, 0, 128), INT_MIN);
}

TEST(ResolveHost, ReadsDottedAddresses) {
    EXPECT_EQ(ResolveHost("192.168.1.5"), 0x0501A8C0);
    EXPECT_EQ(ResolveHost("10.0.0.200"), AddressFromQuad(10, 0, 0, 200));
    EXPECT_EQ(ResolveHost("0.0.0.0"), 0);
    EXPECT_EQ(ResolveHost("255.255.255.254"), AddressFromQuad(255, 255, 255, 254));
    EXPECT_EQ(ResolveHost("127.0.0.1"), AddressFromQuad(127, 0, 0, 1));
    // Leading zeros are decimal, not octal.
    EXPECT_EQ(ResolveHost("010.001.020.009"), AddressFromQuad(10, 1, 20, 9));
}

TEST(ResolveHost, RoundTripsTheTextForm) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> any(INT_MIN, INT_MAX);
    for (int i = 0; i < 2000; ++i) {
        const std::int32_t ip = any(random);
        if (ip != kNoAddress) {
            ASSERT_EQ(ResolveHost(GetMyLocalIPString(ip)), ip) << ip;
        }
    }
}

TEST(ResolveHost, EverythingElseIsNoAddress) {
    const char* texts[] = {
        "",         "localhost", "対局室.example.jp", "256.1.1.1",   "1.2.3.256",      "1.2.3",
        "1.2.3.4.", "1.2.3.4.5", ".1.2.3.4",          "1..2.3",      " 1.2.3.4",       "1.2.3.4 ",
        "1.2.3.-4", "+1.2.3.4",  "1.2.3.0004",        "1.2.3.4a",    "0x1.2.3.4",      "1,2,3,4",
        "1.2.3.",   "...",       "1.2.3.4/24",        "1.2.3.99999", "255.255.255.255"};
    for (const char* text : texts)
        EXPECT_EQ(ResolveHost(text), kNoAddress) << text;
}

struct FieldsCase {
    const char* name;
    const char* text;
    std::vector<const char*> fields;
};

void PrintTo(const FieldsCase& c, std::ostream* os) {
    *os << c.name;
}

class AddressFields : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(AddressFields, Parse) {
    QStringList expected;
    for (const char* field : GetParam().fields)
        expected.append(QString::fromUtf8(field));
    EXPECT_EQ(ParseAddressFields(QString::fromUtf8(GetParam().text)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressFields,
    ::testing::Values(
        FieldsCase{"NameThenAddress",
                   "shogi.example.jp\r\n192.168.1.7\r\n",
                   {"shogi.example.jp", "192.168.1.7"}},
        FieldsCase{"CommaOnOneLine", "192.168.1.7,10.0.0.200\r\n", {"192.168.1.7", "10.0.0.200"}},
        FieldsCase{"QuotedWithComma", "\"host, annex\",10.0.0.1", {"host, annex", "10.0.0.1"}},
        FieldsCase{"QuotedKeepsInnerBlanks", "  \" a b \"  \r\nx", {" a b ", "x"}},
        FieldsCase{"TextAfterClosingQuoteIgnored", "\"abc\"def ,ghi", {"abc", "ghi"}},
        FieldsCase{"UnclosedQuoteEndsAtLineEnd", "\"abc\ndef", {"abc", "def"}},
        FieldsCase{"EmptyQuotedLeftOut", "\"\",a", {"a"}},
        FieldsCase{
            "BlanksAround", "  host1\n\t host2 \t,  10.0.0.1", {"host1", "host2", "10.0.0.1"}},
        FieldsCase{"InnerBlanksKept", "my host , x", {"my host", "x"}},
        FieldsCase{"LineFeeds", "a\nb\nc\n", {"a", "b", "c"}},
        FieldsCase{"CarriageReturns", "a\rb\rc\r", {"a", "b", "c"}},
        FieldsCase{"MixedLineEnds", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        FieldsCase{"EmptyLinesAndFields", "\r\n\r\nhost\r\n\r\n,,\r\n , \n\n", {"host"}},
        FieldsCase{"NoTrailingLineEnd", "a\r\nb", {"a", "b"}},
        FieldsCase{"Japanese", "対局室.example.jp,ホスト", {"対局室.example.jp", "ホスト"}},
        FieldsCase{"Empty", "", {}}, FieldsCase{"BlanksOnly", " \t \r\n ", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadAddressList, DecodesShiftJisFromTheProgramFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QStringEncoder encode("Shift_JIS");
    ASSERT_TRUE(encode.isValid());
    const QByteArray bytes = encode(ShiftJisFileText());
    ASSERT_FALSE(encode.hasError());
    ASSERT_NE(bytes, ShiftJisFileText().toUtf8()); // reading it as UTF-8 would be wrong
    QFile file(folder.filePath(QStringLiteral("Virir.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    EXPECT_EQ(ReadAddressList(folder.path()),
              QStringList({QString::fromUtf8("対局室.example.jp"), QStringLiteral("192.168.1.7"),
                           QString::fromUtf8("本館サーバー, 二階")}));
}

TEST(ReadAddressList, MissingFileGivesNoEntries) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_TRUE(ReadAddressList(folder.path()).isEmpty());
    EXPECT_TRUE(ReadAddressList(folder.filePath(QStringLiteral("no such folder"))).isEmpty());
}

TEST(ReadAddressList, EmptyFileGivesNoEntries) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile file(folder.filePath(QStringLiteral("Virir.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(ReadAddressList(folder.path()).isEmpty());
}

TEST(HeldAddress, IPv4AndIPv4InIPv6) {
    EXPECT_EQ(HeldAddress(QHostAddress(QStringLiteral("192.168.1.5"))), 0x0501A8C0);
    EXPECT_EQ(HeldAddress(QHostAddress(QStringLiteral("10.0.0.200"))),
              AddressFromQuad(10, 0, 0, 200));
    EXPECT_EQ(HeldAddress(QHostAddress(QStringLiteral("::ffff:10.0.0.200"))),
              AddressFromQuad(10, 0, 0, 200));
    EXPECT_EQ(HeldAddress(QHostAddress(QStringLiteral("::ffff:1.2.3.4"))),
              AddressFromQuad(1, 2, 3, 4));
    EXPECT_EQ(HeldAddress(QHostAddress(QHostAddress::LocalHost)), AddressFromQuad(127, 0, 0, 1));
}

TEST(HeldAddress, OtherAddressesAreNoAddress) {
    for (const char* text : {"::1", "fe80::1", "fd00::2", "::", "::1.2.3.4", "::ffff:0:1.2.3.4"})
        EXPECT_EQ(HeldAddress(QHostAddress(QString::fromLatin1(text))), kNoAddress) << text;
    EXPECT_EQ(HeldAddress(QHostAddress()), kNoAddress);
}

TEST(GetMyLocalIPAddress, IsAnAddressOfThisMachine) {
    QStringList others;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            others.append(address.toString());
    }
    const std::int32_t mine = GetMyLocalIPAddress();
    EXPECT_NE(mine, kNoAddress);
    const QString text = QString::fromStdString(GetMyLocalIPString(mine));
    if (others.isEmpty()) {
        EXPECT_EQ(text, QStringLiteral("127.0.0.1"));
    } else {
        EXPECT_TRUE(others.contains(text))
            << text.toStdString() << " not in " << others.join(u' ').toStdString();
    }
}
