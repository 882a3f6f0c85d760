// libFuzzer target over the receive path: bytes from the peer, cut into receives as a socket
// may hand them over, go through one MessageFramer and every message through DecideMessage,
// as Connection does; the whole input also goes to ParseMessage and DecideMessage as one text.
//
// Input: a plan byte, up to seven piece bytes, then the payload. Plan bits 0-2: how many piece
// bytes (none: receives of 16 KiB, the read size); bits 3-4: a piece's unit, 1, 8, 64 or 512
// bytes (2 to 16 KiB when repeating); bit 5: each receive one byte short, so cuts fall at odd
// bytes; bits 6-7 both set: the payload again and again up to 72 KiB, past the bound on
// waiting bytes. A piece byte: bits 0-6 the receive's length in units, less one (at most
// 16 KiB); bit 7: the flush timer fires after it (the peer paused). The pieces are taken in
// turn until the payload is spent; then the framer is flushed.

#include "fuzzcheck.h"
#include "net/messageaction.h"
#include "net/messageframer.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using namespace quorin;

constexpr std::size_t kReadSize = 16 * 1024; // the most Connection reads at once

// Whether the tag "VURORE_MSG<kind>" is in `message` from `from` on.
bool HasTag(std::u16string_view message, int kind, std::size_t from = 0) {
    return message.find(std::u16string(kTagPrefix) + char16_t(u'0' + kind), from) !=
           std::u16string_view::npos;
}

// What a decision may carry: a move only with a readable position taken from the message and
// a number, a text only for the kinds that show one and then all after the tag's ":", never
// more than a message may hold. Only an acknowledgement may go unanswered.
void Decide(std::u16string_view message) {
    using Type = MessageAction::Type;
    const MessageAction action = DecideMessage(message);
    const std::u16string position(action.position.begin(), action.position.end());
    const std::size_t length = action.text.size();
    const bool showsText = action.type == Type::ShowText || action.type == Type::EndGame ||
                           action.type == Type::ShowNotice;
    FUZZ_CHECK(length <= kMessageLimit);
    FUZZ_CHECK(action.type != Type::ApplyMove
                   ? position.empty()
                   : ReadPosition(action.position) && action.moveNumber >= 0 &&
                         message.find(position) != std::u16string_view::npos);
    FUZZ_CHECK(!showsText ? length == 0
                          : message.size() > length && message.ends_with(action.text) &&
                                message[message.size() - length - 1] == u':');
    FUZZ_CHECK(action.type == Type::Acknowledgement ? HasTag(message, 3) : action.acknowledge);
}

// What still waits comes out as one message, and then nothing waits.
void Flush(MessageFramer& framer) {
    const bool waiting = framer.HasPending();
    const std::vector<std::u16string> messages = framer.Flush();
    FUZZ_CHECK(messages.size() == (waiting ? 1u : 0u) && framer.PendingBytes() == 0);
    for (const std::u16string& message : messages)
        Decide(message);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The whole input as one message: a kind is given only when its tag is in the text.
    const std::u16string text = DecodeUnits(input);
    FUZZ_CHECK(EncodeMessage(text) == std::string(input) + std::string(size % 2, '\0'));
    const ParsedMessage parsed = ParseMessage(text);
    FUZZ_CHECK(parsed.kind == MessageKind::Unknown ? parsed.fields.empty()
                                                   : HasTag(text, int(parsed.kind)));
    Decide(text);
    if (input.empty())
        return 0;

    // Larger units when repeating: a framer full of one unfinished message decodes it all anew.
    constexpr std::size_t kUnits[] = {1, 8, 64, 512}, kRepeatUnits[] = {2048, 4096, 8192, 16384};
    const auto plan = static_cast<unsigned char>(input.front());
    const std::size_t count = std::min<std::size_t>(plan & 0x07u, input.size() - 1);
    const bool repeat = (plan & 0xC0u) == 0xC0u;
    const std::size_t unit = (repeat ? kRepeatUnits : kUnits)[(plan >> 3) & 0x03u];
    const std::string_view payload = input.substr(1 + count);
    std::string stream(payload);
    while (repeat && !payload.empty() && stream.size() < 72 * 1024)
        stream += payload;

    MessageFramer framer;
    for (std::size_t at = 0, i = 0; at < stream.size(); ++i) {
        const unsigned piece = count > 0 ? static_cast<unsigned char>(input[1 + i % count]) : 0;
        std::size_t length =
            count > 0 ? std::min(kReadSize, ((piece & 0x7Fu) + 1) * unit) : kReadSize;
        if (count > 0 && (plan & 0x20u) != 0 && length > 1)
            --length;
        const std::string_view bytes = std::string_view(stream).substr(at, length);
        at += bytes.size();
        for (const std::u16string& message : framer.Receive(bytes)) {
            FUZZ_CHECK(!message.empty());
            for (int kind = 1; kind <= 8; ++kind) // every tag starts a message of its own
                FUZZ_CHECK(!HasTag(message, kind, 1));
            Decide(message);
        }
        FUZZ_CHECK(framer.PendingBytes() <= MessageFramer::kPendingLimit);
        if ((piece & 0x80u) != 0)
            Flush(framer);
    }
    Flush(framer);
    return 0;
}
