#include "net/messageaction.h"
#include "net/messageframer.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <gtest/gtest.h>

#include <random>

using namespace quorin;

namespace {

using Type = MessageAction::Type;

std::string Bytes(std::u16string_view text) {
    return EncodeMessage(text);
}

const std::string kStartField = WritePositionForPeer(*ReadPosition(InitialPosition));

std::u16string U16(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

} // namespace

TEST(WireCodec, UnitsTravelLowByteFirst) {
    EXPECT_EQ(Bytes(u"A"), std::string("A\0", 2));
    EXPECT_EQ(Bytes(u"あ"), std::string("\x42\x30", 2)); // U+3042
    EXPECT_EQ(DecodeUnits(std::string("\x42\x30"
                                      "A",
                                      3)),
              std::u16string(u"あA"));
    const std::u16string chat = ChatMessage(u"王手です：VURORE");
    EXPECT_EQ(DecodeUnits(Bytes(chat)), chat);
    EXPECT_EQ(Bytes(chat).size(), 2 * chat.size());
}

TEST(Messages, ExactTexts) {
    EXPECT_EQ(MoveMessage(kStartField, 12), u"VURORE_MSG2:" + U16(kStartField) + u": 12");
    EXPECT_EQ(kStartField.substr(0, 23), "07,08,09,0B,0A,09,08,07");
    EXPECT_EQ(PresetMessage(u"宜しくお願いします。"), u"VURORE_MSG6:宜しくお願いします。");
    EXPECT_EQ(StrengthMessage(u"中上級"), u"VURORE_MSG6:私の強さは中上級クラスです。");
    EXPECT_EQ(std::u16string(kAcknowledgement), u"VURORE_MSG3:SEND_OK");
    // Chat texts keep at most 500 characters.
    const std::u16string five00(500, u'字');
    EXPECT_EQ(ChatMessage(five00), u"VURORE_MSG4:" + five00);
    EXPECT_EQ(ChatMessage(five00 + u"x"), u"VURORE_MSG4:" + five00);
    EXPECT_EQ(ChatMessage(u""), u"VURORE_MSG4:");
    // A character outside the basic plane is not cut in half.
    const std::u16string surrogates = std::u16string(499, u'a') + u"\U0001F600";
    EXPECT_EQ(ChatMessage(surrogates), u"VURORE_MSG4:" + std::u16string(499, u'a'));
}

struct DecideCase {
    const char* what;
    std::u16string message;
    Type type;
    std::u16string text;
};

class Decide : public ::testing::TestWithParam<DecideCase> {};

TEST_P(Decide, Action) {
    const DecideCase& c = GetParam();
    const MessageAction action = DecideMessage(c.message);
    EXPECT_EQ(action.type, c.type) << c.what;
    EXPECT_EQ(action.text, c.text) << c.what;
    EXPECT_EQ(action.acknowledge(), c.type != Type::Acknowledgement) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Decide,
    ::testing::Values(
        DecideCase{"acknowledgement", u"VURORE_MSG3:SEND_OK", Type::Acknowledgement, u""},
        DecideCase{"any third kind acknowledges", u"VURORE_MSG3:x", Type::Acknowledgement, u""},
        DecideCase{"chat", u"VURORE_MSG4:よろしく", Type::ShowText, u"よろしく"},
        DecideCase{"chat shown whole", u"VURORE_MSG4:10:30 に再開", Type::ShowText,
                   u"10:30 に再開"},
        DecideCase{"chat holding SEND_OK is no acknowledgement", u"VURORE_MSG4:SEND_OK",
                   Type::ShowText, u"SEND_OK"},
        DecideCase{"empty chat", u"VURORE_MSG4:", Type::ShowText, u""},
        DecideCase{"preset", u"VURORE_MSG6:(^_^) わ－い", Type::ShowText, u"(^_^) わ－い"},
        DecideCase{"result", u"VURORE_MSG5:あなたの負けです。", Type::EndGame,
                   u"あなたの負けです。"},
        DecideCase{"promotion", u"VURORE_MSG7:プロモ－ション", Type::ShowNotice, u"プロモ－ション"},
        DecideCase{"castling", u"VURORE_MSG8:キャスリング", Type::ShowNotice, u"キャスリング"},
        DecideCase{"first kind carries nothing", u"VURORE_MSG1,a,b", Type::Ignore, u""},
        DecideCase{"no tag", u"hello", Type::Ignore, u""},
        DecideCase{"empty", u"", Type::Ignore, u""},
        DecideCase{"tag without field", u"VURORE_MSG4", Type::Ignore, u""},
        DecideCase{"a colon before the tag is not the tag's", u"a:VURORE_MSG5", Type::Ignore, u""},
        DecideCase{"lower case tag", u"vurore_msg4:x", Type::Ignore, u""},
        DecideCase{"too long", u"VURORE_MSG4:" + std::u16string(1000, u'x'), Type::Ignore, u""},
        DecideCase{"move without number", u"VURORE_MSG2:" + U16(kStartField), Type::Ignore, u""},
        DecideCase{"move with 63 tokens", u"VURORE_MSG2:" + U16(kStartField.substr(3)) + u": 1",
                   Type::Ignore, u""},
        DecideCase{"move with code 0D", u"VURORE_MSG2:0D" + U16(kStartField.substr(2)) + u": 1",
                   Type::Ignore, u""},
        DecideCase{"move number not a number", u"VURORE_MSG2:" + U16(kStartField) + u": x1",
                   Type::Ignore, u""},
        DecideCase{"negative move number", u"VURORE_MSG2:" + U16(kStartField) + u": -1",
                   Type::Ignore, u""},
        DecideCase{"move number too large", u"VURORE_MSG2:" + U16(kStartField) + u": 99999999999",
                   Type::Ignore, u""},
        DecideCase{"board field not ASCII", u"VURORE_MSG2:０" + U16(kStartField.substr(1)) + u": 1",
                   Type::Ignore, u""}));

TEST(Decide, AMoveCarriesItsPositionAndNumber) {
    const MessageAction action = DecideMessage(MoveMessage(kStartField, 12));
    ASSERT_EQ(action.type, Type::ApplyMove);
    EXPECT_EQ(action.position, kStartField);
    EXPECT_EQ(action.moveNumber, 12);
    EXPECT_EQ(DecideMessage(u"VURORE_MSG2:" + U16(kStartField) + u":7").moveNumber, 7);
    EXPECT_TRUE(action.acknowledge());
}

TEST(Framer, OneMessageAReceive) {
    MessageFramer framer;
    const auto got = framer.Receive(Bytes(u"VURORE_MSG6:宜しくお願いします。"));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], u"VURORE_MSG6:宜しくお願いします。");
    EXPECT_FALSE(framer.HasPending());
}

