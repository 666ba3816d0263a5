#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace pellark {

// The sound every platform profile makes while its sound timer runs: a 128-bit pattern (XO-CHIP's
// F002 sets it) played in a loop at a rate its pitch (Fx3A) sets, 1/60 s of samples per frame.
inline constexpr int kSoundSampleRate = 48000;
inline constexpr int kSoundFramesPerSecond = 60;
inline constexpr int kSoundSamplesPerFrame = kSoundSampleRate / kSoundFramesPerSecond;
inline constexpr int kPatternBits = 128;
// A set bit's level and the negative of a clear bit's: a quarter of full scale, loud enough to
// hear over a game and far from clipping.
inline constexpr std::int16_t kToneLevel = 8192;
// The pattern and pitch of a reset: a 500 Hz square wave, 4 bits up and 4 down at 4000 bits/s.
inline constexpr std::uint8_t kResetPatternByte = 0xF0;
inline constexpr std::int32_t kResetPitch = 64;

using AudioPatternBytes = std::array<std::uint8_t, 16>;
using FrameSamples = std::array<std::int16_t, kSoundSamplesPerFrame>;

// A frame with no sound.
inline constexpr FrameSamples kSilentFrame{};

// Pattern bits played per second at a pitch: 4000 · 2^((pitch − 64) / 48).
double PatternBitRate(std::int32_t pitch);

// One frame of the pattern played from position (in bits from the pattern's first, 0 to 128),
// which moves on by the frame's bits. Each sample is the mean level of the bits its 1/48000 s
// covers, so that bit rates above the sample rate do not alias.
void PlayPattern(const AudioPatternBytes& pattern, std::int32_t pitch, double& position,
                 std::span<std::int16_t, kSoundSamplesPerFrame> samples);

}  // namespace pellark
