#include "net/messageaction.h"
#include "net/messageframer.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <gtest/gtest.h>

#include <tuple>

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

// A stray byte in front puts every tag at an odd byte; another before the move puts it back.
TEST(Framer, SeveralMessagesInOneReceiveAreSplitAtTheirTagsPastStrayBytes) {
    const Messages sent = {std::u16string(kAcknowledgement), u"VURORE_MSG6:宜しく",
                           MoveMessage(kStartField, 9), std::u16string(kCastlingNotice)};
    const std::string bytes = "x" + EncodeMessage(sent[0]) + EncodeMessage(sent[1]) + "y" +
                              EncodeMessage(sent[2]) + EncodeMessage(sent[3]);
    const std::size_t cut = bytes.find(EncodeMessage(sent[2])) + 101; // in the move
    MessageFramer framer;
    EXPECT_EQ(framer.Receive(bytes.substr(0, cut)), Messages(sent.begin(), sent.begin() + 2));
    EXPECT_EQ(framer.Receive(bytes.substr(cut)), Messages(sent.begin() + 2, sent.end()));
}

TEST(Framer, UnfinishedMessagesWaitForMoreOrForTheFlushUpTo64KiB) {
    MessageFramer framer;
    EXPECT_TRUE(framer.Receive(EncodeMessage(u"VURORE_MSG3:SEND")).empty());
    EXPECT_EQ(framer.Receive(EncodeMessage(u"_OK")), Messages{u"VURORE_MSG3:SEND_OK"});
    // Text before the first tag is a message of its own.
    EXPECT_EQ(framer.Receive(EncodeMessage(u"garbageVURORE_MSG2:0C")), Messages{u"garbage"});
    EXPECT_EQ(framer.Flush(), Messages{u"VURORE_MSG2:0C"});
    // A message that never ends keeps 64 KiB waiting; the rest is dropped.
    EXPECT_TRUE(
        framer.Receive(EncodeMessage(u"VURORE_MSG2" + std::u16string(40000, u'0'))).empty());
    EXPECT_EQ(framer.PendingBytes(), 64u * 1024);
    EXPECT_EQ(framer.Flush(), Messages{u"VURORE_MSG2" + std::u16string(32768 - 11, u'0')});
}