TEST(Framer, MessagesSplitAnywhereAreJoined) {
    const std::u16string move = MoveMessage(kStartField, 3);
    const std::string bytes = Bytes(move);
    // Every cut that leaves the first part plainly unfinished is joined at once.
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        MessageFramer framer;
        auto first = framer.Receive(bytes.substr(0, cut));
        auto second = framer.Receive(bytes.substr(cut));
        first.insert(first.end(), second.begin(), second.end());
        ASSERT_EQ(first.size(), 1u) << cut;
        EXPECT_EQ(first[0], move) << cut;
    }
}

TEST(Framer, SeveralMessagesInOneReceiveAreSplitAtTheirTags) {
    MessageFramer framer;
    const std::u16string sent[] = {std::u16string(kAcknowledgement),
                                   u"VURORE_MSG6:宜しくお願いします。",
                                   std::u16string(kPromotionNotice), MoveMessage(kStartField, 9),
                                   std::u16string(kCastlingNotice)};
    std::string bytes;
    for (const auto& m : sent)
        bytes += Bytes(m);
    // Cut at an odd byte inside the move.
    const std::size_t cut =
        Bytes(sent[0]).size() + Bytes(sent[1]).size() + Bytes(sent[2]).size() + 101;
    auto got = framer.Receive(bytes.substr(0, cut));
    ASSERT_EQ(got.size(), 3u);
    EXPECT_TRUE(framer.HasPending());
    auto rest = framer.Receive(bytes.substr(cut));
    got.insert(got.end(), rest.begin(), rest.end());
    ASSERT_EQ(got.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(got[i], sent[i]) << i;
}

TEST(Framer, AStrayByteDoesNotPutLaterMessagesOutOfStep) {
    MessageFramer framer;
    EXPECT_EQ(framer.Receive(std::string("x").append(Bytes(u"VURORE_MSG6:宜しく"))),
              std::vector<std::u16string>{u"VURORE_MSG6:宜しく"});
    EXPECT_EQ(framer.Receive(Bytes(u"VURORE_MSG4:a").append("y").append(Bytes(u"VURORE_MSG4:b"))),
              (std::vector<std::u16string>{u"VURORE_MSG4:a", u"VURORE_MSG4:b"}));
}

TEST(Framer, UnfinishedMessagesWaitForMoreOrForTheFlush) {
    MessageFramer framer;
    EXPECT_TRUE(framer.Receive(Bytes(u"VURORE_MSG3:SEND")).empty());
    EXPECT_EQ(framer.Receive(Bytes(u"_OK")), std::vector<std::u16string>{u"VURORE_MSG3:SEND_OK"});
    // Text before the first tag is a message of its own; a tag cut short waits.
    EXPECT_EQ(framer.Receive(Bytes(u"garbageVURORE_MSG4:hiVURORE_M")),
              std::vector<std::u16string>{u"garbage"});
    EXPECT_EQ(framer.Receive(Bytes(u"SG2:0C")), std::vector<std::u16string>{u"VURORE_MSG4:hi"});
    EXPECT_EQ(framer.Flush(), std::vector<std::u16string>{u"VURORE_MSG2:0C"});
    EXPECT_FALSE(framer.HasPending());
    // An odd byte waits; flushed, it forms a unit with a zero high byte.
    EXPECT_TRUE(framer.Receive(std::string("A", 1)).empty());
    EXPECT_EQ(framer.Flush(), std::vector<std::u16string>{u"A"});
    EXPECT_TRUE(framer.Flush().empty());
}
