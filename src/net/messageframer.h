#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin {

// Finds the messages in the bytes of a connection. The peer sends each message whole and
// marks nothing between them, so a receive may hold part of a message or several of them,
// and on a real link the rest of a message may come a retransmission later. Bytes are
// kept between receives; every tag "VURORE_MSG1".."VURORE_MSG8" starts a new message,
// wherever its bytes begin, so a stray byte does not put every later message out of step
// (a lone byte right before a tag belongs to no character and is left out); bytes before
// the first tag count as one message of their own, which matches no kind.
//
// A message that the next tag does not end is handed on once its own form says it is
// whole: a move with its board and its number, the acknowledgement, a notice or a result
// text as they are written. Until then it waits:
//  - Quiet: a text whose end its form cannot tell (a chat, a ready-made text) waits
//    kQuietMs for more bytes, then is handed on as it stands;
//  - Number: a move whose number is the first digits of the number expected next waits
//    kNumberMs for the rest of them, then is taken with the digits that came;
//  - More: a message known to be unfinished (a tag cut short, a move without its number,
//    an odd byte of it, the first part of a notice, a result or the acknowledgement) waits
//    for its rest however long, bounded only by the size of the largest message.
// Bytes that follow a message handed on by waiting, or a move the next tag did not end, up
// to the next tag, are its tail: they belong to no message and are dropped, never answered
// as a message of their own. (Only
// the last bytes of a text that may begin a tag are looked at again with the next bytes,
// so that a tag cut by the pause still starts its message.)
class MessageFramer {
public:
    // At most this many bytes wait; bytes beyond are dropped.
    static constexpr std::size_t kPendingLimit = 64 * 1024;
    static constexpr int kQuietMs = 200;
    static constexpr int kNumberMs = 2000;

    // Nothing: no message waits.
    enum class Wait { Nothing, Quiet, Number, More };

    // Keeps the bytes of one receive.
    void Append(std::string_view bytes);
    // The next message that is whole, in order; nothing when none is. `nextMove` is the
    // number of the move expected next from the peer.
    std::optional<std::u16string> Next(int nextMove);
    // Append, then every whole message (tests and tools that know the number expected).
    std::vector<std::u16string> Receive(std::string_view bytes, int nextMove = 1);

    // How what still waits, after Next answered nothing, waits for the rest.
    Wait Waiting() const { return wait_; }
    // How long it waits before Flush, or -1 when it waits for more bytes however long.
    int WaitMs() const;
    // The message that waited Quiet or Number, as it stands (an odd last byte, half a
    // character, left out); nothing while nothing waits or the message waits for More.
    std::optional<std::u16string> Flush();

    std::size_t PendingBytes() const { return pending_.size() - start_; }

private:
    std::string_view Data() const;
    void Consume(std::size_t bytes);
    // Drops a tail up to the next tag; keeps what may still become a tag.
    void DropTail();

    std::string pending_;
    std::size_t start_ = 0; // bytes of pending_ already handed on
    Wait wait_ = Wait::Nothing;
    bool tail_ = false; // the bytes before the next tag belong to no message
};

} // namespace quorin
