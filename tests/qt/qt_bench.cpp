// Costs of the window system on the paths the interpreter takes once per instruction. Run it
// with a display or with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/image.h"
#include "platform/qt/list_control.h"
#include "platform/qt/qt_window_system.h"

namespace pellark {
namespace {

WindowSystem* desktop = nullptr;

void OpenWindow(int width, int height) {
  desktop->OpenMainWindow(130, 130, width, height, "Pellark");
  desktop->SetClientSize(width, height + desktop->GetMenuHeight());
  while (desktop->PollWindowEvent().kind != WindowEvent::Kind::None) {
  }
}

void BM_EmptyPoll(benchmark::State& state) {
  OpenWindow(128, 64);
  for (auto _ : state) benchmark::DoNotOptimize(desktop->PollWindowEvent());
}
BENCHMARK(BM_EmptyPoll);

// Arguments: image width and height, magnification.
void BM_DrawPicture(benchmark::State& state) {
  const auto width = static_cast<int>(state.range(0));
  const auto height = static_cast<int>(state.range(1));
  const auto scale = static_cast<int>(state.range(2));
  OpenWindow(width * scale, height * scale);
  Image image;
  image.NewImage(width, height);
  int frame = 0;
  for (auto _ : state) {
    image.PutPixel(frame % width, 0, frame % 2 == 0 ? White : Black);
    desktop->DrawPicture(image, width * scale, height * scale);
    ++frame;
  }
}
BENCHMARK(BM_DrawPicture)->Args({64, 32, 2})->Args({128, 64, 4});

// As the interpreter runs with Antiflicker off: a picture and a poll per instruction, so the
// repaints once per display frame are included.
void BM_DrawPictureAndPoll(benchmark::State& state) {
  OpenWindow(128, 64);
  Image image;
  image.NewImage(64, 32);
  for (auto _ : state) {
    desktop->DrawPicture(image, 128, 64);
    benchmark::DoNotOptimize(desktop->PollWindowEvent());
  }
}
BENCHMARK(BM_DrawPictureAndPoll);

// A trace line and a poll per instruction, the batches of new rows included.
void BM_AddListItemAndPoll(benchmark::State& state) {
  OpenWindow(128, 130);
  desktop->CreateListBox(0, 66, 128, 64);
  std::int64_t lines = 0;
  for (auto _ : state) {
    desktop->AddListItem("$2A4: Jmp ,$205");
    benchmark::DoNotOptimize(desktop->PollWindowEvent());
    if (++lines % 900'000 == 0) {
      state.PauseTiming();
      desktop->CreateListBox(0, 66, 128, 64);
      state.ResumeTiming();
    }
  }
  desktop->FreeControl();
}
BENCHMARK(BM_AddListItemAndPoll);

// Showing a batch of 1000 new rows in a list that already holds range(0) rows.
void BM_ListBatch(benchmark::State& state) {
  QWidget parent;
  parent.resize(128, 64);
  auto* list = new ListControl(&parent);
  list->setGeometry(0, 0, 128, 64);
  parent.show();
  for (std::int64_t i = 0; i < state.range(0); ++i) list->AddLine("$2A4: Jmp ,$205");
  list->PublishNewLines();
  QApplication::processEvents();
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) list->AddLine("$2A4: Jmp ,$205");
    list->PublishNewLines();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ListBatch)->Arg(10'000)->Arg(990'000)->Iterations(9)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pellark

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::string error;
  const auto desktop = pellark::CreateQtWindowSystem(argc, argv, error);
  if (desktop == nullptr) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  pellark::desktop = desktop.get();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
