#include "addresstext.h"

#include <array>
#include <cstddef>

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

// Reads one number of a dotted address, 1 to 3 decimal digits up to 255, from the front
// of `text` and removes it there. Answers -1 when there is no such number.
int TakeNumber(std::string_view& text) {
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + (text[digits] - '0');
        ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255)
        return -1;
    text.remove_prefix(digits);
    return value;
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

std::int32_t ResolveHost(std::string_view text) {
    std::array<int, 4> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != '.')
                return kNoAddress;
            text.remove_prefix(1);
        }
        numbers[i] = TakeNumber(text);
        if (numbers[i] < 0)
            return kNoAddress;
    }
    if (!text.empty())
        return kNoAddress;
    return AddressFromQuad(numbers[0], numbers[1], numbers[2], numbers[3]);
}

} // namespace quorin
