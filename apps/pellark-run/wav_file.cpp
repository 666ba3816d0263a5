#include "pellark-run/wav_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

#include "platform/byte_file.h"

namespace pellark {
namespace {

// libsndfile writes into memory: its own file writer would empty the file before the run ends.
WavRecording::Encoded& EncodedOf(void* data) {
  return *static_cast<WavRecording::Encoded*>(data);
}

sf_count_t Length(void* data) {
  return static_cast<sf_count_t>(EncodedOf(data).bytes.size());
}

sf_count_t Seek(sf_count_t offset, int whence, void* data) {
  WavRecording::Encoded& encoded = EncodedOf(data);
  const sf_count_t base = whence == SEEK_CUR   ? encoded.position
                          : whence == SEEK_END ? Length(data)
                                               : 0;
  encoded.position = std::max<sf_count_t>(base + offset, 0);
  return encoded.position;
}

sf_count_t Read(void* to, sf_count_t count, void* data) {
  WavRecording::Encoded& encoded = EncodedOf(data);
  const sf_count_t available = std::max<sf_count_t>(Length(data) - encoded.position, 0);
  const sf_count_t taken = std::min(count, available);
  std::memcpy(to, encoded.bytes.data() + encoded.position, static_cast<std::size_t>(taken));
  encoded.position += taken;
  return taken;
}

sf_count_t Write(const void* from, sf_count_t count, void* data) {
  WavRecording::Encoded& encoded = EncodedOf(data);
  const auto end = static_cast<std::size_t>(encoded.position + count);
  if (end > encoded.bytes.size()) encoded.bytes.resize(end);
  std::memcpy(encoded.bytes.data() + encoded.position, from, static_cast<std::size_t>(count));
  encoded.position += count;
  return count;
}

sf_count_t Tell(void* data) {
  return EncodedOf(data).position;
}

SF_VIRTUAL_IO kInMemory{Length, Seek, Read, Write, Tell};

}  // namespace

WavRecording::WavRecording() {
  SF_INFO format{};
  format.samplerate = kSoundSampleRate;
  format.channels = 1;
  format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  file_ = sf_open_virtual(&kInMemory, SFM_WRITE, &format, &encoded_);
  if (file_ == nullptr) error_ = sf_strerror(nullptr);
}

WavRecording::~WavRecording() {
  if (file_ != nullptr) sf_close(file_);
}

void WavRecording::Append(std::span<const std::int16_t> samples) {
  if (file_ == nullptr) return;
  const auto count = static_cast<sf_count_t>(samples.size());
  if (sf_write_short(file_, samples.data(), count) != count && error_.empty())
    error_ = sf_strerror(file_);
}

std::string WavRecording::WriteTo(const std::string& path) {
  if (file_ != nullptr) {
    // Closing completes the header with the length.
    if (sf_close(file_) != 0 && error_.empty()) error_ = "cannot complete the sound";
    file_ = nullptr;
  }
  if (!error_.empty()) return error_;
  ByteFile file;
  if (!file.CreateFileForWriting(path)) return file.FailureReason();
  file.WriteText(std::string_view(reinterpret_cast<const char*>(encoded_.bytes.data()),
                                  encoded_.bytes.size()));
  if (!file.CloseFileSlot()) return file.FailureReason();
  return {};
}

}  // namespace pellark
