#include "GridGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brixel {

namespace {

constexpr int kZoomSteps[] = {2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64};
constexpr int kLargestView = 8192;
constexpr int kUsualLargestView = 4096;

double FitCell(int cells, int fitSide) {
  return static_cast<double>(std::max(fitSide, kFitViewPixels)) / std::max(cells, 1);
}

bool Fits(int cells, int zoom, int fitSide) {
  return zoom > FitCell(cells, fitSide) && static_cast<long long>(cells) * zoom <= LargestViewSide(cells);
}

}  // namespace

int LargestViewSide(int cells) {
  const long long forEightPixels = 8LL * std::max(cells, 1);
  return static_cast<int>(
      std::min<long long>(kLargestView, std::max<long long>(kUsualLargestView, forEightPixels)));
}

int ShownZoom(int cells, int zoom, int fitSide) {
  if (zoom == kZoomDefault) zoom = cells > kLargestFitCells ? kFirstLargeZoom : kZoomFit;
  return zoom > 0 && Fits(cells, zoom, fitSide) ? zoom : kZoomFit;
}

int ViewSide(int cells, int zoom, int fitSide) {
  const int shown = ShownZoom(cells, zoom, fitSide);
  return shown == kZoomFit ? std::max(fitSide, kFitViewPixels) : cells * shown;
}

int ZoomedIn(int cells, int zoom, int fitSide) {
  const int shown = ShownZoom(cells, zoom, fitSide);
  for (const int step : kZoomSteps) {
    if (step > shown && Fits(cells, step, fitSide)) return step;
  }
  return shown;
}

int ZoomedOut(int cells, int zoom, int fitSide) {
  const int shown = ShownZoom(cells, zoom, fitSide);
  int result = kZoomFit;
  for (const int step : kZoomSteps) {
    if (step < shown && Fits(cells, step, fitSide)) result = step;
  }
  return result;
}

int CentreLine(int cells) {
  return static_cast<int>(std::nearbyint(static_cast<double>(cells) / 2.0));
}

int PixelOf(float logical) {
  if (std::isnan(logical)) return 0;
  const double truncated = std::trunc(static_cast<double>(logical));
  constexpr double kLowest = std::numeric_limits<int>::min();
  constexpr double kHighest = std::numeric_limits<int>::max();
  if (truncated <= kLowest) return std::numeric_limits<int>::min();
  if (truncated >= kHighest) return std::numeric_limits<int>::max();
  return static_cast<int>(truncated);
}

QString LocationText(float x, float y) {
  return QString::number(PixelOf(x)) + '-' + QString::number(PixelOf(y));
}

bool OutsideImage(float x, float y, int width, int height) {
  return x >= static_cast<float>(width) || y >= static_cast<float>(height) || y < 0 || x < 0;
}

}  // namespace brixel
