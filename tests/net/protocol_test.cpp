#include "net/messageaction.h"
#include "net/messageframer.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace std::string_literals;

using namespace quorin;

namespace {

using Type = MessageAction::Type;
using Messages = std::vector<std::u16string>;

const std::string kStartField = WritePositionForPeer(*ReadPosition(InitialPosition));
const std::u16string kMove =
    u"VURORE_MSG2:" + std::u16string(kStartField.begin(), kStartField.end());

} // namespace

TEST(Messages, ExactTextsAndBytes) {
    // Every character is its UTF-16 unit, low byte first, and nothing else travels.
    std::string moveBytes;
    for (char ch : "VURORE_MSG2:" + kStartField + ": 12")
        moveBytes.append({ch, '\0'});
    EXPECT_EQ(EncodeMessage(MoveMessage(kStartField, 12)), moveBytes);
    EXPECT_EQ(EncodeMessage(u"あ"), std::string("\x42\x30", 2)); // U+3042
    EXPECT_EQ(StrengthMessage(u"中上級"), u"VURORE_MSG6:私の強さは中上級クラスです。");
    // Chat texts keep at most 500 characters, never half of one outside the basic plane.
    const std::u16string five00(500, u'字');
    EXPECT_EQ(ChatMessage(five00 + u"x"), u"VURORE_MSG4:" + five00);
    const std::u16string surrogates = std::u16string(499, u'a') + u"\U0001F600";
    EXPECT_EQ(ChatMessage(surrogates), u"VURORE_MSG4:" + std::u16string(499, u'a'));
}

// Every "VURORE_MSG3" ends the wait; one without "SEND_OK" in field 1 is answered. A text is
// all that follows the tag's colon. What is no message, and a move with a bad board field or
// number, is ignored and answered.
TEST(Decide, OnlyTheThirdKindAcknowledgesAndTextsAreShownWhole) {
    const std::tuple<std::u16string, Type, std::u16string, bool> table[] = {
        {u"VURORE_MSG3:SEND_OK", Type::Acknowledgement, u"", false},
        {u"VURORE_MSG3:re SEND_OK:x", Type::Acknowledgement, u"", false},
        {u"VURORE_MSG3:x:SEND_OK", Type::Acknowledgement, u"", true},
        {u"VURORE_MSG4:10:30 に再開", Type::ShowText, u"10:30 に再開", true},
        {u"VURORE_MSG4:SEND_OK", Type::ShowText, u"SEND_OK", true},
        {u"VURORE_MSG6:(^_^) わ－い", Type::ShowText, u"(^_^) わ－い", true},
        {u"VURORE_MSG5:あなたの負けです。", Type::EndGame, u"あなたの負けです。", true},
        {u"VURORE_MSG7:プロモ－ション", Type::ShowNotice, u"プロモ－ション", true},
        {u"VURORE_MSG8:キャスリング", Type::ShowNotice, u"キャスリング", true},
        {MoveMessage(kStartField, 12), Type::ApplyMove, u"", true},
        {u"VURORE_MSG1,a,b", Type::Ignore, u"", true},
        {u"VURORE_MSG4", Type::Ignore, u"", true},
        {u"a:VURORE_MSG5", Type::Ignore, u"", true},
        {u"VURORE_MSG4:" + std::u16string(1000, u'x'), Type::Ignore, u"", true},
        {kMove, Type::Ignore, u"", true},
        {u"VURORE_MSG2:" + kMove.substr(15) + u": 1", Type::Ignore, u"", true},
        {u"VURORE_MSG2:0D" + kMove.substr(14) + u": 1", Type::Ignore, u"", true},
        {kMove + u": x1", Type::Ignore, u"", true}};
    for (const auto& [message, type, text, answered] : table) {
        const MessageAction a = DecideMessage(message);
        EXPECT_EQ(std::tuple(a.type, a.text, a.acknowledge), std::tuple(type, text, answered))
            << ::testing::PrintToString(message);
    }
    const MessageAction move = DecideMessage(kMove + u":7");
    EXPECT_EQ(std::pair(move.position, move.moveNumber), std::pair(kStartField, 7));
}

