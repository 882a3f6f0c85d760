// libFuzzer target over the receive path: bytes from the peer, cut into receives as a socket
// may hand them over, go through one MessageFramer and every message through DecideMessage,
// as Connection does; the whole input also goes to ParseMessage and DecideMessage as one text.
//
// Input: a plan byte, up to seven piece bytes, then the payload. Plan bits 0-2: how many piece
// bytes (none: receives of 16 KiB, the read size); bits 3-4: a piece's unit, 1, 8, 64 or 512
// bytes (2 to 16 KiB when repeating); bit 5: each receive one byte short, so cuts fall at odd
// bytes; bits 6-7 both set: the payload again and again up to 72 KiB, past the bound on
// waiting bytes; bit 6 alone: the payload is a script, each byte one whole message a peer
// sends (moves numbered 1, 2, 3..., acknowledgements, chats, notices; 48 at most), and every
// message must come out once, in order, answered unless it is an acknowledgement. A piece byte:
// bits 0-5 the receive's length in units, less one; bit 7: the peer pauses after it, 300 ms or,
// with bit 6, 2.5 s, and the framer hands on what waits no longer than that. The pieces are taken
// in turn until the payload is spent; then the peer falls silent.

#include "fuzzcheck.h"
#include "net/messageaction.h"
#include "net/messageframer.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <algorithm>
#include <cstdint>
#include <utility>
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
MessageAction Decide(std::u16string_view message) {
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
    return action;
}

// The whole messages of a script: one for each payload byte, moves numbered from 1.
std::vector<std::u16string> Script(std::string_view payload) {
    static const std::string board = WritePositionForPeer(*ReadPosition(InitialPosition));
    const std::u16string_view texts[] = {u"VURORE_MSG4:こんにちは",
                                         u"VURORE_MSG4:V",
                                         u"VURORE_MSG6:宜しく",
                                         kAcknowledgement,
                                         kPromotionNotice,
                                         kCastlingNotice,
                                         kKingTaken};
    std::vector<std::u16string> script;
    int moves = 0;
    for (const char byte : payload) {
        const auto pick = static_cast<unsigned char>(byte) % 8;
        script.push_back(pick == 7 ? MoveMessage(board, ++moves) : std::u16string(texts[pick]));
    }
    return script;
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
    const bool repeat = (plan & 0xC0u) == 0xC0u, scripted = (plan & 0xC0u) == 0x40u;
    const std::size_t unit = (repeat ? kRepeatUnits : kUnits)[(plan >> 3) & 0x03u];
    const std::string_view payload = input.substr(1 + count);
    const std::vector<std::u16string> script = Script(scripted ? payload.substr(0, 48) : "");
    std::string stream(scripted ? "" : payload);
    std::vector<std::size_t> ends; // where each message of the script ends in the stream
    for (const std::u16string& message : script)
        ends.push_back((stream += EncodeMessage(message)).size());
    while (repeat && !payload.empty() && stream.size() < 72 * 1024)
        stream += payload;

    MessageFramer framer;
    std::size_t handed = 0; // messages of the script come out in order
    std::vector<std::size_t> pauses;
    int nextMove = 1;
    const auto take = [&](const std::u16string& message) {
        FUZZ_CHECK(!message.empty());
        for (int kind = 1; kind <= 8; ++kind) // every tag starts a message of its own
            FUZZ_CHECK(!HasTag(message, kind, 1));
        const MessageAction action = Decide(message);
        const int expected = std::exchange(nextMove, action.type == MessageAction::Type::ApplyMove
                                                         ? action.moveNumber + 1
                                                         : nextMove);
        if (!scripted)
            return;
        // Each message once, answered unless an acknowledgement; whole, unless a pause came
        // after its tag and it is a text or a move, or it is a move with another number than
        // the one expected: then as far as it came, maybe with the next tag's first bytes.
        FUZZ_CHECK(handed < script.size());
        const std::u16string& sent = script[handed];
        const std::size_t begin = handed == 0 ? 0 : ends[handed - 1];
        const bool paused = std::any_of(pauses.begin(), pauses.end(), [&](std::size_t at) {
            return at >= begin + 22 && at < ends[handed] + 22;
        });
        const bool move = sent.starts_with(u"VURORE_MSG2");
        const bool cuttable = (paused && (move || sent.starts_with(u"VURORE_MSG4") ||
                                          sent.starts_with(u"VURORE_MSG6"))) ||
                              (move && DecideMessage(sent).moveNumber != expected);
        const std::string bytes = EncodeMessage(message);
        FUZZ_CHECK(message == sent ||
                   (cuttable && std::string_view(stream).substr(begin).starts_with(
                                    bytes.substr(0, bytes.size() - 1))));
        FUZZ_CHECK(action.acknowledge == (sent != kAcknowledgement));
        ++handed;
    };
    for (std::size_t at = 0, i = 0; at < stream.size(); ++i) {
        const unsigned piece = count > 0 ? static_cast<unsigned char>(input[1 + i % count]) : 0;
        std::size_t length =
            count > 0 ? std::min(kReadSize, ((piece & 0x3Fu) + 1) * unit) : kReadSize;
        if (count > 0 && (plan & 0x20u) != 0 && length > 1)
            --length;
        const std::string_view bytes = std::string_view(stream).substr(at, length);
        at += bytes.size();
        framer.Append(bytes);
        while (const std::optional<std::u16string> message = framer.Next(nextMove))
            take(*message);
        FUZZ_CHECK(framer.PendingBytes() <= MessageFramer::kPendingLimit);
        const int pause = (piece & 0x80u) == 0 ? 0 : (piece & 0x40u) != 0 ? 2500 : 300;
        if (pause > 0)
            pauses.push_back(at);
        if (framer.WaitMs() >= 0 && framer.WaitMs() <= pause)
            if (const std::optional<std::u16string> message = framer.Flush())
                take(*message);
    }
    if (const std::optional<std::u16string> message = framer.Flush())
        take(*message);
    FUZZ_CHECK(handed == script.size());
    return 0;
}
