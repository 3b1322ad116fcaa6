#include "Commands.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "AlphaChannel.h"
#include "AniCommand.h"
#include "AsciiText.h"
#include "CapturedOutput.h"
#include "Documents.h"
#include "cFileInfo.h"
#include "ErrorReport.h"
#include "FileFailure.h"
#include "IcnsFile.h"
#include "IcoFile.h"
#include "IconSetCommand.h"
#include "ImportCommand.h"
#include "InterruptWatch.h"
#include "JsonWriter.h"
#include "OpenedDocument.h"
#include "OrderedWork.h"
#include "PamWriter.h"
#include "ProgramCommand.h"
#include "ProgramResources.h"
#include "ThumbnailCommand.h"
#include "TrapErrors.h"
#include "XcursorCommand.h"
#include "XcursorFile.h"
#include "XcursorReader.h"
#include "Version.h"
#include "Windows1252.h"

namespace brixel::cli {
namespace {

constexpr const char* kUsage =
    "Usage: brixel-cli COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  info FILE [--json]  type of FILE and, per image, width, height, bit depth,\n"
    "                      \"png\" for an entry stored as PNG, \"alpha\" for an\n"
    "                      image that keeps alpha, the planes and bit count of an\n"
    "                      icon's entry or a cursor's hot spot, and the palette\n"
    "                      size of a 1-, 4- or 8-bit image; an entry kept as it\n"
    "                      is, with the reason it cannot be shown; for an\n"
    "                      animated cursor the images are its frames' images,\n"
    "                      followed by its texts, default rate, rates and\n"
    "                      sequence (--json: and its nine header values)\n"
    "  convert IN OUT      open IN and save it as OUT; the type (icon, cursor or\n"
    "                      animated cursor) follows OUT's extension (.ico, .cur,\n"
    "                      .ani); an animated cursor's frames become the images\n"
    "                      of an icon or cursor, and an icon's images the frames\n"
    "                      of an animated cursor; entries that cannot be shown\n"
    "                      are written back unchanged, as standard error says\n"
    "  convert IN OUT.xcursor\n"
    "                      IN as an Xcursor file for Linux desktops: each image\n"
    "                      at its size with its hot spot, an animated cursor's\n"
    "                      steps with their rates in milliseconds\n"
    "  convert --theme DIR NAME FILE...\n"
    "                      a cursor theme folder DIR: index.theme naming it NAME,\n"
    "                      and cursors/BASE, the Xcursor file of each FILE named\n"
    "                      after its cursor (left_ptr.cur, watch.ani, ...)\n"
    "  convert IN OUT.icns  IN as a macOS icon: its square images of 16, 32, 48, 64,\n"
    "                      128, 256, 512 and 1024 pixels as PNG entries (48 as\n"
    "                      run-length RGB with a mask), 32, 64, 256 and 512 also\n"
    "                      as the @2x entry of half their size; other images are\n"
    "                      left out, as standard error says; IN may be an .icns\n"
    "                      file too (convert IN.icns OUT.ico)\n"
    "  convert --ani OUT.ani [--rate N] FRAME...\n"
    "                      an animated cursor of the icons or cursors FRAME, one\n"
    "                      frame each, shown N jiffies (1/60 s) each (default 10)\n"
    "  convert --to DIR [--ext ico|cur] [--jobs N] FILE...\n"
    "                      convert every FILE in one run into DIR, with the same\n"
    "                      base name and the extension given (else its own; .ico\n"
    "                      for an animated cursor, .cur for a Linux cursor);\n"
    "                      failures are reported and the\n"
    "                      rest goes on; of files written to one name, only the\n"
    "                      first is converted; N workers (default: one per core)\n"
    "                      read and build the files, the results in file order\n"
    "  import PICTURE OUT --size N [--depth 1|4|8|24|32] [--clip] [--fit]\n"
    "         [--smooth] [--dither] [--palette]\n"
    "                      make PICTURE (BMP, JPEG, GIF, PNG, WMF, EMF, ICO, CUR)\n"
    "                      an N x N image as the editor imports it: resized with\n"
    "                      its aspect kept (or its top-left corner with --clip),\n"
    "                      reduced to the depth (default 24), appended to OUT\n"
    "                      (.ico or .cur) when it exists, every entry it holds\n"
    "                      kept, else OUT is a new icon or cursor; --fit centres\n"
    "                      it on a transparent square, --smooth averages areas,\n"
    "                      --dither diffuses the reduction's error, --palette\n"
    "                      gives 8 bits the picture's own colours; 32 keeps alpha\n"
    "  dump FILE DIR [--alpha]\n"
    "                      write image i of FILE as DIR/i.pam (RGB_ALPHA): alpha\n"
    "                      255 where a pixel is opaque and 0 elsewhere, or with\n"
    "                      --alpha the alpha the image keeps; an entry that\n"
    "                      cannot be shown is left out, as standard error says\n"
    "  thumbnail IN OUT.png SIZE\n"
    "                      IN as a file manager shows it, as a PNG of at most\n"
    "                      SIZE x SIZE: the image of the smallest size at least\n"
    "                      SIZE (else the largest) and highest depth; for an\n"
    "                      animated cursor, of its first step\n"
    "  iconset OUT PICTURE [--sizes 16,24,32,48,64,256] [--cursor X,Y]\n"
    "  iconset OUT.icns PICTURE [--sizes 16,32,64,128,256,512,1024]\n"
    "                      a new icon or cursor OUT with a 32-bit image with alpha\n"
    "                      of each size made from PICTURE (any picture import\n"
    "                      reads, or SVG); 256 stored as PNG; --cursor gives a\n"
    "                      cursor's hot spot in PICTURE's pixels; a macOS icon\n"
    "                      OUT.icns takes sizes from 16 to 1024 that .icns holds\n"
    "  extract FILE DIR [--type icon|cursor|all] [--name N]\n"
    "                      write each icon and cursor group of the Windows program\n"
    "                      or library FILE (.exe, .dll, .ocx, .cpl, .scr, .mui,\n"
    "                      .icl) as the file it came from: DIR/NAME.ico, .cur or\n"
    "                      .ani, NAME its name or number (with -LANGUAGE when it\n"
    "                      comes in several); only icons or cursors with --type,\n"
    "                      only the groups of that name or number with --name\n"
    "\n"
    "FILE and IN may be icons (.ico), cursors (.cur), animated cursors (.ani),\n"
    "macOS icons (.icns; JPEG 2000 entries through brixel-picture-decoder) or\n"
    "Linux cursors (Xcursor files, known by their content): a cursor of their\n"
    "sizes, or an animated cursor when they have several steps (each frame one\n"
    "step at every size, the delays in whole jiffies, at least 1); info also\n"
    "lists the groups of a Windows program or library.\n"
    "\n"
    "Options:\n"
    "  --help              show this help\n"
    "  --version           show the version\n"
    "  --drop-alpha        read and write 32-bit images without their alpha\n"
    "                      channel (fourth byte 0, PNG entries as bitmaps)\n"
    "  --icns-rle          .icns files also carry run-length RGB entries with\n"
    "                      masks for 16 and 32 pixels, for old readers\n"
    "\n"
    "Exit status: 0 on success, 1 when a file cannot be read or written, 2 for a\n"
    "usage error.\n";

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

// The animated cursor's members beyond its images, as JSON members (with a leading comma). Its
// texts are Windows-1252 in the file.
void PrintAniJson(const cAni& cursor, std::ostream& out) {
  out << ", \"name\": " << JsonString(Windows1252ToUtf8(cursor.CursorName()))
      << ", \"artist\": " << JsonString(Windows1252ToUtf8(cursor.CursorArtist()))
      << ", \"copyright\": " << JsonString(Windows1252ToUtf8(cursor.CursorCopy())) << ", \"header\": ";
  PrintJsonArray(cursor.Header().Values(), out);
  out << ", \"rates\": ";
  PrintJsonArray(cursor.Rates(), out);
  out << ", \"sequence\": ";
  PrintJsonArray(cursor.Sequence(), out);
}

// Whether the images of this document have a hot spot (a cursor's, an animated cursor's
// frames) rather than their planes and bit count in its place (an icon's).
bool HasHotSpots(const OpenedDocument& opened) { return opened.kind != "icon" && opened.kind != kMacIconKind; }

// A directory entry's bytes 4 .. 7 as two 16-bit values: planes and bit count, or hot spot.
std::pair<int, int> EntryPair(const std::array<std::uint8_t, 8>& directory) {
  return {directory[4] | directory[5] << 8, directory[6] | directory[7] << 8};
}

bool HasPalette(int bitDepth) { return bitDepth == 1 || bitDepth == 4 || bitDepth == 8; }

std::string Numbers(const std::vector<std::int32_t>& values) {
  std::string text;
  for (const std::int32_t value : values) {
    if (!text.empty()) text += ' ';
    text += std::to_string(value);
  }
  return text.empty() ? "none" : text;
}

void PrintInfoText(const std::string& path, const OpenedDocument& opened, std::ostream& out) {
  const ImageDocument& doc = *opened.document;
  out << path << ": " << opened.kind << ", " << doc.IconCount() << (doc.IconCount() == 1 ? " image" : " images");
  if (opened.animated) {
    const std::size_t frames = opened.animated->FrameSizes().size();
    out << " in " << frames << (frames == 1 ? " frame" : " frames");
  }
  out << '\n';
  const bool hotSpots = HasHotSpots(opened);
  for (const IconImage& image : doc.Images()) {
    if (image.IsKept()) {
      const KeptEntry& kept = *image.Kept.entry;
      const auto [first, second] = EntryPair(kept.directory);
      out << "  " << kept.width << "x" << kept.height << ", kept as it is: " << kept.reason;
      if (opened.kind == kMacIconKind) out << ", entry " << std::string(kept.directory.begin(), kept.directory.begin() + 4);
      else out << ", " << (hotSpots ? "hot spot " : "planes ") << first << (hotSpots ? "," : ", bit count ") << second;
      out << '\n';
      continue;
    }
    out << "  " << image.Width << "x" << image.Height() << ", " << image.BitDepth << " bit"
        << (image.StoredAsPng ? ", png" : "") << (image.CarriesAlpha() ? ", alpha" : "");
    if (hotSpots) out << ", hot spot " << image.xHotSpot << "," << image.yHotSpot;
    else if (opened.kind != kMacIconKind) out << ", planes " << image.xHotSpot << ", bit count " << image.yHotSpot;
    if (HasPalette(image.BitDepth)) out << ", palette " << image.Palette.size();
    out << '\n';
  }
  if (const cAni* cursor = opened.animated) {
    for (const auto& [label, text] : {std::pair<const char*, const std::string&>{"name", cursor->CursorName()},
                                      {"artist", cursor->CursorArtist()},
                                      {"copyright", cursor->CursorCopy()}}) {
      if (!text.empty()) out << "  " << label << " " << JsonString(Windows1252ToUtf8(text)) << '\n';
    }
    const std::int32_t rate = cursor->Header().DisplayRate;
    out << "  default rate " << rate << " jiffies (" << JiffiesToMilliseconds(rate) << " ms)\n";
    out << "  rates " << Numbers(cursor->Rates()) << '\n';
    out << "  sequence " << Numbers(cursor->Sequence()) << '\n';
  }
}

void PrintInfoJson(const std::string& path, const OpenedDocument& opened, std::ostream& out) {
  const ImageDocument& doc = *opened.document;
  out << "{\"path\": " << JsonString(path) << ", \"type\": " << JsonString(opened.kind);
  if (opened.animated) PrintAniJson(*opened.animated, out);
  out << ", \"images\": [";
  const bool hotSpots = HasHotSpots(opened);
  const auto pair = [&](int first, int second) {
    if (hotSpots) out << ", \"xHotSpot\": " << first << ", \"yHotSpot\": " << second;
    else out << ", \"planes\": " << first << ", \"bitCount\": " << second;
  };
  bool first = true;
  for (const IconImage& image : doc.Images()) {
    out << (first ? "" : ", ");
    first = false;
    if (image.IsKept()) {
      const KeptEntry& kept = *image.Kept.entry;
      out << "{\"width\": " << kept.width << ", \"height\": " << kept.height
          << ", \"kept\": " << JsonString(kept.reason);
      const auto [a, b] = EntryPair(kept.directory);
      pair(a, b);
      out << "}";
      continue;
    }
    out << "{\"width\": " << image.Width << ", \"height\": " << image.Height()
        << ", \"bitDepth\": " << image.BitDepth;
    pair(image.xHotSpot, image.yHotSpot);
    if (HasPalette(image.BitDepth)) out << ", \"paletteSize\": " << image.Palette.size();
    out << ", \"png\": " << (image.StoredAsPng ? "true" : "false")
        << ", \"alpha\": " << (image.CarriesAlpha() ? "true" : "false") << "}";
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
  if (IsExecutableFile(files[0])) return ProgramInfo(files[0], json, out, err);
  const std::optional<OpenedDocument> opened = OpenForCli(files[0], err);
  if (!opened) return kExitFailure;
  if (json) PrintInfoJson(files[0], *opened, out);
  else PrintInfoText(files[0], *opened, out);
  return kExitOk;
}

// The images of a document as an icon document, which can be saved: an animated cursor's
// frames become its images. A macOS icon's other entries come along.
cIco AsIconDocument(const ImageDocument& source) {
  cIco target;
  for (const IconImage& image : source.Images()) target.AppendImage(image);
  if (const auto* icon = dynamic_cast<const cIco*>(&source)) target.IcnsOthers(icon->IcnsOthers());
  return target;
}

// Whether the document's images fit in an icon or cursor file; says why not on err. Only an
// animated cursor has more: hundreds of frames.
bool FitsIconFile(const std::string& in, const ImageDocument& document, std::ostream& err) {
  const auto& images = document.Images();
  // As BuildIconFile writes them.
  const auto written = images.size() - static_cast<std::size_t>(std::count_if(images.begin(), images.end(), IsIcnsKeptEntry));
  if (written <= kMostIconFileImages) return true;
  err << "brixel-cli: " << in << ": its " << written << " images are more than an icon or cursor file holds ("
      << kMostIconFileImages << "); an .ani file keeps them all\n";
  return false;
}

int ConvertOne(const std::string& in, const std::string& out, std::ostream& err) {
  if (DocumentType(out) == "ANI") return ConvertToAni(in, out, err);
  const std::optional<OpenedDocument> opened = OpenForCli(in, err);
  if (!opened) return kExitFailure;
  if (!IsIcnsPath(out) && !FitsIconFile(in, *opened->document, err)) return kExitFailure;
  NoteKeptEntries(in, *opened->document, "written back unchanged", err, out, true);
  cIco target = AsIconDocument(*opened->document);
  if (!target.SaveIcon(out)) {
    err << "brixel-cli: " << out << ": cannot be written\n";
    return kExitFailure;
  }
  return kExitOk;
}

// One file of a batch as a worker leaves it: what it said, and its new file written beside
// the target, not yet renamed over it.
struct BatchItem {
  std::string out;
  CapturedOutput said;
  std::optional<PendingReplace> prepared;
};

// convert --to DIR [--ext ico|cur] FILE...: every file read and written in this one process,
// the reading, building and writing on every core, what is said and the renames in the order
// of the files, so that the outcome is the same with any number of workers. The new files are
// written beside their targets first; when any of them replaces a file, one flush of the file
// system then makes all of them durable before any is renamed. Interrupted (Ctrl+C) before the
// renames, flush included, it stops between files, removes what it has written and changes no
// file; interrupted during the renames, it finishes them. Either way it ends by the signal.
int ConvertBatch(const std::string& folder, const std::string& extension,
                 const std::vector<std::string>& files, unsigned workers, std::ostream& err) {
  const bool showProgress = isatty(STDERR_FILENO) && files.size() >= 20;
  const InterruptWatch interrupt;
  std::vector<BatchItem> items(files.size());
  const auto produce = [&](std::size_t i) {
    if (interrupt.Signal()) return;
    BatchItem& item = items[i];
    const ThreadCapture capture(item.said);
    const std::optional<OpenedDocument> opened = OpenForCli(files[i], item.said.Err());
    // Its own extension, but an animated cursor's frames become an icon; a Linux cursor's
    // sizes a cursor.
    const std::filesystem::path in = files[i];
    const bool cursor = AsciiUpper(in.extension().string()) == ".CUR" || (opened && opened->linuxCursor);
    const std::string ext = !extension.empty() ? extension : cursor ? "cur" : "ico";
    item.out = (std::filesystem::path(folder) / in.stem()).string() + "." + ext;
    if (!opened || !FitsIconFile(files[i], *opened->document, item.said.Err())) return;
    NoteKeptEntries(files[i], *opened->document, "written back unchanged", item.said.Err(), item.out);
    RunOnFile(item.out, "written", item.said.Err(), [&] {
      // A batch never asks: a read-only target is a failure of that file.
      if (IsReadOnlyFile(item.out)) {
        throw BackEndError(static_cast<int>(ErrorCode::PermissionDenied), "the file is read only");
      }
      item.prepared.emplace(
          PrepareReplacing(item.out, BuildIconFile(opened->document->Images(), FileTypeForPath(item.out))));
    });
  };

  std::vector<PendingReplace> written;
  // Files of the same base name would be written to the same place: the first one keeps it,
  // the temporary files of the others go.
  std::map<std::string, std::string> writtenFrom;  // target, the file written there
  int failed = 0;
  const auto consume = [&](std::size_t i) {
    BatchItem& item = items[i];
    if (interrupt.Signal()) return;
    if (showProgress) err << "\r" << i + 1 << " of " << files.size() << std::flush;
    if (const auto earlier = writtenFrom.find(item.out); earlier != writtenFrom.end()) {
      err << "brixel-cli: " << files[i] << ": not converted: " << item.out << " is where "
          << earlier->second << " goes\n";
      ++failed;
      item.prepared.reset();
      return;
    }
    item.said.Replay(err);
    if (!item.prepared) {
      ++failed;
      return;
    }
    written.push_back(std::move(*item.prepared));
    item.prepared.reset();
    writtenFrom.emplace(item.out, files[i]);
  };
  RunInOrder(files.size(), workers, produce, consume);

  if (showProgress) err << '\n';
  // The files written so far go with items and written.
  const auto stopped = [&](int signal) {
    err << "brixel-cli: interrupted (" << strsignal(signal) << "): no file was written\n";
    return kExitSignalBase + signal;
  };
  if (const int signal = interrupt.Signal()) return stopped(signal);
  const bool replaces = std::any_of(written.begin(), written.end(),
                                    [](const PendingReplace& file) { return file.ReplacesFile(); });
  if (replaces && !RunOnFile(folder, "flushed", err, [&] { FlushFileSystem(folder); })) {
    return kExitFailure;  // nothing replaced: the pending files are removed
  }
  if (const int signal = interrupt.Signal()) return stopped(signal);
  for (PendingReplace& file : written) {
    if (!RunOnFile(file.Path(), "written", err, [&] { file.Commit(); })) ++failed;
  }
  if (const int signal = interrupt.Signal()) {
    err << "brixel-cli: interrupted (" << strsignal(signal) << ") once every file was written\n";
    return kExitSignalBase + signal;
  }
  return failed == 0 ? kExitOk : kExitFailure;
}

int Convert(const std::vector<std::string>& args, std::ostream& err) {
  if (std::find(args.begin(), args.end(), "--ani") != args.end()) return BuildAni(args, err);
  if (std::find(args.begin(), args.end(), "--theme") != args.end()) return BuildTheme(args, err);
  if (std::find(args.begin(), args.end(), "--from-theme") != args.end()) return ConvertFromTheme(args, err);
  std::string folder;
  std::string extension;
  std::string jobs;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--to" || args[i] == "--ext" || args[i] == "--jobs") && i + 1 < args.size()) {
      (args[i] == "--to" ? folder : args[i] == "--ext" ? extension : jobs) = args[i + 1];
      ++i;
    } else {
      files.push_back(args[i]);
    }
  }
  const std::optional<int> workers = jobs.empty() ? std::optional<int>(DefaultWorkers()) : WholeNumber(jobs);
  if (!workers || *workers < 1 || (!jobs.empty() && folder.empty())) {
    err << "brixel-cli: convert --to DIR takes --jobs N with N from 1\n";
    return kExitUsage;
  }
  if (folder.empty()) {
    if (files.size() != 2 || !extension.empty()) {
      err << "brixel-cli: convert takes IN and OUT, or --to DIR [--ext ico|cur] FILE...\n";
      return kExitUsage;
    }
    if (IsXcursorPath(files[1])) return ConvertToXcursor(files[0], files[1], err);
    const std::string outType = DocumentType(files[1]);
    if (outType != "ICO" && outType != "CUR" && outType != "ANI" && !IsIcnsPath(files[1])) {
      err << "brixel-cli: " << files[1] << ": convert writes .ico, .cur, .ani, .icns or .xcursor files\n";
      return kExitUsage;
    }
    return ConvertOne(files[0], files[1], err);
  }
  const std::string kind = AsciiUpper(extension);
  extension = kind == "ICO" ? "ico" : kind == "CUR" ? "cur" : extension;
  if (files.empty() || (!extension.empty() && extension != "ico" && extension != "cur")) {
    err << "brixel-cli: convert --to DIR takes [--ext ico|cur] [--jobs N] and one or more FILEs\n";
    return kExitUsage;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    err << "brixel-cli: " << folder << ": not a folder\n";
    return kExitFailure;
  }
  return ConvertBatch(folder, extension, files, static_cast<unsigned>(*workers), err);
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
  const ImageDocument* doc = opened->document.get();
  const std::filesystem::path dir = args[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  NoteKeptEntries(args[0], *doc, "not dumped", err);
  for (std::size_t i = 0; i < doc->Images().size(); ++i) {
    if (doc->Images()[i].IsKept()) continue;
    const std::string target = (dir / (std::to_string(i) + ".pam")).string();
    if (!RunOnFile(target, "written", err,
                   [&] { WriteFileReplacing(target, EncodePam(doc->Images()[i], keptAlpha)); })) {
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
  const auto runLength = std::find(args.begin(), args.end(), "--icns-rle");
  if (runLength != args.end()) {
    args.erase(runLength);
    IcnsRunLengthEntries(true);
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
  if (command == "thumbnail") return Thumbnail(rest, err);
  if (command == "iconset") return IconSet(rest, err);
  if (command == "extract") return Extract(rest, err);
  err << "brixel-cli: unknown command '" << command << "'\n\n" << kUsage;
  return kExitUsage;
}

}  // namespace brixel::cli
