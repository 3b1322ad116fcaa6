// brixel-icon: draws the program's icon with the document back end, and turns an icon file
// into one PNG picture per image for the desktop's icon theme.
//   brixel-icon draw OUT.ico      writes the icon
//   brixel-icon png IN.ico DIR    writes DIR/<width>x<height>.png for each image

#include <QImage>
#include <QString>
#include <filesystem>
#include <iostream>
#include <string>

#include "Colour.h"
#include "ProgramIcon.h"
#include "QtColour.h"
#include "cIco.h"

namespace {

int Draw(const std::string& out) {
  brixel::cIco icon;
  brixel::DrawProgramIcon(icon);
  return icon.SaveIcon(out) ? 0 : 1;
}

// Transparent and inverting pixels both become fully transparent.
int WritePngs(const std::string& in, const std::filesystem::path& folder) {
  brixel::cIco icon;
  if (!icon.OpenIcon(in)) return 1;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (std::int16_t i = 0; i < icon.IconCount(); ++i) {
    const int width = icon.Width(i);
    const int height = icon.Height(i) / 2;
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const auto fx = static_cast<float>(x);
        const auto fy = static_cast<float>(y);
        const brixel::Colour colour = icon.XYColor(i, fx, fy);
        if (icon.XYMask(i, fx, fy) != brixel::MaskOpaque || colour == brixel::kNoColour) {
          picture.setPixel(x, y, qRgba(0, 0, 0, 0));
        } else {
          picture.setPixel(x, y, brixel::RgbFromColour(colour));
        }
      }
    }
    const std::filesystem::path file =
        folder / (std::to_string(width) + "x" + std::to_string(height) + ".png");
    if (!picture.save(QString::fromStdString(file.string()), "PNG")) {
      std::cerr << "brixel-icon: cannot write " << file.string() << '\n';
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "draw" && argc == 3) return Draw(argv[2]);
  if (command == "png" && argc == 4) return WritePngs(argv[2], argv[3]);
  std::cerr << "usage: brixel-icon draw OUT.ico | brixel-icon png IN.ico DIR\n";
  return 2;
}
