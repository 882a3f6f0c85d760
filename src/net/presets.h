#pragma once

#include <array>
#include <string_view>

namespace quorin {

// The ready-made texts a player can send from the message menus, in menu order. Most
// captions are the text sent; the last comment's caption has a long-vowel mark where the
// text sent has a full-width hyphen-minus, as the two have always differed.

inline constexpr std::array<std::string_view, 3> kGreetings = {
    "宜しくお願いします。", "ありがとうございました。", "それでは、始めます。"};

inline constexpr std::array<std::string_view, 5> kCommentCaptions = {
    "長考中。しばらく考えさせてください。", "ちょっと（10分くらい？）中断します。",
    "それはいい手ですね。", "強いですね。", "いやー参りました。"};

inline constexpr std::array<std::string_view, 5> kComments = {
    "長考中。しばらく考えさせてください。", "ちょっと（10分くらい？）中断します。",
    "それはいい手ですね。", "強いですね。", "いや－参りました。"};

// After each face one ideographic space, except after the first, which has a blank.
inline constexpr std::array<std::string_view, 7> kEmoticons = {
    "(^_^) わ－い",     "m(_ _)m　申し訳ござらぬ。", "(T_T)　そんな－",      "(>_<)　アイタ！",
    "(^_^)v　イエ－イ", "<(_ _)>　参り申した。",     "(＾_^；　あの－・・・"};

inline constexpr std::array<std::string_view, 6> kStrengthClasses = {"入門",   "初級", "中級",
                                                                     "中上級", "上級", "プロ級"};

} // namespace quorin
