#include "Commands.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "AlphaChannel.h"
#include "Documents.h"
#include "ErrorReport.h"
#include "IcoFile.h"
#include "ImportCommand.h"
#include "JsonWriter.h"
#include "PamWriter.h"
#include "Version.h"

namespace brixel::cli {
namespace {

constexpr const char* kUsage =
    "Usage: brixel-cli COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  info FILE [--json]  type of FILE and, per image, width, height, bit depth,\n"
    "                      \"png\" for an entry stored as PNG, \"alpha\" for an\n"
    "                      image that keeps alpha, hot spot and palette size; for\n"
    "                      an animated cursor the images are its frames' images,\n"
    "                      and --json adds its texts, header values, rates and\n"
    "                      sequence\n"
    "  convert IN OUT      open IN and save it as OUT; the type (icon or cursor)\n"
    "                      follows OUT's extension; an animated cursor's frames\n"
    "                      become the images of the icon or cursor written\n"
    "  import PICTURE OUT --size N [--depth 1|4|8|24] [--clip]\n"
    "                      make PICTURE (BMP, JPEG, GIF, PNG, WMF, EMF, ICO, CUR)\n"
    "                      an N x N image as the editor imports it: resized with\n"
    "                      its aspect kept (or its top-left corner with --clip),\n"
    "                      reduced to the depth (default 24), appended to OUT\n"
    "                      when it exists, else OUT is a new icon or cursor\n"
    "  dump FILE DIR [--alpha]\n"
    "                      write image i of FILE as DIR/i.pam (RGB_ALPHA): alpha\n"
    "                      255 where a pixel is opaque and 0 elsewhere, or with\n"
    "                      --alpha the alpha the image keeps\n"
    "\n"
    "FILE and IN may be icons (.ico), cursors (.cur) or animated cursors (.ani);\n"
    "animated cursors are read only.\n"
    "\n"
    "Options:\n"
    "  --help              show this help\n"
    "  --version           show the version\n"
    "  --drop-alpha        read and write 32-bit images without their alpha\n"
    "                      channel (fourth byte 0, PNG entries as bitmaps)\n"
    "\n"
    "Exit status: 0 on success, 1 when a file cannot be read or written, 2 for a\n"
    "usage error.\n";

// The file's own type word says whether an icon file holds icons or cursors.
std::string IconFileKind(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char head[4] = {};
  if (file.read(head, sizeof head) && head[2] == 2 && head[3] == 0) return "cursor";
  return "icon";
}

// A document opened for a command: its images, and the animated cursor's own values when it
// is one.
struct OpenedDocument {
  const ImageDocument* images = nullptr;
  const cAni* animated = nullptr;
  std::string kind;  // "icon", "cursor" or "animated cursor"
};

// Opens path through the document lists as the editor does; nothing (with a message on err)
// when it cannot be opened.
std::optional<OpenedDocument> OpenForCli(const std::string& path, std::ostream& err) {
  const std::string type = DocumentType(path);
  if (type != "ICO" && type != "CUR" && type != "ANI") {
    err << "brixel-cli: " << path << ": not an icon or cursor file name (.ico, .cur, .ani)\n";
    return std::nullopt;
  }
  if (!OpenDocument(path)) {
    err << "brixel-cli: " << path << ": cannot be read\n";
    return std::nullopt;
  }
  if (type == "ANI") {
    AniDocuments.Current = static_cast<std::int16_t>(AniDocuments.Count() - 1);
    const cAni& cursor = AniDocuments.CurrentDocument();
    return OpenedDocument{&cursor, &cursor, "animated cursor"};
  }
  IconDocuments.Current = static_cast<std::int16_t>(IconDocuments.Count() - 1);
  return OpenedDocument{&IconDocuments.CurrentDocument(), nullptr, IconFileKind(path)};
}

template <class Values>
void PrintJsonArray(const Values& values, std::ostream& out) {
  out << '[';
  bool first = true;
  for (const auto value : values) {
    out << (first ? "" : ", ") << value;
    first = false;
  }
  out << ']';
}

// The animated cursor's members beyond its images, as JSON members (with a leading comma).
void PrintAniJson(const cAni& cursor, std::ostream& out) {
  out << ", \"name\": " << JsonString(cursor.CursorName())
      << ", \"artist\": " << JsonString(cursor.CursorArtist())
      << ", \"copyright\": " << JsonString(cursor.CursorCopy()) << ", \"header\": ";
  PrintJsonArray(cursor.Header().Values(), out);
  out << ", \"rates\": ";
  PrintJsonArray(cursor.Rates(), out);
  out << ", \"sequence\": ";
  PrintJsonArray(cursor.Sequence(), out);
}

void PrintInfoText(const std::string& path, const std::string& kind, const ImageDocument& doc,
                   std::ostream& out) {
  out << path << ": " << kind << ", " << doc.IconCount() << (doc.IconCount() == 1 ? " image" : " images")
      << '\n';
  for (const IconImage& image : doc.Images()) {
    out << "  " << image.Width << "x" << image.Height() << ", " << image.BitDepth
        << " bit" << (image.StoredAsPng ? ", png" : "") << (image.CarriesAlpha() ? ", alpha" : "")
        << ", hot spot " << image.xHotSpot << "," << image.yHotSpot << ", palette "
        << image.Palette.size() << '\n';
  }
}

void PrintInfoJson(const std::string& path, const OpenedDocument& opened, std::ostream& out) {
  const ImageDocument& doc = *opened.images;
  out << "{\"path\": " << JsonString(path) << ", \"type\": " << JsonString(opened.kind);
  if (opened.animated) PrintAniJson(*opened.animated, out);
  out << ", \"images\": [";
  bool first = true;
  for (const IconImage& image : doc.Images()) {
    out << (first ? "" : ", ") << "{\"width\": " << image.Width
        << ", \"height\": " << image.Height() << ", \"bitDepth\": " << image.BitDepth
        << ", \"xHotSpot\": " << image.xHotSpot << ", \"yHotSpot\": " << image.yHotSpot
        << ", \"paletteSize\": " << image.Palette.size()
        << ", \"png\": " << (image.StoredAsPng ? "true" : "false")
        << ", \"alpha\": " << (image.CarriesAlpha() ? "true" : "false") << "}";
    first = false;
  }
  out << "]}\n";
}

int Info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--json") json = true;
    else files.push_back(a);
  }
  if (files.size() != 1) {
    err << "brixel-cli: info takes one FILE\n";
    return kExitUsage;
  }
  const std::optional<OpenedDocument> opened = OpenForCli(files[0], err);
  if (!opened) return kExitFailure;
  if (json) PrintInfoJson(files[0], *opened, out);
  else PrintInfoText(files[0], opened->kind, *opened->images, out);
  return kExitOk;
}

