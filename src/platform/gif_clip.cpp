#include "platform/gif_clip.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <vector>

namespace pellark {
namespace {

std::uint64_t Hundredths(std::uint64_t timeMs) {
  return (timeMs + 5) / 10;
}

int WriteToFile(GifFileType* gif, const GifByteType* bytes, int length) {
  auto& file = *static_cast<ByteFile*>(gif->UserData);
  file.WriteText({reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length)});
  return file.FailureReason().empty() ? length : 0;
}

bool SamePixels(const Image& a, const Image& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Pixels(), a.Pixels() + a.Width() * a.Height(), b.Pixels());
}

struct Box {
  int left;
  int top;
  int right;   // one past
  int bottom;  // one past
};

// The smallest box around the pixels that differ; a single pixel when none does, since a GIF
// picture needs at least one.
Box ChangedBox(const Image& now, const Image& before) {
  Box box{now.Width(), now.Height(), 0, 0};
  for (int y = 0; y < now.Height(); ++y) {
    const Colour* row = now.Pixels() + static_cast<std::ptrdiff_t>(y) * now.Width();
    const Colour* old = before.Pixels() + static_cast<std::ptrdiff_t>(y) * now.Width();
    const auto [first, firstOld] = std::mismatch(row, row + now.Width(), old);
    if (first == row + now.Width()) continue;
    const auto last = std::mismatch(std::make_reverse_iterator(row + now.Width()),
                                    std::make_reverse_iterator(first),
                                    std::make_reverse_iterator(old + now.Width()))
                          .first.base();
    box = {std::min(box.left, static_cast<int>(first - row)), std::min(box.top, y),
           std::max(box.right, static_cast<int>(last - row)), y + 1};
  }
  if (box.right == 0) return {0, 0, 1, 1};
  return box;
}

// The colours of the box and each pixel's index among them. A display shows a handful of
// colours; past GIF's 256 the last one stands for the rest.
struct IndexedBox {
  std::vector<GifColorType> colours;
  std::vector<GifPixelType> indices;
};

IndexedBox IndexColours(const Image& picture, const Box& box) {
  IndexedBox indexed;
  std::vector<Colour> known;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const Colour colour = picture.ReadPixel(x, y);
      auto found = std::find(known.begin(), known.end(), colour);
      if (found == known.end() && known.size() < 256) {
        known.push_back(colour);
        indexed.colours.push_back({static_cast<GifByteType>(RedOf(colour)),
                                   static_cast<GifByteType>(GreenOf(colour)),
                                   static_cast<GifByteType>(BlueOf(colour))});
        found = known.end() - 1;
      }
      indexed.indices.push_back(
          static_cast<GifPixelType>(std::min<std::ptrdiff_t>(found - known.begin(), 255)));
    }
  }
  return indexed;
}

}  // namespace

GifClip::~GifClip() {
  Abandon();
}

std::string GifClip::Start(const std::string& path, const Image& picture, int block,
                           std::uint64_t timeMs) {
  Abandon();
  failure_.clear();
  file_.emplace();
  if (!file_->CreateFileForWriting(path)) {
    std::string reason = file_->FailureReason();
    file_.reset();
    return reason;
  }
  int error = 0;
  gif_ = EGifOpen(&*file_, WriteToFile, &error);
  if (gif_ == nullptr) {
    file_.reset();
    return GifErrorString(error);
  }
  block_ = block;
  held_.DuplicateImage(picture);
  heldSince_ = Hundredths(timeMs);
  written_ = Image();
  EGifSetGifVersion(gif_, true);
  Check(EGifPutScreenDesc(gif_, picture.Width() * block, picture.Height() * block, 8, 0, nullptr));
  WriteLoopForever();
  return {};
}

