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

// Whether the text ends with the first part of a tag, so the tag may finish in the next
// receive.
bool EndsInPartOfTag(std::u16string_view text) {
    for (std::size_t length = 1; length <= kTagPrefix.size() && length <= text.size(); ++length) {
        if (text.substr(text.size() - length) == kTagPrefix.substr(0, length))
            return true;
    }
    return false;
}

bool IsProperPrefixOf(std::u16string_view text, std::u16string_view whole) {
    return text.size() < whole.size() && whole.substr(0, text.size()) == text;
}

} // namespace

bool LooksUnfinished(std::u16string_view message) {
    if (EndsInPartOfTag(message))
        return true;
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

std::vector<std::u16string> MessageFramer::Receive(std::string_view bytes) {
    const std::size_t room = kPendingLimit - std::min(kPendingLimit, pending_.size());
    pending_.append(bytes.substr(0, room));

    // Whole units only; an odd byte waits for its partner.
    const std::size_t even = pending_.size() & ~std::size_t{1};
    const std::u16string text = DecodeUnits(std::string_view(pending_).substr(0, even));

    std::vector<std::size_t> starts;
    if (!text.empty() && !IsTagAt(text, 0))
        starts.push_back(0);
    for (std::size_t at = text.find(kTagPrefix); at != std::u16string::npos;
         at = text.find(kTagPrefix, at + 1)) {
        if (IsTagAt(text, at))
            starts.push_back(at);
    }

    std::vector<std::u16string> messages;
    std::size_t consumed = 0; // units handed out
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const bool last = i + 1 == starts.size();
        const std::size_t end = last ? text.size() : starts[i + 1];
        std::u16string message = text.substr(starts[i], end - starts[i]);
        if (last && (even < pending_.size() || LooksUnfinished(message)))
            break;
        messages.push_back(std::move(message));
        consumed = end;
    }
    pending_.erase(0, 2 * consumed);
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