int Convert(const std::vector<std::string>& args, std::ostream& err) {
  if (args.size() != 2) {
    err << "brixel-cli: convert takes IN and OUT\n";
    return kExitUsage;
  }
  if (DocumentType(args[1]) == "ANI") {
    err << "brixel-cli: " << args[1] << ": animated cursors cannot be written\n";
    return kExitFailure;
  }
  const std::optional<OpenedDocument> opened = OpenForCli(args[0], err);
  if (!opened) return kExitFailure;
  // An animated cursor is read only: its images go into an icon document, which is saved.
  cIco target;
  for (const IconImage& image : opened->images->Images()) {
    target.AddImage(1, 1, 1, -1);
    target.Image(static_cast<std::int16_t>(target.IconCount() - 1)) = image;
  }
  if (!target.SaveIcon(args[1])) {
    err << "brixel-cli: " << args[1] << ": cannot be written\n";
    return kExitFailure;
  }
  return kExitOk;
}

int Dump(std::vector<std::string> args, std::ostream& err) {
  const auto alphaOption = std::find(args.begin(), args.end(), "--alpha");
  const bool keptAlpha = alphaOption != args.end();
  if (keptAlpha) args.erase(alphaOption);
  if (args.size() != 2) {
    err << "brixel-cli: dump takes FILE and DIR\n";
    return kExitUsage;
  }
  const std::optional<OpenedDocument> opened = OpenForCli(args[0], err);
  if (!opened) return kExitFailure;
  const ImageDocument* doc = opened->images;
  const std::filesystem::path dir = args[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  for (std::size_t i = 0; i < doc->Images().size(); ++i) {
    const std::string target = (dir / (std::to_string(i) + ".pam")).string();
    try {
      WriteFileReplacing(target, EncodePam(doc->Images()[i], keptAlpha));
    } catch (const BackEndError& e) {
      err << "brixel-cli: " << target << ": " << e.Description() << '\n';
      return kExitFailure;
    }
  }
  return kExitOk;
}

}  // namespace

int Run(const std::vector<std::string>& givenArgs, std::ostream& out, std::ostream& err) {
  // The window's "Keep alpha channel" option, off for this run; it may come anywhere.
  std::vector<std::string> args = givenArgs;
  const auto dropAlpha = std::find(args.begin(), args.end(), "--drop-alpha");
  if (dropAlpha != args.end()) {
    args.erase(dropAlpha);
    KeepAlpha(false);
  }
  if (args.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage;
    return kExitOk;
  }
  if (command == "--version") {
    out << "brixel-cli " << kVersionMajor << "." << kVersionMinor << "." << kVersionRevision << '\n';
    return kExitOk;
  }
  if (command == "info") return Info(rest, out, err);
  if (command == "convert") return Convert(rest, err);
  if (command == "import") return Import(rest, err);
  if (command == "dump") return Dump(rest, err);
  err << "brixel-cli: unknown command '" << command << "'\n\n" << kUsage;
  return kExitUsage;
}

}  // namespace brixel::cli
