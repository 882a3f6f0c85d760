#include "wirecodec.h"

namespace quorin {

std::string EncodeMessage(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(2 * text.size());
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::u16string DecodeUnits(std::string_view bytes) {
    std::u16string text;
    text.reserve((bytes.size() + 1) / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        text.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

} // namespace quorin
