#include "net/messageaction.h"
#include "net/messageframer.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(DecodeUnits(std::string("\x42\x30\x41", 3)), u"あA");
    EXPECT_EQ(PresetMessage(u"宜しくお願いします。"), u"VURORE_MSG6:宜しくお願いします。");
    EXPECT_EQ(StrengthMessage(u"中上級"), u"VURORE_MSG6:私の強さは中上級クラスです。");
    // Chat texts keep at most 500 characters, never half of one outside the basic plane.
    const std::u16string five00(500, u'字');
    EXPECT_EQ(ChatMessage(five00), u"VURORE_MSG4:" + five00);
    EXPECT_EQ(ChatMessage(five00 + u"x"), u"VURORE_MSG4:" + five00);
    const std::u16string surrogates = std::u16string(499, u'a') + u"\U0001F600";
    EXPECT_EQ(ChatMessage(surrogates), u"VURORE_MSG4:" + std::u16string(499, u'a'));
}

struct DecideCase {
    std::u16string message;
    Type type;
    std::u16string text = {};
    bool answered = true; // with an acknowledgement
};

class Decide : public ::testing::TestWithParam<DecideCase> {};

TEST_P(Decide, Action) {
    const DecideCase& c = GetParam();
    SCOPED_TRACE(::testing::PrintToString(c.message));
    const MessageAction action = DecideMessage(c.message);
    EXPECT_EQ(action.type, c.type);
    EXPECT_EQ(action.text, c.text);
    EXPECT_EQ(action.acknowledge, c.answered);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Decide,
    ::testing::Values(
        // Every "VURORE_MSG3" ends the wait; one without "SEND_OK" in field 1 is answered.
        DecideCase{u"VURORE_MSG3:SEND_OK", Type::Acknowledgement, {}, false},
        DecideCase{u"VURORE_MSG3:re SEND_OK:x", Type::Acknowledgement, {}, false},
        DecideCase{u"VURORE_MSG3:x:SEND_OK", Type::Acknowledgement},
        DecideCase{u"VURORE_MSG3", Type::Acknowledgement},
        DecideCase{u"VURORE_MSG4:10:30 に再開", Type::ShowText, u"10:30 に再開"},
        DecideCase{u"VURORE_MSG4:SEND_OK", Type::ShowText, u"SEND_OK"},
        DecideCase{u"VURORE_MSG4:", Type::ShowText},
        DecideCase{u"VURORE_MSG6:(^_^) わ－い", Type::ShowText, u"(^_^) わ－い"},
        DecideCase{u"VURORE_MSG5:あなたの負けです。", Type::EndGame, u"あなたの負けです。"},
        DecideCase{u"VURORE_MSG7:プロモ－ション", Type::ShowNotice, u"プロモ－ション"},
        DecideCase{u"VURORE_MSG8:キャスリング", Type::ShowNotice, u"キャスリング"},
        DecideCase{u"VURORE_MSG1,a,b", Type::Ignore}, DecideCase{u"hello", Type::Ignore},
        DecideCase{u"", Type::Ignore}, DecideCase{u"VURORE_MSG4", Type::Ignore},
        DecideCase{u"a:VURORE_MSG5", Type::Ignore}, DecideCase{u"vurore_msg4:x", Type::Ignore},
        DecideCase{u"VURORE_MSG4:" + std::u16string(1000, u'x'), Type::Ignore},
        // Moves with a bad board field or number.
        DecideCase{kMove, Type::Ignore},
        DecideCase{u"VURORE_MSG2:" + kMove.substr(15) + u": 1", Type::Ignore},
        DecideCase{u"VURORE_MSG2:0D" + kMove.substr(14) + u": 1", Type::Ignore},
        DecideCase{u"VURORE_MSG2:０" + kMove.substr(13) + u": 1", Type::Ignore},
        DecideCase{kMove + u": x1", Type::Ignore}, DecideCase{kMove + u": -1", Type::Ignore},
        DecideCase{kMove + u": 99999999999", Type::Ignore}));

TEST(Decide, AMoveCarriesItsPositionAndNumber) {
    const MessageAction action = DecideMessage(MoveMessage(kStartField, 12));
    ASSERT_EQ(action.type, Type::ApplyMove);
    EXPECT_EQ(action.position, kStartField);
    EXPECT_EQ(action.moveNumber, 12);
    EXPECT_EQ(DecideMessage(kMove + u":7").moveNumber, 7);
}

TEST(Framer, MessagesSplitAnywhereAreJoined) {
    const std::u16string move = MoveMessage(kStartField, 3);
    const std::string bytes = EncodeMessage(move);
    // Every part of a move is plainly unfinished, so the rest completes it at once.
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        MessageFramer framer;
        EXPECT_TRUE(framer.Receive(bytes.substr(0, cut)).empty()) << cut;
        EXPECT_EQ(framer.Receive(bytes.substr(cut)), Messages{move}) << cut;
    }
}

TEST(Framer, SeveralMessagesInOneReceiveAreSplitAtTheirTags) {
    MessageFramer framer;
    const Messages sent = {std::u16string(kAcknowledgement), u"VURORE_MSG6:宜しくお願いします。",
                           std::u16string(kPromotionNotice), MoveMessage(kStartField, 9),
                           std::u16string(kCastlingNotice)};
    std::string bytes;
    for (const auto& m : sent)
        bytes += EncodeMessage(m);
    // Cut at an odd byte inside the move.
    const std::size_t cut = 2 * (sent[0].size() + sent[1].size() + sent[2].size()) + 101;
    EXPECT_EQ(framer.Receive(bytes.substr(0, cut)), Messages(sent.begin(), sent.begin() + 3));
    EXPECT_EQ(framer.Receive(bytes.substr(cut)), Messages(sent.begin() + 3, sent.end()));
}

TEST(Framer, AStrayByteDoesNotPutLaterMessagesOutOfStep) {
    MessageFramer framer;
    EXPECT_EQ(framer.Receive(std::string("x").append(EncodeMessage(u"VURORE_MSG6:宜しく"))),
              Messages{u"VURORE_MSG6:宜しく"});
    EXPECT_EQ(
        framer.Receive(EncodeMessage(u"VURORE_MSG4:a") + "y" + EncodeMessage(u"VURORE_MSG4:b")),
        (Messages{u"VURORE_MSG4:a", u"VURORE_MSG4:b"}));
}

TEST(Framer, UnfinishedMessagesWaitForMoreOrForTheFlush) {
    MessageFramer framer;
    EXPECT_TRUE(framer.Receive(EncodeMessage(u"VURORE_MSG3:SEND")).empty());
    EXPECT_EQ(framer.Receive(EncodeMessage(u"_OK")), Messages{u"VURORE_MSG3:SEND_OK"});
    // Text before the first tag is a message of its own; a tag cut short waits.
    EXPECT_EQ(framer.Receive(EncodeMessage(u"garbageVURORE_MSG4:hiVURORE_M")),
              Messages{u"garbage"});
    EXPECT_EQ(framer.Receive(EncodeMessage(u"SG2:0C")), Messages{u"VURORE_MSG4:hi"});
    EXPECT_EQ(framer.Flush(), Messages{u"VURORE_MSG2:0C"});
    EXPECT_FALSE(framer.HasPending());
    // An odd byte waits; flushed, it forms a unit with a zero high byte.
    EXPECT_TRUE(framer.Receive("A").empty());
    EXPECT_EQ(framer.Flush(), Messages{u"A"});
    EXPECT_TRUE(framer.Flush().empty());
}
