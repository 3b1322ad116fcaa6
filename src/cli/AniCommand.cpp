#include "AniCommand.h"

#include <cstdint>
#include <filesystem>

#include "AsciiText.h"
#include "Commands.h"
#include "FileFailure.h"
#include "IcoFile.h"
#include "OpenedDocument.h"
#include "XcursorFile.h"
#include "cAni.h"

namespace brixel::cli {
namespace {

// Writes in as an Xcursor file at out; false with a message on err when it cannot.
bool WriteXcursor(const std::string& in, const std::string& out, std::ostream& err) {
  const std::optional<OpenedDocument> opened = OpenForCli(in, err);
  if (!opened) return false;
  NoteKeptEntries(in, *opened->document, "left out of the Xcursor file", err, out);
  const AniInfo* animation = opened->animated ? &opened->animated->Info() : nullptr;
  return RunOnFile(out, "written", err, [&] {
    WriteFileReplacing(out, BuildXcursorFile(opened->document->Images(), animation));
  });
}

bool Save(cAni& cursor, const std::string& out, std::ostream& err) {
  if (cursor.SaveAni(out)) return true;
  err << "brixel-cli: " << out << ": cannot be written\n";
  return false;
}

}  // namespace

int ConvertToAni(const std::string& in, const std::string& out, std::ostream& err) {
  const std::optional<OpenedDocument> opened = OpenForCli(in, err);
  if (!opened) return kExitFailure;
  NoteKeptEntries(in, *opened->document, "written back unchanged", err, out);
  if (opened->animated) return Save(*opened->animated, out, err) ? kExitOk : kExitFailure;
  cAni cursor;
  cursor.AppendFramesOf(opened->document->Images());
  return Save(cursor, out, err) ? kExitOk : kExitFailure;
}

int BuildAni(const std::vector<std::string>& args, std::ostream& err) {
  std::string out;
  std::string rateText;
  std::vector<std::string> frames;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--ani" || args[i] == "--rate") && i + 1 < args.size()) {
      (args[i] == "--ani" ? out : rateText) = args[i + 1];
      ++i;
    } else {
      frames.push_back(args[i]);
    }
  }
  // A rate in jiffies: a whole number from 1 up.
  const std::optional<int> rate = rateText.empty() ? kDefaultAniRate : WholeNumber(rateText);
  if (out.empty() || DocumentType(out) != "ANI" || frames.empty() || !rate || *rate < 1) {
    err << "brixel-cli: convert --ani OUT.ani takes [--rate N] (jiffies, 1 or more) and one or "
           "more FRAME files\n";
    return kExitUsage;
  }
  cAni cursor;
  cursor.DisplayRate(*rate);
  for (const std::string& frame : frames) {
    const std::optional<OpenedDocument> icon = OpenForCli(frame, err);
    if (!icon) return kExitFailure;
    if (icon->animated) {
      err << "brixel-cli: " << frame << ": a frame must be an icon or cursor (.ico, .cur)\n";
      return kExitFailure;
    }
    NoteKeptEntries(frame, *icon->document, "written back unchanged", err, out);
    if (cursor.IconCount() + icon->document->IconCount() > INT16_MAX) {
      err << "brixel-cli: " << out << ": too many images\n";
      return kExitFailure;
    }
    cursor.AppendFrame(icon->document->Images());
  }
  return Save(cursor, out, err) ? kExitOk : kExitFailure;
}

int ConvertToXcursor(const std::string& in, const std::string& out, std::ostream& err) {
  return WriteXcursor(in, out, err) ? kExitOk : kExitFailure;
}

int BuildTheme(const std::vector<std::string>& args, std::ostream& err) {
  namespace fs = std::filesystem;
  std::vector<std::string> rest;
  for (const std::string& a : args) {
    if (a != "--theme") rest.push_back(a);
  }
  if (rest.size() < 3 || rest[1].empty() || rest[1].find_first_of("\r\n") != std::string::npos) {
    err << "brixel-cli: convert --theme takes DIR, NAME and one or more FILEs named after their cursors\n";
    return kExitUsage;
  }
  const fs::path folder = rest[0];
  std::error_code error;
  fs::create_directories(folder / "cursors", error);
  if (error) {
    err << "brixel-cli: " << (folder / "cursors").string() << ": " << error.message() << '\n';
    return kExitFailure;
  }
  int failed = 0;
  for (std::size_t i = 2; i < rest.size(); ++i) {
    const fs::path out = folder / "cursors" / fs::path(rest[i]).stem();
    if (!WriteXcursor(rest[i], out.string(), err)) ++failed;
  }
  const std::string index = "[Icon Theme]\nName=" + rest[1] + "\n";
  const std::string indexPath = (folder / "index.theme").string();
  if (!RunOnFile(indexPath, "written", err,
                 [&] { WriteFileReplacing(indexPath, Bytes(index.begin(), index.end())); })) {
    return kExitFailure;
  }
  return failed == 0 ? kExitOk : kExitFailure;
}

}  // namespace brixel::cli
