#pragma once

#include <cstdint>
#include <optional>

#include <QRect>

#include "Colour.h"
#include "DrawingTool.h"
#include "GridGeometry.h"
#include "Settings.h"

class QLabel;
class QPoint;
class QScrollArea;
class QWidget;

namespace brixel {

class GridView;
class PictureBox;

// The edit grid: the current image of the current icon document enlarged, one square cell
// per pixel, so a pointer position truncates to the pixel under it. The cells' size comes from
// n, the larger of the image's width and height (16 with no image): the fit view gives n cells
// the side of the square the scroll area (GridScroll) has, at least 480 pixels, and a tall or
// wide image shows as width x height cells of that size; zoomed in, the cells take the zoom's
// size and the scroll area shows a part of the view. Owns the scroll area, the view (PctGrid), the
// hidden scratch surface of n x n pixels on which shapes and text are rasterised
// (pctExport), and which image is current.
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

  GridView& View() { return *view_; }
  const GridView& View() const { return *view_; }
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
  // the grid is ready the grid lines show over it.
  void PaintCell(float x, float y, Colour colour, int mode);
  // Shows the cell of pixel (x, y) as the current image holds it now.
  void ShowPixel(int x, int y);
  // Shows the grid lines, the red centre lines and, when asked for, the yellow box around the
  // hot-spot cell; nothing at all with the Grid option off.
  void DrawGridLines();
  // Shows every cell from the current image, then the grid lines, and takes away what the
  // tools showed over the cells. With no image it only sizes the view and the scratch surface.
  void DrawMainIcon();
  // Clears the view to its background colour.
  void Clear();

  // A tool's figure from the anchor's cell to another, shown inverted over the cells until
  // HideBand or the next full repaint.
  void ShowBand(ToolShape shape, int anchorX, int anchorY, int endX, int endY);
  void HideBand();
  // The frame of a selection through the centres of its corner cells. It stays while the same
  // image of the same document is shown, until HideFrame.
  void ShowFrame(int anchorX, int anchorY, int endX, int endY);
  void HideFrame();
  // The selected rectangle the frame shows, if any.
  std::optional<QRect> Selection() const;

  // --- Zoom (GridGeometry) ---
  // The zoom chosen: kZoomDefault until one is, then kZoomFit or a cell side in pixels.
  int Zoom() const { return zoom_; }
  // The cell side in screen pixels shown now.
  double CellPixels() const;
  // The side of the fit view: the square the scroll area has room for, at least 480 pixels.
  int FitSide() const;
  // Chooses a zoom and repaints the grid at it. The image point under anchor (a position on
  // the scroll area's viewport) stays there; by default the viewport's centre.
  void SetZoom(int zoom);
  void SetZoom(int zoom, const QPoint& anchor);
  void ZoomIn();
  void ZoomOut();
  // Back to the view of the whole image.
  void ZoomFit();

 private:
  // Whether (x, y) lies outside the current image; nothing without an image or while a paste
  // waits for its place.
  std::optional<bool> Outside(float x, float y) const;
  void PointerMoved(float x, float y);
  // Sizes the view for the zoom and the room the scroll area has.
  void LayOut();

  QScrollArea* scroller_;
  GridView* view_;
  PictureBox* scratch_;
  QLabel& location_;
  const Settings& options_;
  std::int16_t currentImage_ = -1;
  bool gridReady_ = false;
  bool pointerOutside_ = false;
  int zoom_ = kZoomDefault;
  // The document and image the frame was shown on.
  const void* frameDocument_ = nullptr;
  std::int16_t frameImage_ = -1;
};

}  // namespace brixel
