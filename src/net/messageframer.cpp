#include "messageframer.h"

#include "messages.h"
#include "wirecodec.h"

#include <algorithm>

namespace quorin {
namespace {

constexpr std::size_t kTagLength = kTagPrefix.size() + 1; // "VURORE_MSG" and its digit

// The tag as it travels: "VURORE_MSG" in UTF-16LE, then the digit 1..8 and a zero byte.
constexpr std::size_t kTagBytes = 2 * kTagLength;
constexpr std::string_view kTagFirstBytes("V\0U\0R\0O\0R\0E\0_\0M\0S\0G\0", 20);

// A message longer than this cannot be one: it is handed on as it stands, to be ignored.
constexpr std::size_t kLongestMessageBytes = 2 * kMessageLimit;

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

std::size_t FindTag(std::string_view data, std::size_t from) {
    for (std::size_t at = data.find(kTagFirstBytes, from); at != std::string_view::npos;
         at = data.find(kTagFirstBytes, at + 1)) {
        if (IsTagBytesAt(data, at))
            return at;
    }
    return std::string_view::npos;
}

// The length of the longest end of `data`, starting at `from` or later, that is the first
// part of a tag: it may still become one.
std::size_t PartOfTagAtEnd(std::string_view data, std::size_t from) {
    for (std::size_t length = std::min(kTagBytes - 1, data.size() - std::min(from, data.size()));
         length > 0; --length) {
        const std::string_view tail = data.substr(data.size() - length);
        std::size_t k = 0;
        while (k < length && TagByte(k, tail[k]))
            ++k;
        if (k == length)
            return length;
    }
    return 0;
}

using Wait = MessageFramer::Wait;

// How a text of fixed wording waits: whole as written (Nothing), cut short (More), or
// another text, whose end nothing tells (Quiet).
Wait FixedText(std::u16string_view text, bool oddByte, std::u16string_view fixed) {
    if (text == fixed && !oddByte)
        return Wait::Nothing;
    return fixed.starts_with(text) ? Wait::More : Wait::Quiet;
}

// How the message `text`, which begins with its tag and may end with an odd byte, waits
// for its rest; Nothing when its form says it is whole. `followed`: bytes that may begin
// the next tag follow it.
Wait WaitOf(std::u16string_view text, bool oddByte, bool followed, int nextMove) {
    switch (text[kTagPrefix.size()]) {
    case u'2': {
        // The board field, a ":", blanks and the move number's digits.
        const std::size_t colon = text.find(u':');
        if (colon == std::u16string_view::npos || oddByte)
            return Wait::More;
        const std::size_t second = text.find(u':', colon + 1);
        const std::size_t digits =
            second == std::u16string_view::npos ? second : text.find_first_not_of(u' ', second + 1);
        if (digits == std::u16string_view::npos)
            return Wait::More;
        const std::u16string_view number = text.substr(digits);
        if (followed || !std::all_of(number.begin(), number.end(),
                                     [](char16_t c) { return c >= u'0' && c <= u'9'; }))
            return Wait::Nothing;
        // The digits alone do not tell where a number ends; the number expected next does.
        const std::string expected = std::to_string(nextMove);
        const bool firstDigits = number.size() < expected.size() &&
                                 std::equal(number.begin(), number.end(), expected.begin());
        return firstDigits ? Wait::Number : Wait::Nothing;
    }
    case u'3':
        return FixedText(text, oddByte, kAcknowledgement);
    case u'5': {
        const Wait kingTaken = FixedText(text, oddByte, kKingTaken);
        return kingTaken == Wait::Quiet ? FixedText(text, oddByte, kResignation) : kingTaken;
    }
    case u'7':
        return FixedText(text, oddByte, kPromotionNotice);
    case u'8':
        return FixedText(text, oddByte, kCastlingNotice);
    default: // a chat or ready-made text, and "VURORE_MSG1": nothing tells their end
        return Wait::Quiet;
    }
}

} // namespace

std::string_view MessageFramer::Data() const {
    return std::string_view(pending_).substr(start_);
}

void MessageFramer::Consume(std::size_t bytes) {
    start_ += bytes;
    if (start_ == pending_.size()) {
        pending_.clear();
        start_ = 0;
    }
}

void MessageFramer::Append(std::string_view bytes) {
    // Handed-on bytes are let go here, not at every message, so a receive of many
    // messages is not moved once for each.
    pending_.erase(0, start_);
    start_ = 0;
    pending_.append(bytes.substr(0, kPendingLimit - std::min(kPendingLimit, pending_.size())));
    wait_ = Wait::Nothing;
}

void MessageFramer::DropTail() {
    const std::string_view data = Data();
    const std::size_t tag = FindTag(data, 0);
    if (tag != std::string_view::npos) {
        Consume(tag);
        tail_ = false;
        return;
    }
    Consume(data.size() - PartOfTagAtEnd(data, 0));
}

std::optional<std::u16string> MessageFramer::Next(int nextMove) {
    for (;;) {
        if (tail_)
            DropTail();
        const std::string_view data = Data();
        if (tail_ || data.empty()) {
            wait_ = data.empty() ? Wait::Nothing : Wait::More;
            return std::nullopt;
        }
        const bool tagged = IsTagBytesAt(data, 0);

        // Tags are looked for at every byte, not only at even ones: after a stray byte from
        // the peer the next tag still starts a message of its own, in step again.
        const std::size_t next = FindTag(data, 1);
        if (next != std::string_view::npos) {
            // A lone byte right before the next tag belongs to no character: left out.
            const std::size_t whole = next & ~std::size_t{1};
            const std::string_view message = data.substr(0, whole);
            Consume(next);
            if (whole > 0)
                return DecodeUnits(message);
            continue;
        }

        // The last message: handed on now only when its form says it is whole.
        if (data.size() > kLongestMessageBytes) {
            std::u16string message = DecodeUnits(data.substr(0, data.size() & ~std::size_t{1}));
            Consume(data.size());
            tail_ = true;
            return message;
        }
        if (!tagged && PartOfTagAtEnd(data, 0) == data.size()) {
            wait_ = Wait::More; // a tag cut short
            return std::nullopt;
        }
        const std::size_t partOfTag = PartOfTagAtEnd(data, 1);
        const std::string_view body = data.substr(0, data.size() - partOfTag);
        const bool oddByte = body.size() % 2 == 1;
        const Wait wait = tagged ? WaitOf(DecodeUnits(body.substr(0, body.size() - oddByte)),
                                          oddByte, partOfTag > 0, nextMove)
                                 : Wait::Quiet;
        if (wait != Wait::Nothing) {
            wait_ = wait;
            return std::nullopt;
        }
        // Whole. What follows a move, up to the next tag, may be the rest of its number and
        // is its tail; what follows another message begins a message of its own, but bytes
        // that may be the next tag's first ones are either that or nothing.
        std::u16string message = DecodeUnits(body);
        Consume(body.size());
        tail_ = partOfTag > 0 || message[kTagPrefix.size()] == u'2';
        return message;
    }
}

std::vector<std::u16string> MessageFramer::Receive(std::string_view bytes, int nextMove) {
    Append(bytes);
    std::vector<std::u16string> messages;
    while (std::optional<std::u16string> message = Next(nextMove))
        messages.push_back(std::move(*message));
    return messages;
}

int MessageFramer::WaitMs() const {
    switch (wait_) {
    case Wait::Quiet:
        return kQuietMs;
    case Wait::Number:
        return kNumberMs;
    case Wait::Nothing:
    case Wait::More:
        break;
    }
    return -1;
}

std::optional<std::u16string> MessageFramer::Flush() {
    if (wait_ != Wait::Quiet && wait_ != Wait::Number)
        return std::nullopt;
    const std::string_view data = Data();
    // An odd last byte is half a character: left out.
    std::u16string message = DecodeUnits(data.substr(0, data.size() & ~std::size_t{1}));
    // The end of a text may be the first bytes of the next tag, cut off by the pause: they
    // are looked at again with the bytes that come next. Anything else up to the next tag
    // is the rest of this message, and is dropped.
    const std::size_t partOfTag = PartOfTagAtEnd(data, 1);
    Consume(data.size() - partOfTag);
    tail_ = true;
    wait_ = partOfTag > 0 ? Wait::More : Wait::Nothing;
    if (message.empty())
        return std::nullopt;
    return message;
}

} // namespace quorin
