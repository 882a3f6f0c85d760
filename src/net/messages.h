#pragma once

#include <string>
#include <string_view>

namespace quorin {

// The messages two copies exchange. Each is a tag "VURORE_MSG1" to "VURORE_MSG8", then
// fields separated by ":". Texts are UTF-16, as they travel.

inline constexpr std::u16string_view kTagPrefix = u"VURORE_MSG";

// The answer to every received message that is not itself an acknowledgement.
inline constexpr std::u16string_view kAcknowledgement = u"VURORE_MSG3:SEND_OK";
inline constexpr std::u16string_view kPromotionNotice = u"VURORE_MSG7:プロモ－ション";
inline constexpr std::u16string_view kCastlingNotice = u"VURORE_MSG8:キャスリング";
inline constexpr std::u16string_view kResignation =
    u"VURORE_MSG5:投了です。あなたの勝ちです。有り難うございました。";
inline constexpr std::u16string_view kKingTaken = u"VURORE_MSG5:あなたの負けです。";

// The longest message either side builds or accepts.
inline constexpr std::size_t kMessageLimit = 1000;
// The longest chat text.
inline constexpr std::size_t kChatLimit = 500;

// A move: the sender's board as the receiver sees it, then the new move number after
// one blank: "VURORE_MSG2:<64 tokens>: 12".
std::u16string MoveMessage(std::string_view boardField, int moveNumber);
// A chat text, cut to its first 500 characters (never inside a surrogate pair).
std::u16string ChatMessage(std::u16string_view text);
// A greeting, comment, emoticon or strength class.
std::u16string PresetMessage(std::u16string_view text);
// The declaration of a strength class: "私の強さは" + class + "クラスです。".
std::u16string StrengthMessage(std::u16string_view strengthClass);

} // namespace quorin
