// libFuzzer target over the server announcement: any datagram heard on the game's UDP port
// goes through ReadAnnouncement, as the server finder does. The input is one datagram;
// it is also taken as a computer's name to announce.
//
// Built and run like receive_fuzzer (see there), with its own seeds:
//   cmake --build /tmp/quorin-fuzz -j2 --target announcement_fuzzer
//   mkdir -p /tmp/announcement-corpus && /tmp/quorin-fuzz/tests/fuzz/announcement_fuzzer \
//         -max_total_time=600 /tmp/announcement-corpus tests/fuzz/announcement_corpus
// `ctest -R fuzz_announcement` fuzzes for 20 seconds.

#include "net/announcement.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char* what, int line) {
    std::fprintf(stderr, "announcement_fuzzer.cpp:%d: check failed: %s\n", line, what);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            Fail(#condition, __LINE__);                                                            \
    } while (false)

// `name` is `from` as a name is announced: its control bytes left out, then cut to the limit
// and back to a character's first byte, going back at most three bytes.
void CheckName(const std::string& name, std::string_view from) {
    std::string kept;
    for (const char c : from) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F)
            kept.push_back(c);
    }
    FUZZ_CHECK(kept.starts_with(name));
    if (name.size() == kept.size()) {
        FUZZ_CHECK(name.size() <= quorin::kAnnouncedNameLimit);
        return;
    }
    const std::size_t limit = quorin::kAnnouncedNameLimit;
    FUZZ_CHECK(name.size() <= limit && name.size() + 3 >= limit);
    const bool nextContinues = (static_cast<unsigned char>(kept[name.size()]) & 0xC0) == 0x80;
    FUZZ_CHECK(!nextContinues || name.size() + 3 == limit);
    if (name.size() < limit)
        FUZZ_CHECK((static_cast<unsigned char>(kept[limit]) & 0xC0) == 0x80);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Heard: what is read is an announcement within the bounds, and it is written again
    // exactly as it was read.
    if (const auto heard = quorin::ReadAnnouncement(input)) {
        FUZZ_CHECK(input.size() <= quorin::kAnnouncementLimit);
        constexpr std::string_view head = "QUORIN-SERVER 1 ";
        FUZZ_CHECK(input.starts_with(head));
        const std::size_t space = input.find(' ', head.size());
        FUZZ_CHECK(space != std::string_view::npos);
        FUZZ_CHECK(heard->port != 0 &&
                   std::to_string(heard->port) == input.substr(head.size(), space - head.size()));
        CheckName(heard->name, input.substr(space + 1));
        const std::string again = quorin::MakeAnnouncement(heard->port, heard->name);
        FUZZ_CHECK(quorin::ReadAnnouncement(again) == heard);
    }

    // Announced: any name makes an announcement within the bounds that reads back as the
    // name cleaned.
    const std::string name = quorin::AnnouncedName(input);
    CheckName(name, input);
    const std::string made = quorin::MakeAnnouncement(65535, input);
    FUZZ_CHECK(made.size() <= quorin::kAnnouncementLimit);
    const auto read = quorin::ReadAnnouncement(made);
    FUZZ_CHECK(read && read->port == 65535 && read->name == name);
    return 0;
}