void GifClip::AddPicture(const Image& picture, std::uint64_t timeMs) {
  if (!Recording()) return;
  const Image* fitted = &picture;
  Image stretched;
  if (picture.Width() != held_.Width() || picture.Height() != held_.Height()) {
    stretched.NewImage(held_.Width(), held_.Height());
    stretched.BlitImage(picture, 0, 0, held_.Width(), held_.Height());
    fitted = &stretched;
  }
  if (SamePixels(*fitted, held_)) return;
  const std::uint64_t now = Hundredths(timeMs);
  if (now >= heldSince_ + kShortestDelay) {
    WriteHeld(now - heldSince_);
    heldSince_ = now;
  }
  held_.DuplicateImage(*fitted);
}

std::string GifClip::Finish(std::uint64_t timeMs) {
  if (!Recording()) return {};
  WriteHeld(std::max(Hundredths(timeMs), heldSince_ + kShortestDelay) - heldSince_);
  int error = 0;
  if (EGifCloseFile(gif_, &error) == GIF_ERROR && failure_.empty())
    failure_ = GifErrorString(error);
  gif_ = nullptr;
  if (!failure_.empty()) {
    Abandon();
    return failure_;
  }
  const bool closed = file_->CloseFileSlot();
  std::string reason = file_->FailureReason();
  file_.reset();
  return closed ? std::string() : reason;
}

void GifClip::WriteHeld(std::uint64_t delay) {
  const bool first = written_.Width() == 0;
  const Box box = first ? Box{0, 0, held_.Width(), held_.Height()} : ChangedBox(held_, written_);
  const IndexedBox indexed = IndexColours(held_, box);

  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.DelayTime = static_cast<int>(std::min<std::uint64_t>(delay, 65535));
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  std::array<GifByteType, 4> extension{};
  EGifGCBToExtension(&control, extension.data());
  Check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, extension.size(), extension.data()));

  const int colourCount = static_cast<int>(indexed.colours.size());
  ColorMapObject* map = GifMakeMapObject(1 << GifBitSize(colourCount), nullptr);
  if (map == nullptr) {
    Check(GIF_ERROR);
    return;
  }
  std::copy(indexed.colours.begin(), indexed.colours.end(), map->Colors);
  const int width = box.right - box.left;
  Check(EGifPutImageDesc(gif_, box.left * block_, box.top * block_, width * block_,
                         (box.bottom - box.top) * block_, false, map));
  GifFreeMapObject(map);
  // Each picture row, widened to blocks, is written block times.
  std::vector<GifPixelType> line(static_cast<std::size_t>(width * block_));
  for (int row = 0; row < box.bottom - box.top && failure_.empty(); ++row) {
    const GifPixelType* source = indexed.indices.data() + static_cast<std::ptrdiff_t>(row) * width;
    for (int x = 0; x < width; ++x) std::fill_n(line.begin() + x * block_, block_, source[x]);
    for (int repeat = 0; repeat < block_; ++repeat)
      Check(EGifPutLine(gif_, line.data(), static_cast<int>(line.size())));
  }
  written_.DuplicateImage(held_);
}

void GifClip::WriteLoopForever() {
  // The NETSCAPE2.0 application block: the clip plays again and again.
  static constexpr GifByteType kName[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static constexpr GifByteType kLoops[] = {1, 0, 0};
  Check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE));
  Check(EGifPutExtensionBlock(gif_, sizeof kName, kName));
  Check(EGifPutExtensionBlock(gif_, sizeof kLoops, kLoops));
  Check(EGifPutExtensionTrailer(gif_));
}

void GifClip::Check(int gifResult) {
  if (!failure_.empty()) return;
  if (!file_->FailureReason().empty()) {
    failure_ = file_->FailureReason();
  } else if (gifResult == GIF_ERROR) {
    failure_ = GifErrorString(gif_ != nullptr ? gif_->Error : E_GIF_ERR_NOT_ENOUGH_MEM);
  }
}

void GifClip::Abandon() {
  if (gif_ != nullptr) {
    int error = 0;
    EGifCloseFile(gif_, &error);
    gif_ = nullptr;
  }
  // The temporary file goes; the target stays as it was.
  file_.reset();
}

}  // namespace pellark
