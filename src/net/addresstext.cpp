#include "addresstext.h"

#include <array>
#include <string_view>

namespace quorin {

namespace {

// The four numbers of a held address in dotted order: the lowest byte first.
std::array<int, 4> Numbers(std::int32_t ip) {
    const auto bits = static_cast<std::uint32_t>(ip);
    return {static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
            static_cast<int>((bits >> 16) & 0xFF), static_cast<int>((bits >> 24) & 0xFF)};
}

std::string Dotted(std::int32_t ip, std::string_view before) {
    std::string text;
    for (int n : Numbers(ip)) {
        if (!text.empty())
            text += '.';
        text += before;
        text += std::to_string(n);
    }
    return text;
}

} // namespace

std::int32_t AddressFromQuad(int a, int b, int c, int d) {
    const std::uint32_t bits = (static_cast<std::uint32_t>(a) & 0xFF) |
                               ((static_cast<std::uint32_t>(b) & 0xFF) << 8) |
                               ((static_cast<std::uint32_t>(c) & 0xFF) << 16) |
                               ((static_cast<std::uint32_t>(d) & 0xFF) << 24);
    return static_cast<std::int32_t>(bits);
}

std::string GetMyLocalIPString(std::int32_t ip) {
    return Dotted(ip, "");
}

std::string GetPeerIPString(std::int32_t ip) {
    return Dotted(ip, " ");
}

} // namespace quorin
