#include "net/socketerrorcode.h"
#include "net/socketerrortext.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>

using namespace quorin;

namespace {

// Every code that has a text, in the order of the Windows Sockets error numbers.
constexpr int kCodesWithText[] = {10004, 10013, 10014, 10022, 10024, 10035, 10036, 10037, 10038,
                                  10039, 10040, 10041, 10042, 10043, 10044, 10045, 10046, 10047,
                                  10048, 10049, 10050, 10051, 10052, 10053, 10054, 10055, 10056,
                                  10057, 10058, 10060, 10061, 10064, 10065, 10067, 10091, 10092,
                                  10093, 11001, 11002, 11003, 11004};

bool IsNumberForm(const std::string& text) {
    return !text.empty() && text.front() == '(';
}

} // namespace

TEST(SocketErrorText, SomeTextsExactly) {
    const std::pair<int, const char*> cases[] = {
        {10004, "呼び出しが取り消された。"},
        {10014, "32ビットインターネットアドレス指定に誤りがあります。"},
        {10047, "指定されたプロトコルでは、指定されたアドレスファミリがサポートされていない。"},
        {10061, "接続が拒否された。"},
        {10093, "WSAStartup関数を呼び出していないか、失敗しています。"},
        {11004, "データレコードの型が要求されていない。"}};
    for (const auto& [code, text] : cases)
        EXPECT_EQ(SocketErrorText(code), text) << code;
}

TEST(SocketErrorText, EveryListedCodeHasItsOwnText) {
    ASSERT_EQ(std::size(kCodesWithText), 41u);
    std::set<std::string> texts;
    for (int code : kCodesWithText) {
        const std::string text = SocketErrorText(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_FALSE(IsNumberForm(text)) << code << ": " << text;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 41u);
}

class UnlistedCode : public ::testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(UnlistedCode, GivesTheNumberInParentheses) {
    EXPECT_EQ(SocketErrorText(GetParam().first), GetParam().second);
}

// Gaps between the listed codes, just outside them, and values no socket reports.
INSTANTIATE_TEST_SUITE_P(Gaps, UnlistedCode,
                         ::testing::Values(std::pair{10009, "(10009)"}, std::pair{10059, "(10059)"},
                                           std::pair{10062, "(10062)"}, std::pair{10063, "(10063)"},
                                           std::pair{10066, "(10066)"}, std::pair{10068, "(10068)"},
                                           std::pair{10090, "(10090)"}, std::pair{10094, "(10094)"},
                                           std::pair{11000, "(11000)"}, std::pair{11005, "(11005)"},
                                           std::pair{10003, "(10003)"}, std::pair{0, "(0)"},
                                           std::pair{-1, "(-1)"},
                                           std::pair{INT_MIN, "(-2147483648)"},
                                           std::pair{INT_MAX, "(2147483647)"}));

TEST(SocketErrorText, EveryCodeFrom10068To10090GivesItsNumber) {
    for (int code = 10068; code <= 10090; ++code)
        EXPECT_EQ(SocketErrorText(code), "(" + std::to_string(code) + ")");
}

class QtError : public ::testing::TestWithParam<std::pair<QAbstractSocket::SocketError, int>> {};

TEST_P(QtError, MapsToTheCodeOfTheSameMeaning) {
    const auto [error, code] = GetParam();
    EXPECT_EQ(SocketErrorCode(error), code);
    const std::string text = SocketErrorText(code);
    EXPECT_FALSE(IsNumberForm(text)) << text;
    EXPECT_EQ(SocketErrorMessage(error), QString::fromStdString(text));
}

INSTANTIATE_TEST_SUITE_P(
    Mapped, QtError,
    ::testing::Values(std::pair{QAbstractSocket::ConnectionRefusedError, 10061},
                      std::pair{QAbstractSocket::RemoteHostClosedError, 10054},
                      std::pair{QAbstractSocket::HostNotFoundError, 11001},
                      std::pair{QAbstractSocket::SocketAccessError, 10013},
                      std::pair{QAbstractSocket::SocketResourceError, 10055},
                      std::pair{QAbstractSocket::SocketTimeoutError, 10060},
                      std::pair{QAbstractSocket::DatagramTooLargeError, 10040},
                      std::pair{QAbstractSocket::NetworkError, 10051},
                      std::pair{QAbstractSocket::AddressInUseError, 10048},
                      std::pair{QAbstractSocket::SocketAddressNotAvailableError, 10049},
                      std::pair{QAbstractSocket::UnsupportedSocketOperationError, 10045},
                      std::pair{QAbstractSocket::UnfinishedSocketOperationError, 10036},
                      std::pair{QAbstractSocket::OperationError, 10022},
                      std::pair{QAbstractSocket::TemporaryError, 10035}));

TEST(QtError, ConnectionRefusedReadsAsTheUsualMessage) {
    EXPECT_EQ(SocketErrorMessage(QAbstractSocket::ConnectionRefusedError),
              QString::fromUtf8("接続が拒否された。"));
}

TEST(QtError, UnmappedErrorsShowTheirQtNumber) {
    EXPECT_EQ(SocketErrorCode(QAbstractSocket::UnknownSocketError), -1);
    EXPECT_EQ(SocketErrorMessage(QAbstractSocket::UnknownSocketError), QStringLiteral("(-1)"));

    const int proxy = static_cast<int>(QAbstractSocket::ProxyConnectionRefusedError);
    EXPECT_EQ(SocketErrorCode(QAbstractSocket::ProxyConnectionRefusedError), proxy);
    EXPECT_EQ(
        SocketErrorMessage(QAbstractSocket::SslHandshakeFailedError),
        QStringLiteral("(%1)").arg(static_cast<int>(QAbstractSocket::SslHandshakeFailedError)));
}
