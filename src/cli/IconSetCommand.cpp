#include "IconSetCommand.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iterator>
#include <new>
#include <optional>
#include <utility>

#include "Commands.h"
#include "FileFailure.h"
#include "IcnsFile.h"
#include "IcoFile.h"
#include "IconSet.h"
#include "PictureImport.h"
#include "TrapErrors.h"

namespace brixel::cli {
namespace {

namespace fs = std::filesystem;

// The sizes of a macOS icon set unless others are asked for, and the largest .icns holds.
constexpr int kIcnsIconSetSizes[] = {16, 32, 64, 128, 256, 512, 1024};
constexpr int kLargestIcnsSize = 1024;

struct Extent {
  int Width = 0;
  int Height = 0;
};

struct IconSetRequest {
  std::string output;
  std::string picture;
  int fileType = 1;  // 0: a macOS icon
  std::vector<int> sizes;
  std::optional<SquarePoint> hotSpot;  // in the picture's pixels
};

// Numbers separated by commas, each from least to most.
std::optional<std::vector<int>> ParseList(const std::string& text, int least, int most) {
  std::vector<int> values;
  const char* at = text.data();
  const char* end = at + text.size();
  while (true) {
    int value = 0;
    const auto [stop, error] = std::from_chars(at, end, value);
    if (error != std::errc() || value < least || value > most) return std::nullopt;
    values.push_back(value);
    if (stop == end) return values;
    if (*stop != ',') return std::nullopt;
    at = stop + 1;
  }
}

std::optional<IconSetRequest> ParseIconSet(const std::vector<std::string>& args, std::ostream& err) {
  IconSetRequest request;
  std::vector<std::string> files;
  bool sizesGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--sizes") {
      const auto sizes = i + 1 < args.size() ? ParseList(args[++i], 1, kLargestIcnsSize) : std::nullopt;
      if (!sizes) {
        err << "brixel-cli: iconset: --sizes takes sizes from 1 to " << kLargestIconSetSize
            << " (" << kLargestIcnsSize << " for .icns) separated by commas\n";
        return std::nullopt;
      }
      request.sizes = *sizes;
      sizesGiven = true;
    } else if (arg == "--cursor") {
      const auto point = i + 1 < args.size() ? ParseList(args[++i], 0, kMaxPictureSide - 1) : std::nullopt;
      if (!point || point->size() != 2) {
        err << "brixel-cli: iconset: --cursor takes the hot spot as X,Y\n";
        return std::nullopt;
      }
      request.hotSpot = SquarePoint{(*point)[0], (*point)[1]};
    } else if (arg.starts_with("--")) {
      err << "brixel-cli: iconset: unknown option " << arg << '\n';
      return std::nullopt;
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) {
    err << "brixel-cli: iconset takes OUT and PICTURE\n";
    return std::nullopt;
  }
  request.output = files[0];
  request.picture = files[1];
  const std::string type = DocumentType(request.output);
  const bool macIcon = IsIcnsPath(request.output);
  if (type != "ICO" && type != "CUR" && !macIcon) {
    err << "brixel-cli: iconset: " << request.output << " is not an icon or cursor file name (.ico, .cur, .icns)\n";
    return std::nullopt;
  }
  request.fileType = macIcon ? 0 : type == "ICO" ? 1 : 2;
  if (!sizesGiven && macIcon) request.sizes.assign(std::begin(kIcnsIconSetSizes), std::end(kIcnsIconSetSizes));
  if (!sizesGiven && !macIcon) request.sizes.assign(std::begin(kIconSetSizes), std::end(kIconSetSizes));
  for (const int size : request.sizes) {
    if (macIcon ? IsIcnsSize(size, size) : size <= kLargestIconSetSize) continue;
    err << "brixel-cli: iconset: " << size << " is not a size "
        << (macIcon ? ".icns holds (16, 32, 48, 64, 128, 256, 512, 1024)\n" : "of an icon (1 to 256)\n");
    return std::nullopt;
  }
  if (request.hotSpot && request.fileType != 2) {
    err << "brixel-cli: iconset: --cursor is for cursors (.cur)\n";
    return std::nullopt;
  }
  // Smallest first, each size once.
  std::sort(request.sizes.begin(), request.sizes.end());
  request.sizes.erase(std::unique(request.sizes.begin(), request.sizes.end()), request.sizes.end());
  return request;
}

}  // namespace

int IconSet(const std::vector<std::string>& args, std::ostream& err) {
  const std::optional<IconSetRequest> request = ParseIconSet(args, err);
  if (!request) return kExitUsage;
  IconSetSource source;
  const bool read = RunOnFile(request->picture, "read", err, [&] { source = IconSetSquares(request->picture, request->sizes); });
  if (!read) return kExitFailure;
  TellWarnings(request->picture, source.Warnings, err);
  const Extent extent{source.Width, source.Height};
  const std::vector<RgbaPicture>& squares = source.Squares;
  if (request->hotSpot && (request->hotSpot->X >= extent.Width || request->hotSpot->Y >= extent.Height)) {
    err << "brixel-cli: iconset: the hot spot " << request->hotSpot->X << "," << request->hotSpot->Y
        << " lies outside the " << extent.Width << " x " << extent.Height << " picture\n";
    return kExitUsage;
  }

  const bool written = RunOnFile(request->output, "written", err, [&] {
    std::vector<IconImage> images;
    for (const RgbaPicture& square : squares) {
      IconImage image = IconSetImage(square);
      if (request->hotSpot) PlaceHotSpot(image, request->hotSpot->X, request->hotSpot->Y, extent.Width, extent.Height);
      images.push_back(std::move(image));
    }
    std::vector<std::string> leftOut;  // none: every size was checked
    WriteFileReplacing(request->output, request->fileType == 0 ? BuildIcnsFile(images, leftOut)
                                                               : BuildIconSetFile(std::move(images), request->fileType));
  });
  return written ? kExitOk : kExitFailure;
}

}  // namespace brixel::cli
