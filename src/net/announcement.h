#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorin {

// A copy that waits as server for its opponent says so on the local network, about once a
// second, with one UDP datagram to the game's port: to the broadcast address of each
// network it is on, and to the loopback network's (127.255.255.255) for the copies on the
// same computer. A copy that hears it offers the sender's address in its address box: the
// address the datagram came from, never one written inside it. The game's TCP connection
// is not touched by any of this.
//
// The datagram, version 1, is text without a line end, at most kAnnouncementLimit bytes:
//
//     QUORIN-SERVER 1 <port> <name>
//
// Four fields, each separated from the next by one space:
//   - the word "QUORIN-SERVER";
//   - the version of this form, "1";
//   - the TCP port the server listens on: decimal, 1 to 65535, no sign, no leading zero;
//   - the computer's name in UTF-8: all the rest of the datagram, possibly empty.
// Anything else, another version included, is not an announcement.
//
// The name is only ever shown. It is read as AnnouncedName gives it, so whatever a sender
// writes there, it comes out short and without control characters.

inline constexpr std::string_view kAnnouncementWord = "QUORIN-SERVER";
inline constexpr std::string_view kAnnouncementVersion = "1";
// The longest datagram that may be an announcement.
inline constexpr std::size_t kAnnouncementLimit = 200;
// The longest name, in bytes, an announcement carries or is read with.
inline constexpr std::size_t kAnnouncedNameLimit = 64;

struct Announcement {
    std::uint16_t port = 0;
    std::string name;
    bool operator==(const Announcement&) const = default;
};

// `name` as an announcement carries it: bytes below 0x20 and 0x7F left out, then cut to
// kAnnouncedNameLimit bytes, and further back to the start of a UTF-8 character when the
// cut would fall inside one (at most three bytes further).
std::string AnnouncedName(std::string_view name);

// The announcement of a server on `port` (not 0) by the computer `name`.
std::string MakeAnnouncement(std::uint16_t port, std::string_view name);

// The announcement `datagram` holds, its name as AnnouncedName gives it; nothing when it
// is not one.
std::optional<Announcement> ReadAnnouncement(std::string_view datagram);

} // namespace quorin
