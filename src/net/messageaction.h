#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorin {

// The kinds of message, by tag: "VURORE_MSG1" is recognised but carries nothing.
enum class MessageKind {
    Unknown,
    Msg1,
    Move,
    Acknowledgement,
    Chat,
    Result,
    Preset,
    Promotion,
    Castling
};

// A received text split into its fields. The kind is that of the first tag the text
// contains, testing the tags in the order 1 to 8; fields are split at every "," for
// "VURORE_MSG1" and at every ":" for the others. Field 0 is the tag.
struct ParsedMessage {
    MessageKind kind = MessageKind::Unknown;
    std::vector<std::u16string> fields;
};
ParsedMessage ParseMessage(std::u16string_view text);

// What receiving one message does.
struct MessageAction {
    enum class Type {
        Ignore,          // unknown, malformed or carrying nothing
        ApplyMove,       // take over the peer's position
        Acknowledgement, // the peer has handled our last message
        ShowText,        // a chat or preset text for the message line
        EndGame,         // a result text for the message line; the clocks stop
        ShowNotice,      // a promotion or castling notice for a message box
    };
    Type type = Type::Ignore;
    std::u16string text;  // ShowText, EndGame, ShowNotice
    std::string position; // ApplyMove: the board field exactly as received
    int moveNumber = 0;   // ApplyMove
    // Whether the message is answered with an acknowledgement: every message is, even
    // when ignored, but for a "VURORE_MSG3" whose field 1 holds "SEND_OK".
    bool acknowledge = true;
};

// Decides what one received message does. Only "VURORE_MSG3" is an acknowledgement,
// whatever else a text holds, and it ends the wait whatever its text. Texts are shown
// whole: everything after the tag's ":". A move is taken over only when its board field
// is a valid position and its number is a number; anything invalid is ignored, so nothing
// the peer sends can break the board.
MessageAction DecideMessage(std::u16string_view message);

} // namespace quorin
