#include "announcement.h"

namespace quorin {
namespace {

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Takes `field`, then one space, from the front of `text`.
bool TakeField(std::string_view& text, std::string_view field) {
    if (!text.starts_with(field) || text.size() == field.size() || text[field.size()] != ' ')
        return false;
    text.remove_prefix(field.size() + 1);
    return true;
}

} // namespace

std::string AnnouncedName(std::string_view name) {
    std::string kept;
    for (const char c : name) {
        if (kept.size() > kAnnouncedNameLimit)
            break;
        if (!IsControl(static_cast<unsigned char>(c)))
            kept.push_back(c);
    }
    if (kept.size() > kAnnouncedNameLimit) {
        // The byte after the cut starts the next character unless it continues one; a
        // character is at most four bytes long.
        std::size_t cut = kAnnouncedNameLimit;
        const std::size_t earliest = cut - 3;
        while (cut > earliest && IsContinuation(static_cast<unsigned char>(kept[cut])))
            --cut;
        kept.resize(cut);
    }
    return kept;
}

std::string MakeAnnouncement(std::uint16_t port, std::string_view name) {
    std::string datagram(kAnnouncementWord);
    datagram += ' ';
    datagram += kAnnouncementVersion;
    datagram += ' ';
    datagram += std::to_string(port);
    datagram += ' ';
    datagram += AnnouncedName(name);
    return datagram;
}

std::optional<Announcement> ReadAnnouncement(std::string_view datagram) {
    if (datagram.size() > kAnnouncementLimit)
        return std::nullopt;
    std::string_view rest = datagram;
    if (!TakeField(rest, kAnnouncementWord) || !TakeField(rest, kAnnouncementVersion))
        return std::nullopt;
    const std::size_t space = rest.find(' ');
    const std::string_view digits = rest.substr(0, space);
    if (space == std::string_view::npos || digits.empty() || digits.size() > 5 ||
        digits.front() == '0')
        return std::nullopt;
    std::uint32_t port = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + std::uint32_t(c - '0');
    }
    if (port > 65535)
        return std::nullopt;
    return Announcement{static_cast<std::uint16_t>(port), AnnouncedName(rest.substr(space + 1))};
}

} // namespace quorin
