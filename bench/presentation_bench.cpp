// What Smooth and clip recording add to each displayed frame at x8: the time per frame, of
// which 60 a second make the share of a core.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "frontend/smooth_picture.h"
#include "platform/gif_clip.h"

namespace pellark {
namespace {

constexpr int kScale = 8;

// The high-resolution display with an 8 × 8 sprite erased and drawn one pixel further on in
// each frame, over a still background of every fourth pixel lit.
class MovingSprite {
 public:
  MovingSprite() { picture_.NewImage(128, 64); }
  const Image& Next() {
    Paint(x_, Black);
    x_ = (x_ + 1) % 120;
    Paint(x_, White);
    return picture_;
  }

 private:
  void Paint(int x, Colour colour) { picture_.FillBox(x, 28, 8, 8, colour); }
  Image picture_;
  int x_ = 0;
};

// Every pixel flips in every frame: the worst a clip can be asked to store.
class Flashing {
 public:
  Flashing() { picture_.NewImage(128, 64); }
  const Image& Next() {
    lit_ = !lit_;
    picture_.FillBox(0, 0, 128, 64, lit_ ? White : Black);
    return picture_;
  }

 private:
  Image picture_;
  bool lit_ = false;
};

void Smooth(benchmark::State& state) {
  MovingSprite sprite;
  SmoothPicture smooth;
  for (auto _ : state) {
    const Image& frame = sprite.Next();
    smooth.NextFrame(frame, Black);
    benchmark::DoNotOptimize(smooth.Compose(frame, Black).Pixels());
  }
}
BENCHMARK(Smooth);

template <typename Pictures>
void Recording(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("pellark-bench-" + std::to_string(::getpid()) + ".gif"))
                               .string();
  Pictures pictures;
  GifClip clip;
  if (!clip.Start(path, pictures.Next(), kScale, 0).empty()) {
    state.SkipWithError("cannot write the clip");
    return;
  }
  std::uint64_t frame = 0;
  for (auto _ : state) {
    ++frame;
    clip.AddPicture(pictures.Next(), frame * 1000 / 60);
  }
  clip.Finish(frame * 1000 / 60);
  std::filesystem::remove(path);
}
BENCHMARK(Recording<MovingSprite>)->Name("RecordingMovingSprite");
BENCHMARK(Recording<Flashing>)->Name("RecordingWholeScreenChanges");

}  // namespace
}  // namespace pellark

BENCHMARK_MAIN();