// The peer's bytes `parts`, each after a pause of so many ms, then silence: a framer flushes
// what waits when the pause is at least as long as its wait. Answers every message handed on.
Messages Framed(const std::vector<std::pair<std::string, int>>& parts, int nextMove) {
    MessageFramer framer;
    Messages out;
    for (const auto& [bytes, pause] : parts) {
        if (framer.WaitMs() >= 0 && framer.WaitMs() <= pause)
            if (auto message = framer.Flush())
                out.push_back(*message);
        for (const std::u16string& message : framer.Receive(bytes, nextMove))
            out.push_back(message);
    }
    if (auto message = framer.Flush())
        out.push_back(*message);
    return out;
}

// A move cut anywhere, the peer pausing up to 1.5 s, comes out once and whole; so do the
// acknowledgement and a notice. A chat cut by a pause comes out once as far as it came.
TEST(Framer, AMessageCutAnywhereComesOutOnceAndWholeWhatEverThePause) {
    const std::u16string chat = u"VURORE_MSG4:また明日";
    for (const int number : {1, 12, 100})
        for (const std::u16string& message :
             {MoveMessage(kStartField, number), std::u16string(kAcknowledgement),
              std::u16string(kCastlingNotice), chat}) {
            const std::string bytes = EncodeMessage(message);
            for (std::size_t cut = 1; cut < bytes.size(); ++cut)
                for (const int pause : {0, 300, 1500}) {
                    const Messages out =
                        Framed({{bytes.substr(0, cut), 0}, {bytes.substr(cut), pause}}, number);
                    const bool cutChat = message == chat && pause > 0 && cut >= 22;
                    ASSERT_EQ(out,
                              Messages{cutChat ? DecodeUnits(bytes.substr(0, cut & ~1u)) : message})
                        << number << " " << cut << " " << pause;
                }
        }
}

TEST(Framer, WaitsEndAndTailsAreDropped) {
    const std::string move = EncodeMessage(MoveMessage(kStartField, 12));
    const std::string ack = EncodeMessage(kAcknowledgement);
    const std::string chat = EncodeMessage(u"VURORE_MSG4:V");
    const std::string greeting = EncodeMessage(u"VURORE_MSG6:宜しくお願いします。");
    // The first digit of the 12 expected waits 2 s at most; then the late digit is a tail.
    EXPECT_EQ(Framed({{move.substr(0, move.size() - 2), 0}, {"2\0"s + ack, 2000}}, 12),
              (Messages{MoveMessage(kStartField, 1), std::u16string(kAcknowledgement)}));
    // A number whose digits do not begin the one expected is taken at once.
    EXPECT_EQ(Framed({{move.substr(0, move.size() - 2), 0}}, 2),
              Messages{MoveMessage(kStartField, 1)});
    // A chat ending in "V" is handed on whole; the "V" still starts a tag when one follows.
    EXPECT_EQ(
        Framed({{chat, 0}, {ack.substr(2) + greeting.substr(0, 9), 300}, {greeting.substr(9), 0}},
               1),
        (Messages{u"VURORE_MSG4:V", std::u16string(kAcknowledgement), DecodeUnits(greeting)}));
    // What follows a text the pause ended, up to the next tag, is no message of its own.
    EXPECT_EQ(Framed({{greeting.substr(0, 30), 0}, {greeting.substr(30) + ack, 300}}, 1),
              (Messages{DecodeUnits(greeting.substr(0, 30)), std::u16string(kAcknowledgement)}));
    // Bytes before any tag are one message; one longer than any message can be is handed on
    // at once and its rest dropped up to the next tag.
    EXPECT_EQ(Framed({{"garbage!" + move.substr(0, 30), 0}}, 1), Messages{DecodeUnits("garbage!")});
    const std::string endless = EncodeMessage(u"VURORE_MSG2:" + std::u16string(1500, u'0'));
    EXPECT_EQ(Framed({{endless, 0}, {endless.substr(12) + ack, 300}}, 1),
              (Messages{DecodeUnits(endless), std::u16string(kAcknowledgement)}));
}
