// libFuzzer target over the server announcement: any datagram heard on the game's UDP port
// goes through ReadAnnouncement, as the server finder does. The input is one datagram; it is
// also taken as a computer's name to announce. `ctest -R fuzz_announcement` fuzzes it.

#include "fuzzcheck.h"
#include "net/announcement.h"

#include <cstdint>
#include <string>

namespace {

using namespace quorin;

// `name` is `from` as a name is announced: its control bytes left out, then cut to the limit
// and back to a character's first byte, going back at most three bytes.
void CheckName(const std::string& name, std::string_view from) {
    std::string kept(from);
    std::erase_if(kept, [](unsigned char c) { return c < 0x20 || c == 0x7F; });
    const auto continues = [&](std::size_t at) { return (kept[at] & 0xC0) == 0x80; };
    const std::size_t limit = kAnnouncedNameLimit;
    FUZZ_CHECK(kept.starts_with(name) && name.size() <= limit);
    if (name.size() == kept.size())
        return;
    FUZZ_CHECK(name.size() + 3 >= limit && (!continues(name.size()) || name.size() + 3 == limit));
    FUZZ_CHECK(name.size() == limit || continues(limit));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Heard: an announcement within the bounds, written again exactly as it was read.
    if (const auto heard = ReadAnnouncement(input)) {
        constexpr std::string_view head = "QUORIN-SERVER 1 ";
        const std::size_t space = input.find(' ', head.size());
        FUZZ_CHECK(input.size() <= kAnnouncementLimit && input.starts_with(head) &&
                   space != std::string_view::npos);
        FUZZ_CHECK(heard->port != 0 &&
                   std::to_string(heard->port) == input.substr(head.size(), space - head.size()));
        CheckName(heard->name, input.substr(space + 1));
        FUZZ_CHECK(ReadAnnouncement(MakeAnnouncement(heard->port, heard->name)) == heard);
    }

    // Announced: any name makes one within the bounds that reads back as the name cleaned.
    const std::string name = AnnouncedName(input);
    CheckName(name, input);
    const std::string made = MakeAnnouncement(65535, input);
    const auto read = ReadAnnouncement(made);
    FUZZ_CHECK(made.size() <= kAnnouncementLimit && read && read->port == 65535 &&
               read->name == name);
    return 0;
}
