#include "AniCommand.h"

#include <charconv>
#include <cstdint>
#include <filesystem>

#include "Commands.h"
#include "ErrorReport.h"
#include "IcoFile.h"
#include "XcursorFile.h"
#include "cAni.h"
#include "cIco.h"

namespace brixel::cli {
namespace {

// The images of a cursor, icon or animated cursor, and the animation of the last; nothing
// (with a message on err) when it cannot be read.
bool ReadCursor(const std::string& in, cAni& animated, cIco& still, bool& isAnimated, std::ostream& err) {
  const std::string type = DocumentType(in);
  isAnimated = type == "ANI";
  if (type != "ANI" && type != "ICO" && type != "CUR") {
    err << "brixel-cli: " << in << ": not an icon or cursor file name (.ico, .cur, .ani)\n";
    return false;
  }
  if (isAnimated ? animated.OpenAni(in) : still.OpenIcon(in)) return true;
  err << "brixel-cli: " << in << ": cannot be read\n";
  return false;
}

// Writes in as an Xcursor file at out; false with a message on err when it cannot.
bool WriteXcursor(const std::string& in, const std::string& out, std::ostream& err) {
  cAni animated;
  cIco still;
  bool isAnimated = false;
  if (!ReadCursor(in, animated, still, isAnimated, err)) return false;
  try {
    WriteFileReplacing(out, isAnimated ? BuildXcursorFile(animated.Images(), &animated.Info())
                                       : BuildXcursorFile(still.Images(), nullptr));
    return true;
  } catch (const BackEndError& e) {
    err << "brixel-cli: " << out << ": " << e.Description() << '\n';
    return false;
  }
}

bool Save(cAni& cursor, const std::string& out, std::ostream& err) {
  if (cursor.SaveAni(out)) return true;
  err << "brixel-cli: " << out << ": cannot be written\n";
  return false;
}

// A rate in jiffies: a whole number from 1 up.
bool ParseRate(const std::string& text, std::int32_t& rate) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, rate);
  return error == std::errc() && stop == end && rate >= 1;
}

}  // namespace

int ConvertToAni(const std::string& in, const std::string& out, std::ostream& err) {
  const std::string type = DocumentType(in);
  cAni cursor;
  if (type == "ANI") {
    if (!cursor.OpenAni(in)) {
      err << "brixel-cli: " << in << ": cannot be read\n";
      return kExitFailure;
    }
  } else if (type == "ICO" || type == "CUR") {
    cIco icon;
    if (!icon.OpenIcon(in)) {
      err << "brixel-cli: " << in << ": cannot be read\n";
      return kExitFailure;
    }
    for (const IconImage& image : icon.Images()) cursor.AppendFrame({image});
    cursor.DisplayRate(kDefaultAniRate);
  } else {
    err << "brixel-cli: " << in << ": not an icon or cursor file name (.ico, .cur, .ani)\n";
    return kExitFailure;
  }
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
  std::int32_t rate = kDefaultAniRate;
  if (out.empty() || DocumentType(out) != "ANI" || frames.empty() ||
      (!rateText.empty() && !ParseRate(rateText, rate))) {
    err << "brixel-cli: convert --ani OUT.ani takes [--rate N] (jiffies, 1 or more) and one or "
           "more FRAME files\n";
    return kExitUsage;
  }
  cAni cursor;
  cursor.DisplayRate(rate);
  for (const std::string& frame : frames) {
    const std::string type = DocumentType(frame);
    if (type != "ICO" && type != "CUR") {
      err << "brixel-cli: " << frame << ": a frame must be an icon or cursor (.ico, .cur)\n";
      return kExitFailure;
    }
    cIco icon;
    if (!icon.OpenIcon(frame)) {
      err << "brixel-cli: " << frame << ": cannot be read\n";
      return kExitFailure;
    }
    if (cursor.IconCount() + icon.IconCount() > INT16_MAX) {
      err << "brixel-cli: " << out << ": too many images\n";
      return kExitFailure;
    }
    cursor.AppendFrame(icon.Images());
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
  try {
    WriteFileReplacing((folder / "index.theme").string(), Bytes(index.begin(), index.end()));
  } catch (const BackEndError& e) {
    err << "brixel-cli: " << (folder / "index.theme").string() << ": " << e.Description() << '\n';
    return kExitFailure;
  }
  return failed == 0 ? kExitOk : kExitFailure;
}

}  // namespace brixel::cli
