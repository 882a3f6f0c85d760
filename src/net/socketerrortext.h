#pragma once

#include <string>

namespace quorin {

// The Japanese text shown to the player for a socket error, by its Windows Sockets error
// code (10004 ... 11004). Connection errors are reported in these codes on every platform,
// so that the messages are the same wherever the program runs; SocketErrorCode turns a Qt
// socket error into its code.
//
// A code without a text gives the code itself in parentheses, e.g. "(10059)" or "(-1)",
// so that the player can still tell the errors apart. The text is UTF-8.
std::string SocketErrorText(int code);

} // namespace quorin
