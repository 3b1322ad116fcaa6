// Editing speed in the real window on Qt's offscreen platform: one freehand drag event (the
// pixel written, its cell and the grid lines painted, the widget repainted) and a full
// SelectImage, which repaints the strip picture, the palette and every cell.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "Documents.h"
#include "DrawingTool.h"
#include "EditGrid.h"
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

void FreehandDragEvent(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  FrmMain& window = WindowWithImage(size);
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
BENCHMARK(FreehandDragEvent)->Arg(32)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);

void SelectImageFull(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  FrmMain& window = WindowWithImage(size);
  for (auto _ : state) {
    window.SelectImage(0, true);
    QApplication::processEvents();
  }
}
BENCHMARK(SelectImageFull)->Arg(256)->Unit(benchmark::kMicrosecond);

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
