#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brixel {

// A picture held in memory: Width x Height colour values (red + 256 x green + 65536 x blue),
// row by row from the top. What a surface's drawing is taken as, and what can be assigned to
// a surface or stretched onto it.
struct Bitmap {
  int Width = 0;
  int Height = 0;
  std::vector<std::int32_t> Pixels;

  Bitmap() = default;
  Bitmap(int width, int height, std::int32_t fill)
      : Width(width), Height(height),
        Pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

  bool Empty() const { return Width <= 0 || Height <= 0; }
  std::int32_t At(int x, int y) const { return Pixels[Index(x, y)]; }
  std::int32_t& At(int x, int y) { return Pixels[Index(x, y)]; }

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
           static_cast<std::size_t>(x);
  }
};

// A drawable bitmap that keeps what is drawn on it and reads back pixel by pixel. Positions
// are logical: the surface spans ScaleWidth x ScaleHeight units, one unit per pixel unless a
// scale is set. Colours are red + 256 x green + 65536 x blue and stay exact: a colour drawn
// with PSet, Line, Circle or Print in copy mode reads back unchanged through Point.
class PictureSurface {
 public:
  enum class LineKind { Line, Box, FilledBox };

  static constexpr int kDrawModeInvert = 6;
  static constexpr int kDrawModeCopy = 13;
  static constexpr int kFillSolid = 0;
  static constexpr int kFillTransparent = 1;

  virtual ~PictureSurface() = default;

  // --- Size and scale ---
  virtual int PixelWidth() const = 0;
  virtual int PixelHeight() const = 0;
  // A new size in pixels. What was drawn stays at the top-left; new area takes BackColor.
  virtual void Resize(int width, int height) = 0;
  virtual float ScaleWidth() const = 0;
  virtual float ScaleHeight() const = 0;
  // Makes the whole surface span width x height logical units, whatever its size in pixels.
  virtual void Scale(float width, float height) = 0;
  // Back to one unit per pixel, following later resizes.
  virtual void ScalePixels() = 0;

  // --- Colours and pens ---
  virtual std::int32_t ForeColor() const = 0;
  virtual void ForeColor(std::int32_t colour) = 0;
  virtual std::int32_t BackColor() const = 0;
  virtual void BackColor(std::int32_t colour) = 0;
  virtual std::int32_t FillColor() const = 0;
  virtual void FillColor(std::int32_t colour) = 0;
  // kFillSolid fills circles with FillColor; kFillTransparent draws outlines only.
  virtual int FillStyle() const = 0;
  virtual void FillStyle(int style) = 0;
  // kDrawModeCopy: drawn pixels take the colour. kDrawModeInvert: every drawn pixel becomes
  // the inverse of what was there, so drawing the same figure twice restores the surface.
  virtual int DrawMode() const = 0;
  virtual void DrawMode(int mode) = 0;
  // Width of lines and outlines in pixels, whatever the scale.
  virtual int DrawWidth() const = 0;
  virtual void DrawWidth(int width) = 0;

  // --- Drawing ---
  // Fills the surface with BackColor (and the assigned picture, if any); the print position
  // goes back to (0, 0).
  virtual void Cls() = 0;
  virtual void PSet(float x, float y, std::int32_t colour) = 0;
  // The colour at a point; -1 when the point lies outside the surface.
  virtual std::int32_t Point(float x, float y) const = 0;
  // A line from the first point towards the second, leaving out the second point itself; or a
  // box outline or filled box with both corners included.
  virtual void Line(float x1, float y1, float x2, float y2, std::int32_t colour,
                    LineKind kind = LineKind::Line) = 0;
  // A circle outline in colour about (x, y); filled with FillColor when FillStyle is solid.
  // The radius is in horizontal units.
  virtual void Circle(float x, float y, float radius, std::int32_t colour) = 0;

  // --- Text ---
  // Raises "Invalid procedure call or argument" for a font the system does not have or a size
  // it cannot draw; the previous setting then stays.
  virtual std::string FontName() const = 0;
  virtual void FontName(const std::string& name) = 0;
  virtual float FontSize() const = 0;  // points
  virtual void FontSize(float points) = 0;
  virtual float CurrentX() const = 0;
  virtual void CurrentX(float x) = 0;
  virtual float CurrentY() const = 0;
  virtual void CurrentY(float y) = 0;
  // Draws the text in ForeColor with a transparent background, the top-left of its first
  // character cell at the print position, without font smoothing; then moves the print
  // position to the start of the next line.
  virtual void Print(const std::string& text) = 0;

  // --- Pictures ---
  // Stretches a picture onto the rectangle of the given logical position and size.
  virtual void PaintPicture(const Bitmap& picture, float x, float y, float width,
                            float height) = 0;
  // What is drawn on the surface now.
  virtual Bitmap Image() const = 0;
  // The assigned picture, which Cls restores; empty when none.
  virtual const Bitmap& Picture() const = 0;
  // Assigns a picture: the surface is cleared and shows it from the top-left corner.
  virtual void SetPicture(const Bitmap& picture) = 0;
  // Reads a picture file (BMP, JPEG, GIF, ICO, CUR), sizes the surface to it and assigns it.
  // Raises BackEndError on failure, leaving the surface as it was.
  virtual void LoadPicture(const std::string& path) = 0;
  // Writes what is drawn as a BMP file, replacing the file safely. Raises BackEndError.
  virtual void SavePicture(const std::string& path) const = 0;

  // Shows what was drawn on screen now, where the surface is shown at all.
  virtual void Refresh() = 0;
};

}  // namespace brixel
