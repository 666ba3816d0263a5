#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/sound.h"

typedef struct sf_private_tag SNDFILE;

namespace pellark {

// A run's sound, encoded frame by frame as a 16-bit mono WAV at the machine's sample rate, and
// written in place of any earlier file only once it is whole.
class WavRecording {
 public:
  WavRecording();
  WavRecording(const WavRecording&) = delete;
  WavRecording& operator=(const WavRecording&) = delete;
  ~WavRecording();

  void Append(std::span<const std::int16_t> samples);
  // Ends the recording and writes it; the empty text on success, else what went wrong.
  std::string WriteTo(const std::string& path);

  // The encoded file as it grows; public for libsndfile's callbacks.
  struct Encoded {
    std::vector<unsigned char> bytes;
    std::int64_t position = 0;
  };

 private:
  Encoded encoded_;
  SNDFILE* file_ = nullptr;
  std::string error_;
};

}  // namespace pellark
