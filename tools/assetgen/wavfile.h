#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

// A complete RIFF/WAVE file holding mono 16-bit PCM samples: a "fmt " chunk (format 1)
// followed by the "data" chunk, all little-endian.
std::vector<std::uint8_t> wavFile(const std::vector<std::int16_t>& samples, int sampleRate);

} // namespace assetgen
