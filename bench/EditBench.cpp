// Editing speed in the real window on Qt's offscreen platform: one freehand drag event (the
// pixel written, its cell and the grid lines painted, the widget repainted) at each zoom, a
// full SelectImage, which repaints the strip picture, the palette and every cell, and a zoom
// step at the largest view; a fast drag whose events set joined lines, blended; undo and redo
// of a one-pixel step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "Documents.h"
#include "DrawingTool.h"
#include "EditCommands.h"
#include "EditGrid.h"
#include "GridGeometry.h"
#include "FrmMain.h"
#include "GridEditor.h"
#include "MouseColours.h"
#include "PictureBox.h"
#include "ToolChoice.h"

namespace brixel {
namespace {

// A shown window with one document holding one 32-bit image of the size given.
FrmMain& WindowWithImage(int size) {
  static FrmMain* window = [] {
    auto* made = new FrmMain;
    made->resize(1600, 1000);
    made->show();
    return made;
  }();
  IconDocuments.Clear();
  NewDocument();
  IconDocuments.CurrentDocument().AddImage(static_cast<std::int16_t>(size),
                                           static_cast<std::int16_t>(size), 32, 0);
  window->ShowCount();
  window->Tools().Choose(1, kToolFreehand);
  QApplication::processEvents();
  return *window;
}

// Arguments: the image's size and the zoom (kZoomDefault: the one it opens at).
void FreehandDragEvent(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  FrmMain& window = WindowWithImage(size);
  window.Grid().SetZoom(static_cast<int>(state.range(1)));
  QApplication::processEvents();
  GridEditor& editor = window.Editor();
  editor.Press(1, 0.5f, 0.5f);
  int i = 0;
  for (auto _ : state) {
    const int x = i % size;
    const int y = (i / size) % size;
    editor.Drag(1, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
    window.Colours().Swatch(1, (i * 7919) & 0xFFFFFF);
    QApplication::processEvents();  // the widget's repaint
    ++i;
  }
  editor.Release(1, 0.5f, 0.5f);
}
BENCHMARK(FreehandDragEvent)
    ->Args({32, kZoomDefault})
    ->Args({64, kZoomDefault})
    ->Args({256, kZoomFit})
    ->Args({256, 2})
    ->Args({256, kZoomDefault})
    ->Args({256, 16})
    ->Unit(benchmark::kMicrosecond);

// A fast drag: every event lands 37 pixels on from the last, so each one sets a joined line
// of that length, blended half transparent over the pixels below.
void FastBlendedDragEvent(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  FrmMain& window = WindowWithImage(size);
  window.Grid().SetZoom(static_cast<int>(state.range(1)));
  window.Colours().Opacity(1, 128);
  window.Colours().PaintsOver(1, true);
  QApplication::processEvents();
  GridEditor& editor = window.Editor();
  editor.Press(1, 0.5f, 0.5f);
  int i = 0;
  for (auto _ : state) {
    const int step = i * 37;
    const int x = step % size;
    const int y = (step / size * 5) % size;
    editor.Drag(1, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
    QApplication::processEvents();
    ++i;
  }
  editor.Release(1, 0.5f, 0.5f);
  window.Colours().Opacity(1, 255);
  window.Colours().PaintsOver(1, false);
}
BENCHMARK(FastBlendedDragEvent)
    ->Args({256, kZoomFit})
    ->Args({256, kZoomDefault})
    ->Args({256, 16})
    ->Unit(benchmark::kMicrosecond);

// Undo and redo of a one-pixel step of a 256 x 256 image: in the document alone, and as the
// command, which shows the image again.
void UndoOnePixel(benchmark::State& state) {
  FrmMain& window = WindowWithImage(256);
  cIco& document = IconDocuments.CurrentDocument();
  document.ResetUndo(0);
  document.XYColor(0, 100, 100, 0x123456);
  document.CloseUndoStep();
  const bool command = state.range(0) != 0;
  bool back = true;
  for (auto _ : state) {
    if (command) {
      if (back) window.Edits().Undo();
      else window.Edits().Redo();
      QApplication::processEvents();
    } else {
      benchmark::DoNotOptimize(back ? document.GetUndo() : document.GetRedo());
    }
    back = !back;
  }
}
BENCHMARK(UndoOnePixel)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void SelectImageFull(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  FrmMain& window = WindowWithImage(size);
  for (auto _ : state) {
    window.SelectImage(0, true);
    QApplication::processEvents();
  }
}
BENCHMARK(SelectImageFull)->Arg(256)->Unit(benchmark::kMicrosecond);

// A step between the two largest zooms of a 256 x 256 image and back, counted as two steps:
// the view of 4096 x 4096 pixels and the one below it drawn again and shown.
void ZoomStepLargest(benchmark::State& state) {
  FrmMain& window = WindowWithImage(256);
  EditGrid& grid = window.Grid();
  grid.SetZoom(16);
  const int below = ZoomedOut(256, 16);
  for (auto _ : state) {
    grid.SetZoom(below);
    QApplication::processEvents();
    grid.SetZoom(16);
    QApplication::processEvents();
  }
  state.counters["per_step"] = benchmark::Counter(
      2.0 * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ZoomStepLargest)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brixel

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;  // settings of the window go here, not into the user's own
  qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
  qputenv("XDG_DATA_HOME", home.path().toUtf8());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::_Exit(0);  // the window and its documents need no orderly teardown
}
