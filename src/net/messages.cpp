#include "messages.h"

namespace quorin {
namespace {

std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

std::u16string MoveMessage(std::string_view boardField, int moveNumber) {
    return u"VURORE_MSG2:" + Ascii(boardField) + u": " + Ascii(std::to_string(moveNumber));
}

std::u16string ChatMessage(std::u16string_view text) {
    std::size_t length = std::min(text.size(), kChatLimit);
    if (length < text.size() && length > 0 && IsHighSurrogate(text[length - 1]))
        --length;
    return u"VURORE_MSG4:" + std::u16string(text.substr(0, length));
}

std::u16string PresetMessage(std::u16string_view text) {
    return u"VURORE_MSG6:" + std::u16string(text);
}

std::u16string StrengthMessage(std::u16string_view strengthClass) {
    return PresetMessage(u"私の強さは" + std::u16string(strengthClass) + u"クラスです。");
}

} // namespace quorin
