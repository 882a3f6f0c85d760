#include "net/announcement.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace quorin;

namespace {

struct Reading {
    std::string datagram;
    std::optional<Announcement> expected;
};

} // namespace

TEST(Announcement, ReadsOnlyItsOwnFormAndCleansTheName) {
    const std::string word = "QUORIN-SERVER 1 ";
    const std::string longName = std::string(63, 'a') + "\xE3\x81\x82"; // 66 bytes: a, あ
    const Reading table[] = {
        {word + "8000 host-1", Announcement{8000, "host-1"}},
        {word + "1 ", Announcement{1, ""}},
        {word + "65535 two words", Announcement{65535, "two words"}},
        {word + "8000 \x01na\tme\x7F\n", Announcement{8000, "name"}},
        {word + "8000 <b>&amp;</b>", Announcement{8000, "<b>&amp;</b>"}},
        // Cut to 64 bytes, and back to the start of the character the cut fell in.
        {word + "8000 " + longName, Announcement{8000, std::string(63, 'a')}},
        {word + "8000 " + std::string(179, 'n'), Announcement{8000, std::string(64, 'n')}},
        {word + "8000 " + std::string(180, 'n'), std::nullopt}, // 201 bytes
        {word + "8000", std::nullopt},
        {word + "0 host", std::nullopt},
        {word + "08000 host", std::nullopt},
        {word + "65536 host", std::nullopt},
        {word + "+800 host", std::nullopt},
        {word + "8x00 host", std::nullopt},
        {word + " 8000 host", std::nullopt},
        {"QUORIN-SERVER 2 8000 host", std::nullopt},
        {"QUORIN-SERVER 10 8000 host", std::nullopt},
        {"quorin-server 1 8000 host", std::nullopt},
        {"QUORIN-SERVER  1 8000 host", std::nullopt},
        {"QUORIN-SERVER", std::nullopt},
        {"", std::nullopt},
    };
    for (const Reading& row : table)
        EXPECT_EQ(ReadAnnouncement(row.datagram), row.expected) << row.datagram;
    // What any name makes is read back by the fuzz target; this is the form itself.
    EXPECT_EQ(MakeAnnouncement(8000, "\x1Bpc"), "QUORIN-SERVER 1 8000 pc");
}
