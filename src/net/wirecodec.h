#pragma once

#include <string>
#include <string_view>

namespace quorin {

// On the wire every character of a message is its UTF-16 code unit, low byte first, with
// no byte order mark, terminator, length or separator: n characters are 2n bytes.
std::string EncodeMessage(std::u16string_view text);

// The units of `bytes`, two bytes a unit, low byte first. An odd last byte forms a unit
// with a zero high byte.
std::u16string DecodeUnits(std::string_view bytes);

} // namespace quorin
