#include "ImportCommand.h"

#include <filesystem>
#include <optional>

#include "AsciiText.h"
#include "Commands.h"
#include "FileFailure.h"
#include "IcoFile.h"
#include "OpenedDocument.h"
#include "PictureDecoderProcess.h"
#include "PictureImport.h"
#include "SvgDrawing.h"
#include "TrapErrors.h"
#include "cIco.h"

namespace brixel::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kLargestImage = 1024;

struct ImportRequest {
  std::string picture;
  std::string output;
  ImportOptions options;
};

std::optional<ImportRequest> ParseImport(const std::vector<std::string>& args, std::ostream& err) {
  ImportRequest request;
  request.options.Size = 0;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--clip") {
      request.options.Clip = true;
    } else if (arg == "--fit") {
      request.options.KeepProportions = true;
    } else if (arg == "--smooth") {
      request.options.Smooth = true;
    } else if (arg == "--dither") {
      request.options.Reduction.Dither = true;
    } else if (arg == "--palette") {
      request.options.Reduction.OwnPalette = true;
    } else if (arg == "--size" || arg == "--depth") {
      const std::optional<int> given = i + 1 < args.size() ? WholeNumber(args[++i]) : std::nullopt;
      const int value = given.value_or(0);
      if (arg == "--size") {
        if (!given || value < 1 || value > kLargestImage) {
          err << "brixel-cli: import: --size takes a number from 1 to " << kLargestImage << '\n';
          return std::nullopt;
        }
        request.options.Size = value;
      } else {
        if (!given || (value != 1 && value != 4 && value != 8 && value != 24 && value != 32)) {
          err << "brixel-cli: import: --depth takes 1, 4, 8, 24 or 32\n";
          return std::nullopt;
        }
        request.options.BitDepth = value;
      }
    } else if (arg.starts_with("--")) {
      err << "brixel-cli: import: unknown option " << arg << '\n';
      return std::nullopt;
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2 || request.options.Size == 0) {
    err << "brixel-cli: import takes PICTURE OUT and --size N\n";
    return std::nullopt;
  }
  request.picture = files[0];
  request.output = files[1];
  return request;
}

// The picture to import. A drawing is rendered only as large as the image (resized into it, or
// its top-left corner when clipped), never at its own size, which may be thousands of pixels
// on a side.
LoadedPicture LoadImported(const ImportRequest& request) {
  const Bytes data = ReadWholeFile(request.picture);
  if (!IsSvgDrawing(data, request.picture)) return LoadPictureFile(request.picture);
  RenderedDrawing drawing;
  std::string message;
  const int size = request.options.Size;
  const bool rendered = request.options.Clip ? RenderDrawingCornerInDecoderProgram(data, size, drawing, message)
                                             : RenderDrawingInDecoderProgram(data, {size}, drawing, message);
  if (!rendered) RaiseInvalidPicture(message);
  LoadedPicture picture = std::move(drawing.Pictures[0]);
  picture.Warnings = std::move(drawing.Warnings);
  DropOpaqueAlpha(picture);
  return picture;
}

}  // namespace

int Import(const std::vector<std::string>& args, std::ostream& err) {
  const std::optional<ImportRequest> request = ParseImport(args, err);
  if (!request) return kExitUsage;
  const std::string outType = DocumentType(request->output);
  if (outType != "ICO" && outType != "CUR") {
    err << "brixel-cli: " << request->output << ": import writes .ico or .cur files\n";
    return kExitUsage;
  }
  LoadedPicture picture;
  if (!RunOnFile(request->picture, "read", err, [&] { picture = LoadImported(*request); })) return kExitFailure;
  TellWarnings(request->picture, picture.Warnings, err);

  cIco document;
  std::error_code error;
  if (fs::exists(request->output, error) && !document.OpenIcon(request->output)) {
    err << "brixel-cli: " << request->output << ": exists but cannot be read as an icon or cursor\n";
    return kExitFailure;
  }
  // Every entry of the file stays, those that cannot be shown as they are.
  NoteKeptEntries(request->output, document, "written back unchanged", err, request->output, true);
  const ImportPreview preview = MakeImportPreview(picture, request->options);
  if (!RunOnFile(request->output, "written", err,
                 [&] { AppendImportedImage(document, preview, request->options.BitDepth); })) {
    return kExitFailure;
  }
  if (!document.SaveIcon(request->output)) {
    err << "brixel-cli: " << request->output << ": cannot be written\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace brixel::cli
