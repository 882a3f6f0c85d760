#include "messageaction.h"

#include "messages.h"
#include "rules/position.h"

#include <array>

namespace quorin {
namespace {

constexpr std::array<std::u16string_view, 8> kTags = {
    u"VURORE_MSG1", u"VURORE_MSG2", u"VURORE_MSG3", u"VURORE_MSG4",
    u"VURORE_MSG5", u"VURORE_MSG6", u"VURORE_MSG7", u"VURORE_MSG8"};

std::vector<std::u16string> Split(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        fields.emplace_back(text.substr(start, end - start));
        if (end == std::u16string_view::npos)
            return fields;
        start = end + 1;
    }
}

// The board field as ASCII text, or empty when it holds anything else.
std::string AsciiText(std::u16string_view text) {
    std::string ascii;
    for (char16_t unit : text) {
        if (unit >= 0x80)
            return {};
        ascii.push_back(static_cast<char>(unit));
    }
    return ascii;
}

// A move number: blanks, then one to nine decimal digits; -1 for anything else.
int MoveNumberField(std::u16string_view field) {
    const std::size_t first = field.find_first_not_of(u' ');
    if (first == std::u16string_view::npos || field.size() - first > 9)
        return -1;
    int number = 0;
    for (char16_t unit : field.substr(first)) {
        if (unit < u'0' || unit > u'9')
            return -1;
        number = number * 10 + (unit - u'0');
    }
    return number;
}

MessageAction Move(const ParsedMessage& parsed) {
    MessageAction action;
    if (parsed.fields.size() < 3)
        return action;
    const std::string position = AsciiText(parsed.fields[1]);
    const int number = MoveNumberField(parsed.fields[2]);
    if (number < 0 || !ReadPosition(position))
        return action;
    action.type = MessageAction::Type::ApplyMove;
    action.position = position;
    action.moveNumber = number;
    return action;
}

} // namespace

ParsedMessage ParseMessage(std::u16string_view text) {
    ParsedMessage parsed;
    for (std::size_t i = 0; i < kTags.size(); ++i) {
        if (text.find(kTags[i]) != std::u16string_view::npos) {
            parsed.kind = static_cast<MessageKind>(i + 1);
            parsed.fields = Split(text, parsed.kind == MessageKind::Msg1 ? u',' : u':');
            break;
        }
    }
    return parsed;
}

MessageAction DecideMessage(std::u16string_view message) {
    MessageAction action;
    if (message.size() > kMessageLimit)
        return action;
    const ParsedMessage parsed = ParseMessage(message);
    // The text is everything after the first ":" that follows the tag; without such a ":"
    // the message carries no text (a ":" before the tag does not count).
    const std::size_t colon =
        parsed.kind == MessageKind::Unknown
            ? std::u16string_view::npos
            : message.find(u':', message.find(kTags[static_cast<std::size_t>(parsed.kind) - 1]));
    const auto textAfterTag = [&] { return std::u16string(message.substr(colon + 1)); };
    const bool hasText = colon != std::u16string_view::npos;
    switch (parsed.kind) {
    case MessageKind::Unknown:
    case MessageKind::Msg1:
        break;
    case MessageKind::Move:
        return Move(parsed);
    case MessageKind::Acknowledgement:
        action.type = MessageAction::Type::Acknowledgement;
        // Acknowledgements are never answered, lest two copies answer each other forever.
        action.acknowledge =
            parsed.fields.size() < 2 || parsed.fields[1].find(u"SEND_OK") == std::u16string::npos;
        break;
    case MessageKind::Chat:
    case MessageKind::Preset:
        if (hasText) {
            action.type = MessageAction::Type::ShowText;
            action.text = textAfterTag();
        }
        break;
    case MessageKind::Result:
        if (hasText) {
            action.type = MessageAction::Type::EndGame;
            action.text = textAfterTag();
        }
        break;
    case MessageKind::Promotion:
    case MessageKind::Castling:
        if (hasText) {
            action.type = MessageAction::Type::ShowNotice;
            action.text = textAfterTag();
        }
        break;
    }
    return action;
}

} // namespace quorin
