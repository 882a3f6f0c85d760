#include "socketerrortext.h"

#include <array>
#include <string_view>

namespace quorin {

namespace {

struct ErrorText {
    int code;
    std::string_view text;
};

// In code order, each with the name of its Windows Sockets error. Kept one entry a line
// so that no text is split.
// clang-format off
constexpr std::array<ErrorText, 41> kErrorTexts = {{
    {10004, "呼び出しが取り消された。"}, // WSAEINTR
    {10013, "指定されたアドレスは、ブロードキャストパケットの送信をサポートしていない。"}, // WSAEACCES
    {10014, "32ビットインターネットアドレス指定に誤りがあります。"}, // WSAEFAULT
    {10022, "関数の呼び出し順番に誤りがある。"}, // WSAEINVAL
    {10024, "利用可能なファイル番号が存在しない。"}, // WSAEMFILE
    {10035, "このソケットはノンブロッキング型である。"}, // WSAEWOULDBLOCK
    {10036, "ブロッキング呼び出し進行中。"}, // WSAEINPROGRESS
    {10037, "ノンブロッキング型の処理を処理中。"}, // WSAEALREADY
    {10038, "ソケット以外を指定した。"}, // WSAENOTSOCK
    {10039, "リモートアドレスが指定されていない。"}, // WSAEDESTADDRREQ
    {10040, "データがバッファより大きいので切りつめられた。"}, // WSAEMSGSIZE
    {10041, "ソケットは指定されたプロトコルをサポートしていない。"}, // WSAEPROTOTYPE
    {10042, "プロトコルのオプションに誤りがある。"}, // WSAENOPROTOOPT
    {10043, "指定されたプロトコルはサポートされていない。"}, // WSAEPROTONOSUPPORT
    {10044, "指定されたソケットタイプはサポートされていない。"}, // WSAESOCKTNOSUPPORT
    {10045, "指定されたソケットがサポートしていない操作である。"}, // WSAEOPNOTSUPP
    {10046, "指定されたアドレスファミリがサポートされていない。"}, // WSAEPFNOSUPPORT
    {10047, "指定されたプロトコルでは、指定されたアドレスファミリがサポートされていない。"}, // WSAEAFNOSUPPORT
    {10048, "指定されたアドレスは使用中。"}, // WSAEADDRINUSE
    {10049, "指定されたアドレスは使用できない。"}, // WSAEADDRNOTAVAIL
    {10050, "ネットワークがダウンしている。"}, // WSAENETDOWN
    {10051, "リモートホストのネットワークに接続できない。"}, // WSAENETUNREACH
    {10052, "ネットワークから切断された。"}, // WSAENETRESET
    {10053, "ネットワーク不良で接続が中止された。"}, // WSAECONNABORTED
    {10054, "リモートホストから切断された。"}, // WSAECONNRESET
    {10055, "バッファ領域不足。"}, // WSAENOBUFS
    {10056, "ソケットはすでに接続されている。"}, // WSAEISCONN
    {10057, "ソケットが接続されていない。"}, // WSAENOTCONN
    {10058, "ソケットがシャットダウンされている。"}, // WSAESHUTDOWN
    {10060, "接続処理タイムアウト。"}, // WSAETIMEDOUT
    {10061, "接続が拒否された。"}, // WSAECONNREFUSED
    {10064, "リモートホストがダウンしている。"}, // WSAEHOSTDOWN
    {10065, "ホストへのルートが存在しない。"}, // WSAEHOSTUNREACH
    {10067, "プロセスが多すぎます。"}, // WSAEPROCLIM
    {10091, "ネットワークサブシステムに通信するための準備ができていない。"}, // WSASYSNOTREADY
    {10092, "指定されたバージョンがサポートされていない。"}, // WSAVERNOTSUPPORTED
    {10093, "WSAStartup関数を呼び出していないか、失敗しています。"}, // WSANOTINITIALISED
    {11001, "ホストが見つからない。"}, // WSAHOST_NOT_FOUND
    {11002, "権限があるホストが見つからない。"}, // WSATRY_AGAIN
    {11003, "修復不可能なエラーが発生した。"}, // WSANO_RECOVERY
    {11004, "データレコードの型が要求されていない。"}, // WSANO_DATA
}};
// clang-format on

} // namespace

std::string SocketErrorText(int code) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == code)
            return std::string(entry.text);
    }
    std::string number = "(";
    number += std::to_string(code);
    number += ')';
    return number;
}

} // namespace quorin
