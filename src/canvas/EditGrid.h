#pragma once

#include <cstdint>
#include <optional>

#include "Colour.h"
#include "GridGeometry.h"
#include "Settings.h"

class QLabel;
class QPoint;
class QScrollArea;
class QWidget;

namespace brixel {

class PictureBox;

// The edit grid: the current image of the current icon document enlarged on a square view,
// one cell per pixel. The view spans n x n logical units, n being the larger of the image's
// width and height (16 with no image), so a pointer position truncates to the pixel under it
// and a tall image shows whole. The fit view is 480 x 480 pixels; zoomed in, the view is n
// cells of the zoom's size a side and a 480 x 480 scroll area (GridScroll) shows a part of
// it. Owns the scroll area, the view (PctGrid), the hidden scratch surface of n x n pixels on
// which shapes and text are rasterised (pctExport), and which image is current.
class EditGrid {
 public:
  static constexpr int kViewSize = kFitViewPixels;

  // Looks of a cell.
  static constexpr int CellInverted = -1;     // white, red rising diagonal
  static constexpr int CellTransparent = 0;   // white, blue falling diagonal
  static constexpr int CellOpaque = 1;        // filled with the pixel's colour

  // Creates the view and the scratch surface as children of parent. The position label shows
  // the pixel under the pointer; options supplies the Grid and HotSpot switches.
  EditGrid(QWidget& parent, QLabel& location, const Settings& options);

  PictureBox& View() { return *view_; }
  const PictureBox& View() const { return *view_; }
  PictureBox& Scratch() { return *scratch_; }
  // The widget to place in a window: the scroll area around the view.
  QScrollArea& Scroller() { return *scroller_; }

  // Index of the current image of the current document, -1 for none.
  std::int16_t CurrentImage() const { return currentImage_; }
  void CurrentImage(std::int16_t index) { currentImage_ = index; }

  // Cells a side: the current image's width or height, whichever is larger; 16 for no image.
  int Cells() const;
  // True once the enlarged image and its grid lines stand; false during a full repaint.
  bool GridReady() const { return gridReady_; }
  // Whether the last pointer position reported lay outside the current image.
  bool PointerOutside() const { return pointerOutside_; }
  void PointerOutside(bool outside) { pointerOutside_ = outside; }
  // The test a release runs: sets the flag when the raw position lies outside the image (and
  // no paste is pending), never clears it.
  void MarkIfOutside(float x, float y);
  // Whether a paste waits for its click: the view shows the arrow with a question mark.
  bool PastePending() const;

  // Paints the cell of pixel (x, y) in one of the cell looks; other modes paint nothing. Once
  // the grid is ready the grid lines are drawn again over it.
  void PaintCell(float x, float y, Colour colour, int mode);
  // Sets the n x n scale and draws the grid lines, the red centre lines and, when asked for,
  // the yellow box around the hot-spot cell; nothing at all with the Grid option off.
  void DrawGridLines();
  // Repaints every cell from the current image, ten units per pixel, then the grid lines.
  // With no image it only sets the scale and sizes the scratch surface.
  void DrawMainIcon();
  // Clears the view to its background colour.
  void Clear();

  // --- Zoom (GridGeometry) ---
  // The zoom chosen: kZoomDefault until one is, then kZoomFit or a cell side in pixels.
  int Zoom() const { return zoom_; }
  // The cell side in screen pixels shown now.
  double CellPixels() const;
  // Chooses a zoom and repaints the grid at it. The image point under anchor (a position on
  // the scroll area's viewport) stays there; by default the viewport's centre.
  void SetZoom(int zoom);
  void SetZoom(int zoom, const QPoint& anchor);
  void ZoomIn();
  void ZoomOut();
  // Back to the 480 x 480 view of the whole image.
  void ZoomFit();

 private:
  // Whether (x, y) lies outside the current image; nothing without an image or while a paste
  // waits for its place.
  std::optional<bool> Outside(float x, float y) const;
  void PointerMoved(float x, float y);
  void DrawGridLinesAround(float x, float y);
  // Grid lines between the rows and columns given (edges 1 .. n), then the markers.
  void DrawOverlay(float firstRow, float lastRow, float firstColumn, float lastColumn);
  // The red centre lines and the hot-spot box, drawn over the grid lines.
  void DrawMarkers();

  QScrollArea* scroller_;
  PictureBox* view_;
  PictureBox* scratch_;
  QLabel& location_;
  const Settings& options_;
  std::int16_t currentImage_ = -1;
  bool gridReady_ = false;
  bool pointerOutside_ = false;
  int zoom_ = kZoomDefault;
};

}  // namespace brixel
