#pragma once

#include <cstdint>
#include <string>

namespace quorin {

// An IPv4 address is held as the socket library keeps it: a 32-bit value whose lowest
// byte is the first number of the dotted form, so 192.168.1.5 is 0x0501A8C0. That is
// network byte order in memory on a little-endian machine, but it is built and taken
// apart with shifts here, whatever the machine. The value -1 stands for "no address".
inline constexpr std::int32_t kNoAddress = -1;

// The held form of a.b.c.d. Each number is taken modulo 256.
std::int32_t AddressFromQuad(int a, int b, int c, int d);

// The dotted form shown as this machine's address: "192.168.1.5". -1 comes out as
// "255.255.255.255", the address it is the held form of.
std::string GetMyLocalIPString(std::int32_t ip);

// The dotted form shown as the opponent's address: each number has one blank in front,
// " 192. 168. 1. 7".
std::string GetPeerIPString(std::int32_t ip);

} // namespace quorin
