#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

// Sample rate of the move sound.
constexpr int kClickSampleRate = 22050;

// The move sound: a piece set down on a wooden board. About 0.12 s of mono 16-bit
// samples at kClickSampleRate, peaking near -3 dBFS and fading to silence. The same
// samples every time: the noise that strikes the wood comes from a fixed seed.
std::vector<std::int16_t> synthesizeClick();

} // namespace assetgen
