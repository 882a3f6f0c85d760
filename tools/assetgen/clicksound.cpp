#include "clicksound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace assetgen {

namespace {

constexpr double kDuration = 0.12;       // seconds
constexpr double kStrikeLength = 0.0012; // seconds of noise that excite the wood
constexpr double kFadeLength = 0.03;     // seconds of raised-cosine fade at the end
constexpr double kPeakLevel = 0.708;     // -3 dBFS
constexpr std::uint32_t kNoiseSeed = 20250611;

// A resonance of the board and the piece: its pitch, how fast it dies away and how
// loud it rings relative to the others.
struct Resonance {
    double frequency; // Hz
    double decay;     // seconds to fall to 1/e
    double level;
};

// Low, short-lived modes give the dull knock of wood; the few upper ones the click.
constexpr std::array<Resonance, 6> kResonances{{
    {210.0, 0.018, 0.35},
    {760.0, 0.016, 1.00},
    {1230.0, 0.012, 0.75},
    {1690.0, 0.009, 0.55},
    {2380.0, 0.006, 0.40},
    {3150.0, 0.004, 0.25},
}};

// A damped two-pole resonator; its input is scaled so that a unit impulse rings with
// amplitude close to `level` whatever its pitch.
class Resonator {
public:
    Resonator(const Resonance& resonance, double sampleRate) {
        const double radius = std::exp(-1.0 / (resonance.decay * sampleRate));
        const double angle = 2.0 * std::numbers::pi * resonance.frequency / sampleRate;
        feedback1_ = 2.0 * radius * std::cos(angle);
        feedback2_ = -radius * radius;
        gain_ = resonance.level * std::sin(angle);
    }

    double step(double input) {
        const double output = gain_ * input + feedback1_ * previous1_ + feedback2_ * previous2_;
        previous2_ = previous1_;
        previous1_ = output;
        return output;
    }

private:
    double feedback1_ = 0.0;
    double feedback2_ = 0.0;
    double gain_ = 0.0;
    double previous1_ = 0.0;
    double previous2_ = 0.0;
};

// Uniform noise in [-1, 1] taken straight from the engine's 32-bit output, so the
// sequence does not depend on how a standard library shapes its distributions.
double noiseSample(std::mt19937& engine) {
    return static_cast<double>(engine()) / 4294967295.0 * 2.0 - 1.0;
}

} // namespace

std::vector<std::int16_t> synthesizeClick() {
    const double rate = kClickSampleRate;
    const auto length = static_cast<std::size_t>(kDuration * rate);
    const auto strike = static_cast<std::size_t>(kStrikeLength * rate);
    const auto fade = static_cast<std::size_t>(kFadeLength * rate);

    std::mt19937 engine(kNoiseSeed);
    std::vector<Resonator> resonators;
    for (const Resonance& resonance : kResonances)
        resonators.emplace_back(resonance, rate);

    std::vector<double> sound(length, 0.0);
    for (std::size_t i = 0; i < length; ++i) {
        double excitation = 0.0;
        if (i < strike) {
            // Half a sine window: the contact starts and ends softly.
            const double window = std::sin(std::numbers::pi * (i + 0.5) / strike);
            excitation = window * noiseSample(engine);
        }
        double sample = 0.3 * excitation; // a little of the bare contact noise
        for (Resonator& resonator : resonators)
            sample += resonator.step(excitation);
        sound[i] = sample;
    }

    // Fade the tail to exact silence so the sound ends without a click of its own.
    for (std::size_t i = 0; i < fade; ++i) {
        const double position = static_cast<double>(i + 1) / fade; // reaches 1 on the last sample
        sound[length - fade + i] *= 0.5 * (1.0 + std::cos(std::numbers::pi * position));
    }

    double peak = 0.0;
    for (double sample : sound)
        peak = std::max(peak, std::abs(sample));
    const double scale = peak > 0.0 ? kPeakLevel * 32767.0 / peak : 0.0;

    std::vector<std::int16_t> samples;
    samples.reserve(length);
    for (double sample : sound)
        samples.push_back(static_cast<std::int16_t>(std::lround(sample * scale)));
    return samples;
}

} // namespace assetgen
