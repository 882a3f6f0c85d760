// libFuzzer target over the receive path: bytes from the peer, cut into receives as a socket
// may hand them over, go through one MessageFramer and every message through DecideMessage,
// as Connection does. The whole input also goes to ParseMessage and DecideMessage as one text.
//
// Build with Clang (QUORIN_FUZZ also turns on the sanitizers for every library) and fuzz; new
// inputs are written to the first folder only, so the seeds here are only read:
//   cmake -S . -B /tmp/quorin-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUORIN_FUZZ=ON
//   cmake --build /tmp/quorin-fuzz -j2 --target receive_fuzzer
//   mkdir -p /tmp/receive-corpus && /tmp/quorin-fuzz/tests/fuzz/receive_fuzzer \
//         -max_total_time=600 /tmp/receive-corpus tests/fuzz/corpus
// Replay an input: receive_fuzzer <file>. `ctest -R fuzz_receive` fuzzes for 30 seconds.
//
// Input: [plan] [piece bytes] [payload]
//   plan bits 0-2  how many piece bytes follow; none: receives of 16 KiB, the read size
//   plan bits 3-4  the unit of a piece: 1, 8, 64 or 512 bytes (2 to 16 KiB when repeating)
//   plan bit 5     every receive is one byte shorter than its units, so cuts fall at odd bytes
//   plan bits 6-7  both set: the payload is sent again and again until 72 KiB have gone, so
//                  the bound on waiting bytes is reached
//   piece byte     bits 0-6: the receive's length, value + 1 units, at most 16 KiB;
//                  bit 7: the flush timer fires after this receive (the peer paused)
// The pieces are taken in turn until the payload is spent; then the framer is flushed.

#include "net/messageaction.h"
#include "net/messageframer.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quorin::MessageAction;
using quorin::MessageFramer;

constexpr std::size_t kReadSize = 16 * 1024; // the most Connection reads at once
constexpr std::size_t kRepeatedLength = 72 * 1024;
// Receive units. A framer full of one unfinished message decodes all of it on every receive,
// so larger units when repeating keep such a run short.
constexpr std::array<std::size_t, 4> kUnits = {1, 8, 64, 512};
constexpr std::array<std::size_t, 4> kRepeatUnits = {2048, 4096, 8192, 16384};
constexpr std::size_t kNotFound = std::u16string_view::npos;

