#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorin {

// Finds the messages in the bytes of a connection. The peer sends each message whole and
// marks nothing between them, so a receive may hold part of a message or several of
// them. Bytes are kept between receives; every tag "VURORE_MSG1".."VURORE_MSG8" starts a
// new message, wherever its bytes begin, so a stray byte does not put every later
// message out of step (a lone byte right before a tag belongs to no character and is left
// out); bytes before the first tag count as one message of their own, which matches no
// kind. The end of a receive
// ends the last message in it unless that message is plainly unfinished: an odd byte, a
// tag cut short, a move without its number, a fixed text cut short, a tag without its
// ":". An unfinished message waits for the next receive, or until Flush when nothing
// more comes.
class MessageFramer {
public:
    // At most this many bytes wait for the rest of their message; bytes beyond are dropped.
    static constexpr std::size_t kPendingLimit = 64 * 1024;

    // The messages completed by the bytes of one receive, in order.
    std::vector<std::u16string> Receive(std::string_view bytes);
    // Whatever still waits, as one message as it stands (an odd byte takes a zero high
    // byte); nothing when nothing waits.
    std::vector<std::u16string> Flush();

    bool HasPending() const { return !pending_.empty(); }
    std::size_t PendingBytes() const { return pending_.size(); }

private:
    std::string pending_;
};

} // namespace quorin
