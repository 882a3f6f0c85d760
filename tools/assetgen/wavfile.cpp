#include "wavfile.h"

#include <string_view>

namespace assetgen {

namespace {

class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    void tag(std::string_view fourCharacters) {
        for (char character : fourCharacters)
            bytes_.push_back(static_cast<std::uint8_t>(character));
    }
    void u16(std::uint16_t value) {
        bytes_.push_back(static_cast<std::uint8_t>(value & 0xff));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value & 0xffff));
        u16(static_cast<std::uint16_t>(value >> 16));
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

} // namespace

std::vector<std::uint8_t> wavFile(const std::vector<std::int16_t>& samples, int sampleRate) {
    constexpr std::uint16_t channels = 1;
    constexpr std::uint16_t bitsPerSample = 16;
    constexpr std::uint16_t blockAlign = channels * bitsPerSample / 8;
    constexpr std::uint32_t fmtSize = 16;
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * blockAlign);

    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + dataSize);
    LittleEndianWriter out(bytes);
    out.tag("RIFF");
    out.u32(4 + (8 + fmtSize) + (8 + dataSize));
    out.tag("WAVE");

    out.tag("fmt ");
    out.u32(fmtSize);
    out.u16(1); // PCM
    out.u16(channels);
    out.u32(static_cast<std::uint32_t>(sampleRate));
    out.u32(static_cast<std::uint32_t>(sampleRate) * blockAlign);
    out.u16(blockAlign);
    out.u16(bitsPerSample);

    out.tag("data");
    out.u32(dataSize);
    for (std::int16_t sample : samples)
        out.u16(static_cast<std::uint16_t>(sample));
    return bytes;
}

} // namespace assetgen