[[noreturn]] void Fail(const char* what, int line) {
    std::fprintf(stderr, "receive_fuzzer.cpp:%d: check failed: %s\n", line, what);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            Fail(#condition, __LINE__);                                                            \
    } while (false)

// The tag of a kind of message, "VURORE_MSG1" to "VURORE_MSG8".
std::u16string TagOf(quorin::MessageKind kind) {
    return std::u16string(quorin::kTagPrefix) + char16_t(u'0' + static_cast<int>(kind));
}

// Whether a whole tag (the prefix and a digit 1 to 8) starts anywhere but at the start.
bool HasTagAfterStart(std::u16string_view message) {
    const std::size_t prefix = quorin::kTagPrefix.size();
    for (std::size_t at = message.find(quorin::kTagPrefix, 1); at != kNotFound;
         at = message.find(quorin::kTagPrefix, at + 1)) {
        if (at + prefix < message.size() && message[at + prefix] >= u'1' &&
            message[at + prefix] <= u'8')
            return true;
    }
    return false;
}

// What a decision may carry: a move only with a readable position taken from the message
// and a number, a text only for the kinds that show one and then everything after the
// tag's ":", never more text than a message may hold. An exception ends the run as a crash.
void Decide(std::u16string_view message) {
    using Type = MessageAction::Type;
    const MessageAction action = quorin::DecideMessage(message);
    FUZZ_CHECK(action.text.size() <= quorin::kMessageLimit);
    if (action.type == Type::ApplyMove) {
        FUZZ_CHECK(quorin::ReadPosition(action.position).has_value());
        FUZZ_CHECK(action.moveNumber >= 0);
        const std::u16string position(action.position.begin(), action.position.end());
        FUZZ_CHECK(message.find(position) != kNotFound);
    } else {
        FUZZ_CHECK(action.position.empty());
    }
    const bool showsText = action.type == Type::ShowText || action.type == Type::EndGame ||
                           action.type == Type::ShowNotice;
    if (showsText) {
        FUZZ_CHECK(message.size() > action.text.size() && message.ends_with(action.text));
        FUZZ_CHECK(message[message.size() - action.text.size() - 1] == u':');
    } else {
        FUZZ_CHECK(action.text.empty());
    }
    if (action.type == Type::Acknowledgement)
        FUZZ_CHECK(message.find(TagOf(quorin::MessageKind::Acknowledgement)) != kNotFound);
    else
        FUZZ_CHECK(action.acknowledge); // only an acknowledgement may go unanswered
}

// What still waits comes out as one message, and then nothing waits.
void Flush(MessageFramer& framer) {
    const bool waiting = framer.HasPending();
    const std::vector<std::u16string> messages = framer.Flush();
    FUZZ_CHECK(messages.size() == (waiting ? 1u : 0u) && framer.PendingBytes() == 0);
    for (const std::u16string& message : messages)
        Decide(message);
}

// The whole input as one message, as if a single receive held it and nothing else came: a
// kind is given only when its tag is in the text.
void CheckWholeInput(std::string_view input) {
    const std::u16string text = quorin::DecodeUnits(input);
    std::string bytes(input);
    if (bytes.size() % 2 == 1)
        bytes.push_back('\0');
    FUZZ_CHECK(quorin::EncodeMessage(text) == bytes);
    const quorin::ParsedMessage parsed = quorin::ParseMessage(text);
    if (parsed.kind == quorin::MessageKind::Unknown)
        FUZZ_CHECK(parsed.fields.empty());
    else
        FUZZ_CHECK(text.find(TagOf(parsed.kind)) != kNotFound);
    Decide(text);
}

struct Piece {
    std::size_t length = kReadSize;
    bool flushAfter = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckWholeInput(input);
    if (input.empty())
        return 0;

    const auto plan = static_cast<unsigned char>(input.front());
    const std::size_t count = std::min<std::size_t>(plan & 0x07u, input.size() - 1);
    const bool repeat = (plan & 0xC0u) == 0xC0u;
    const std::size_t unit = (repeat ? kRepeatUnits : kUnits)[(plan >> 3) & 0x03u];
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < count; ++i) {
        const auto piece = static_cast<unsigned char>(input[1 + i]);
        std::size_t length = std::min(kReadSize, ((piece & 0x7Fu) + 1) * unit);
        if ((plan & 0x20u) != 0 && length > 1)
            --length; // odd cuts
        pieces.push_back(Piece{length, (piece & 0x80u) != 0});
    }
    if (pieces.empty())
        pieces.push_back(Piece{});
    const std::string_view payload = input.substr(1 + count);
    std::string stream(payload);
    while (repeat && !payload.empty() && stream.size() < kRepeatedLength)
        stream += payload;

    MessageFramer framer;
    for (std::size_t at = 0, i = 0; at < stream.size(); ++i) {
        const Piece& piece = pieces[i % pieces.size()];
        const std::string_view bytes = std::string_view(stream).substr(at, piece.length);
        at += bytes.size();
        for (const std::u16string& message : framer.Receive(bytes)) {
            FUZZ_CHECK(!message.empty());
            FUZZ_CHECK(!HasTagAfterStart(message)); // every tag starts a new message
            Decide(message);
        }
        FUZZ_CHECK(framer.PendingBytes() <= MessageFramer::kPendingLimit);
        if (piece.flushAfter)
            Flush(framer);
    }
    Flush(framer);
    return 0;
}
