#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/byte_file.h"
#include "platform/image.h"

struct GifFileType;

namespace pellark {

// An animated GIF of the pictures a display shows, each picture pixel a block × block square,
// written as the pictures come. A picture is held until the next different one shows how long
// it lasted; only the rectangle that changed is encoded. GIF times pictures in hundredths of a
// second, and players slow down any picture shorter than two, so a picture replaced sooner is
// left out and its successor takes its place: the clip keeps the real time. The file replaces
// an earlier one only once the clip is finished.
class GifClip {
 public:
  GifClip() = default;
  GifClip(const GifClip&) = delete;
  GifClip& operator=(const GifClip&) = delete;
  // A clip never finished leaves no file.
  ~GifClip();

  // Starts a clip at path, first showing picture from timeMs on. Every later picture is fitted
  // to this one's size. Returns the empty text on success, else why the file cannot be made.
  std::string Start(const std::string& path, const Image& picture, int block, std::uint64_t timeMs);
  bool Recording() const { return gif_ != nullptr; }
  // The picture shown from timeMs on.
  void AddPicture(const Image& picture, std::uint64_t timeMs);
  // Ends the clip at timeMs and puts the file in place. Returns the empty text on success, else
  // what went wrong; an earlier file then stays.
  std::string Finish(std::uint64_t timeMs);

 private:
  // The shortest time in hundredths of a second that players keep.
  static constexpr std::uint64_t kShortestDelay = 2;

  // Writes the held picture, shown for delay hundredths of a second.
  void WriteHeld(std::uint64_t delay);
  void WriteLoopForever();
  // Records the first failure of giflib or of the file.
  void Check(int gifResult);
  void Abandon();

  // The file being written; none outside a clip.
  std::optional<ByteFile> file_;
  GifFileType* gif_ = nullptr;
  int block_ = 1;
  // The picture waiting for its time to be known, and when it began, in hundredths.
  Image held_;
  std::uint64_t heldSince_ = 0;
  // What the clip shows so far; none before the first picture is written.
  Image written_;
  std::string failure_;
};

}  // namespace pellark
