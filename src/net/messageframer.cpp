#include "messageframer.h"

#include "messages.h"
#include "wirecodec.h"

#include <algorithm>

namespace quorin {
namespace {

constexpr std::size_t kTagLength = kTagPrefix.size() + 1; // "VURORE_MSG" and its digit

bool IsTagAt(std::u16string_view text, std::size_t at) {
    return text.substr(at, kTagPrefix.size()) == kTagPrefix &&
           at + kTagPrefix.size() < text.size() && text[at + kTagPrefix.size()] >= u'1' &&
           text[at + kTagPrefix.size()] <= u'8';
}

// The tag as it travels: "VURORE_MSG" in UTF-16LE, then the digit 1..8 and a zero byte.
constexpr std::size_t kTagBytes = 2 * kTagLength;
constexpr std::string_view kTagFirstBytes("V\0U\0R\0O\0R\0E\0_\0M\0S\0G\0", 20);

// Whether byte `k` of a tag may be `b`.
bool TagByte(std::size_t k, char b) {
    if (k < kTagFirstBytes.size())
        return b == kTagFirstBytes[k];
    return k == kTagFirstBytes.size() ? b >= '1' && b <= '8' : b == '\0';
}

bool IsTagBytesAt(std::string_view data, std::size_t at) {
    if (data.size() < at + kTagBytes)
        return false;
    for (std::size_t k = 0; k < kTagBytes; ++k) {
        if (!TagByte(k, data[at + k]))
            return false;
    }
    return true;
}

// Whether the bytes end with the first part of a tag, at any byte.
bool EndsInPartOfTagBytes(std::string_view data) {
    for (std::size_t length = 1; length < kTagBytes && length <= data.size(); ++length) {
        const std::string_view tail = data.substr(data.size() - length);
        std::size_t k = 0;
        while (k < length && TagByte(k, tail[k]))
            ++k;
        if (k == length)
            return true;
    }
    return false;
}

bool IsProperPrefixOf(std::u16string_view text, std::u16string_view whole) {
    return text.size() < whole.size() && whole.substr(0, text.size()) == text;
}

// Whether a message that begins with its tag may still grow: a tag without its ":", a
// move without its number, a fixed text cut short. (A tag cut short is seen in the bytes.)
bool LooksUnfinished(std::u16string_view message) {
    if (message.size() < kTagLength || !IsTagAt(message, 0))
        return false;
    const char16_t kind = message[kTagPrefix.size()];
    const std::size_t colon = message.find(u':');
    if (colon == std::u16string_view::npos)
        return true;
    switch (kind) {
    case u'2': {
        // The move number follows the second ":", after a blank.
        const std::size_t second = message.find(u':', colon + 1);
        if (second == std::u16string_view::npos)
            return true;
        const std::u16string_view number = message.substr(second + 1);
        return number.find_first_not_of(u' ') == std::u16string_view::npos;
    }
    case u'3':
        return IsProperPrefixOf(message, kAcknowledgement);
    case u'7':
        return IsProperPrefixOf(message, kPromotionNotice);
    case u'8':
        return IsProperPrefixOf(message, kCastlingNotice);
    default:
        return false;
    }
}

} // namespace

std::vector<std::u16string> MessageFramer::Receive(std::string_view bytes) {
    const std::size_t room = kPendingLimit - std::min(kPendingLimit, pending_.size());
    pending_.append(bytes.substr(0, room));
    const std::string_view data = pending_;

    // Tags are looked for at every byte, not only at even ones: after a stray byte from
    // the peer the next tag still starts a message of its own, in step again.
    std::vector<std::size_t> starts;
    if (!data.empty() && !IsTagBytesAt(data, 0))
        starts.push_back(0);
    for (std::size_t at = data.find(kTagFirstBytes); at != std::string_view::npos;
         at = data.find(kTagFirstBytes, at + 1)) {
        if (IsTagBytesAt(data, at))
            starts.push_back(at);
    }

    std::vector<std::u16string> messages;
    std::size_t consumed = 0; // bytes handed out
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const bool last = i + 1 == starts.size();
        const std::size_t end = last ? data.size() : starts[i + 1];
        const std::string_view message = data.substr(starts[i], end - starts[i]);
        // The last message may go on in the next receive: an odd byte waits for its
        // partner, and a tag or a move cut short waits for the rest.
        if (last && (message.size() % 2 == 1 || EndsInPartOfTagBytes(message) ||
                     LooksUnfinished(DecodeUnits(message))))
            break;
        // A lone byte right before the next tag belongs to no character: it is left out.
        const std::size_t whole = last ? message.size() : message.size() & ~std::size_t{1};
        if (whole > 0)
            messages.push_back(DecodeUnits(message.substr(0, whole)));
        consumed = end;
    }
    pending_.erase(0, consumed);
    return messages;
}

std::vector<std::u16string> MessageFramer::Flush() {
    if (pending_.empty())
        return {};
    std::vector<std::u16string> messages{DecodeUnits(pending_)};
    pending_.clear();
    return messages;
}

} // namespace quorin
