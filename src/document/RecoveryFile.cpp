#include "RecoveryFile.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "AniFile.h"
#include "ErrorReport.h"
#include "IcnsFile.h"
#include "IcoFile.h"
#include "Prompter.h"
#include "cAni.h"
#include "cIco.h"

namespace brixel {
namespace {

// A header of text lines, then the file's bytes to the end:
//   brixel-recovery 1 / kind icon|ani / current N / path LENGTH, the path's bytes on their own /
//   mac LENGTH, the bytes of an .icns file, only when a macOS icon's entries go with it (files
//   written before it was known have no such line).
constexpr std::string_view kMagic = "brixel-recovery 1\n";

void AppendText(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

[[noreturn]] void NotARecoveryFile() { Raise(ErrorCode::InvalidPicture); }

// Reads the lines of the header in order.
class HeaderReader {
 public:
  explicit HeaderReader(ByteView bytes) : bytes_(bytes) {}

  std::string_view Line() {
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(at_);
    const auto end = std::find(begin, bytes_.end(), std::uint8_t{'\n'});
    if (end == bytes_.end()) NotARecoveryFile();
    const std::string_view line(reinterpret_cast<const char*>(&*begin),
                                static_cast<std::size_t>(end - begin));
    at_ += line.size() + 1;
    return line;
  }
  // The value of a "key value" line.
  std::string_view Value(std::string_view key) {
    const std::string_view line = Line();
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ' ') {
      NotARecoveryFile();
    }
    return line.substr(key.size() + 1);
  }
  std::size_t Number(std::string_view key) {
    const std::string_view text = Value(key);
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) NotARecoveryFile();
    return value;
  }
  std::string Take(std::size_t length) {
    if (length > bytes_.size() - at_) NotARecoveryFile();
    std::string taken(reinterpret_cast<const char*>(bytes_.data() + at_), length);
    at_ += length;
    return taken;
  }
  ByteView Rest() const { return bytes_.subspan(at_); }
  bool StartsWith(std::string_view text) const {
    const ByteView rest = Rest();
    return rest.size() >= text.size() && std::equal(text.begin(), text.end(), rest.begin());
  }

 private:
  ByteView bytes_;
  std::size_t at_ = 0;
};

}  // namespace

RecoverySnapshot TakeRecoverySnapshot(const cIco& document, const cAni* cursor, int currentImage) {
  RecoverySnapshot snapshot{document.Images(), std::nullopt, document.IconPath(), currentImage,
                            document.IcnsOthers()};
  if (cursor) snapshot.cursor = cursor->Info();
  return snapshot;
}

RecoveryRecord MakeRecoveryRecord(const RecoverySnapshot& snapshot) {
  RecoveryRecord record;
  record.path = snapshot.path;
  record.currentImage = snapshot.currentImage;
  if (snapshot.cursor) {
    record.kind = RecoveryRecord::Kind::AnimatedCursor;
    record.file = BuildAniFile(snapshot.images, *snapshot.cursor);
  } else {
    // A document never saved is kept as a cursor file, whose entries hold the hot spots.
    record.file = BuildIconFile(snapshot.images,
                                record.path.empty() ? 2 : FileTypeForPath(record.path));
    const std::vector<IcnsEntry> macOnly = MacIconOnlyEntries(snapshot.images, snapshot.icnsOthers);
    if (!macOnly.empty()) record.macIconEntries = IcnsFileOf(macOnly);
  }
  return record;
}

bool ReadRecordedIcon(const RecoveryRecord& record, cIco& document) {
  if (!document.ReadIconData(record.file)) return false;
  if (record.macIconEntries.empty()) return true;
  std::vector<IconImage> kept;
  std::vector<IcnsEntry> others;
  try {
    ReadIcnsEntries(record.macIconEntries, kept, nullptr, &others);
  } catch (const BackEndError&) {
    // The images are back; a save as a macOS icon would go without the rest, so the user is told.
    ShowMessage(kApplicationTitle, "The unsaved copy of " + (record.path.empty() ? std::string("a new icon") : record.path) +
                                       " is back, but not what only a macOS icon holds (its information, "
                                       "version, ...): that part of the copy is damaged.");
    return true;
  }
  // Entries that could not be shown when the file was read are kept again the same way.
  for (IconImage& image : kept) {
    if (image.IsKept()) document.AppendImage(std::move(image));
  }
  document.IcnsOthers(std::move(others));
  return true;
}

Bytes EncodeRecovery(const RecoveryRecord& record) {
  Bytes out(kMagic.begin(), kMagic.end());
  out.reserve(record.file.size() + record.path.size() + record.macIconEntries.size() + 64);
  AppendText(out, record.kind == RecoveryRecord::Kind::AnimatedCursor ? "kind ani\n" : "kind icon\n");
  AppendText(out, "current " + std::to_string(std::max(record.currentImage, 0)) + "\n");
  // Paths may hold any byte but NUL, line ends included: the length goes first.
  AppendText(out, "path " + std::to_string(record.path.size()) + "\n");
  AppendText(out, record.path);
  AppendText(out, "\n");
  if (!record.macIconEntries.empty()) {
    AppendText(out, "mac " + std::to_string(record.macIconEntries.size()) + "\n");
    out.insert(out.end(), record.macIconEntries.begin(), record.macIconEntries.end());
    AppendText(out, "\n");
  }
  out.insert(out.end(), record.file.begin(), record.file.end());
  return out;
}

RecoveryRecord DecodeRecovery(ByteView bytes) {
  HeaderReader reader(bytes);
  if (reader.Line() != kMagic.substr(0, kMagic.size() - 1)) NotARecoveryFile();
  RecoveryRecord record;
  const std::string_view kind = reader.Value("kind");
  if (kind == "ani") record.kind = RecoveryRecord::Kind::AnimatedCursor;
  else if (kind != "icon") NotARecoveryFile();
  const std::size_t current = reader.Number("current");
  record.currentImage = static_cast<int>(std::min<std::size_t>(current, 32767));
  record.path = reader.Take(reader.Number("path"));
  if (reader.Take(1) != "\n") NotARecoveryFile();
  if (reader.StartsWith("mac ")) {
    const std::string entries = reader.Take(reader.Number("mac"));
    record.macIconEntries.assign(entries.begin(), entries.end());
    if (reader.Take(1) != "\n") NotARecoveryFile();
  }
  const ByteView file = reader.Rest();
  record.file.assign(file.begin(), file.end());
  return record;
}

}  // namespace brixel
