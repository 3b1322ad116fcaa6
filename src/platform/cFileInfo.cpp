#include "cFileInfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "AsciiText.h"
#include "ErrorReport.h"
#include "FileIO.h"
#include "Prompter.h"

namespace brixel {
namespace {

// The read-only attribute, as the write-permission bits give it.
bool ReadOnlyMode(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

namespace fs = std::filesystem;

// Archive and system have no counterpart in the permission bits; they live in an extended
// attribute of the file. A file that never had one counts as archived, as new files are.
constexpr const char* kAttributeName = "user.brixel.attributes";
constexpr int kStoredBits = cFileInfo::kArchiveBit | cFileInfo::kSystemBit | cFileInfo::kHiddenBit;

[[noreturn]] void RaiseErrno(int err) {
  const int number = ErrorNumberFromErrno(err);
  throw BackEndError(number, ErrorDescription(number));
}

struct stat StatOrRaise(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) RaiseErrno(errno);
  return st;
}

int StoredBits(const std::string& path) {
  char buffer[16] = {};
  const ssize_t n = ::getxattr(path.c_str(), kAttributeName, buffer, sizeof buffer - 1);
  if (n <= 0) return cFileInfo::kArchiveBit;
  return std::atoi(buffer) & kStoredBits;
}

int BitOf(int propType) {
  switch (propType) {
    case cFileInfo::Archive: return cFileInfo::kArchiveBit;
    case cFileInfo::System: return cFileInfo::kSystemBit;
    case cFileInfo::Hidden: return cFileInfo::kHiddenBit;
    case cFileInfo::ReadOnly: return cFileInfo::kReadOnlyBit;
    default: Raise(ErrorCode::InvalidArgument);
  }
}

std::string GroupThousands(std::int64_t value) {
  std::string digits = std::to_string(value);
  std::string out;
  const std::size_t lead = digits.size() % 3;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && i >= lead && (i - lead) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// The value with that many decimals, halves rounded up ("0.00" formats do; printf rounds them
// to even: 1.125 would give 1.12).
std::string Fixed(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::floor(value * scale + 0.5) / scale);
  return buffer;
}

std::chrono::system_clock::time_point ToTimePoint(const struct timespec& ts) {
  return std::chrono::system_clock::time_point(std::chrono::seconds(ts.tv_sec) +
                                               std::chrono::nanoseconds(ts.tv_nsec));
}

}  // namespace

void cFileInfo::File_Path(const std::string& path) {
  StatOrRaise(path);
  path_ = fs::absolute(path).lexically_normal().string();
}

int cFileInfo::Attributes() const {
  const struct stat st = StatOrRaise(path_);
  int attributes = StoredBits(path_);
  if (ReadOnlyMode(st.st_mode)) attributes |= kReadOnlyBit;
  const std::string name = fs::path(path_).filename().string();
  if (!name.empty() && name[0] == '.') attributes |= kHiddenBit;
  return attributes;
}

bool cFileInfo::Properties(int propType) const { return (Attributes() & BitOf(propType)) != 0; }

void cFileInfo::Properties(int propType, bool switchOn) {
  const int bit = BitOf(propType);
  const int attributes = Attributes();
  if (((attributes & bit) != 0) == switchOn) return;
  SetAttributes(switchOn ? attributes + bit : attributes - bit);
}

void cFileInfo::SetAttributes(int attributes) {
  const struct stat st = StatOrRaise(path_);
  const mode_t before = st.st_mode & 07777;
  constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
  mode_t mode = before;
  if (attributes & kReadOnlyBit) {
    mode &= ~kWriteBits;
  } else if ((mode & kWriteBits) == 0) {
    mode |= S_IWUSR;
  }
  const int stored = attributes & kStoredBits;
  if (stored != StoredBits(path_)) {
    // Only a user who may write the file may change its extended attributes: a read-only
    // file is made writable for the change and read-only again after it, when it stays so.
    if ((before & S_IWUSR) == 0 && ::chmod(path_.c_str(), before | S_IWUSR) != 0) RaiseErrno(errno);
    const std::string text = std::to_string(stored);
    if (::setxattr(path_.c_str(), kAttributeName, text.data(), text.size(), 0) != 0) {
      const int err = errno;
      ::chmod(path_.c_str(), before);
      RaiseErrno(err);
    }
    if (::chmod(path_.c_str(), mode) != 0) RaiseErrno(errno);
    return;
  }
  if (mode != before && ::chmod(path_.c_str(), mode) != 0) RaiseErrno(errno);
}

cFileInfo::Value cFileInfo::Information(int infor) const {
  const struct stat st = StatOrRaise(path_);
  switch (infor) {
    case 0: {
      struct statx stx {};
      if (::statx(AT_FDCWD, path_.c_str(), 0, STATX_BTIME, &stx) == 0 &&
          (stx.stx_mask & STATX_BTIME)) {
        return std::chrono::system_clock::time_point(std::chrono::seconds(stx.stx_btime.tv_sec) +
                                                     std::chrono::nanoseconds(stx.stx_btime.tv_nsec));
      }
      return ToTimePoint(st.st_mtim);
    }
    case 1: return ToTimePoint(st.st_atim);
    case 2: return ToTimePoint(st.st_mtim);
    case 3: return static_cast<std::int64_t>(st.st_size);
    case 4: return FormatSizeText(st.st_size);
    case 5: {
      std::string ext = fs::path(path_).extension().string();
      if (ext.size() <= 1) return std::string("File");
      return AsciiUpper(ext.substr(1)) + " File";
    }
    default: return std::string("Unknown");
  }
}

std::string cFileInfo::Location(int qpath) const {
  const fs::path p(path_);
  switch (qpath) {
    case 0: return p.root_path().string();
    case 1:
    case 2: return path_;  // no short names on this platform
    case 3:
    case 4: return p.filename().string();
    case 5: return p.parent_path().string();
    default: Raise(ErrorCode::InvalidArgument);
  }
}

void cFileInfo::Copy_File(const std::string& newName, bool overwrite) const {
  std::error_code ec;
  const auto options = overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none;
  if (!fs::copy_file(path_, newName, options, ec) || ec) {
    RaiseErrno(ec ? ec.value() : EEXIST);
  }
}

void cFileInfo::Move_File(const std::string& newName) {
  std::error_code ec;
  fs::rename(path_, newName, ec);
  if (ec) RaiseErrno(ec.value());
  path_ = fs::absolute(newName).lexically_normal().string();
}

void cFileInfo::Delete_File(bool force) {
  auto remove = [this](bool withForce) -> int {
    // A read-only file is protected unless forced, as the attribute promises.
    if (!withForce && (Attributes() & kReadOnlyBit)) return 70;
    if (::unlink(path_.c_str()) != 0) return ErrorNumberFromErrno(errno);
    return 0;
  };
  int number = 0;
  try {
    number = remove(force);
    if (number == 70 &&
        AskYesNo("Protected File", "Filename is Read Only are you sure you want to delete it")) {
      number = remove(true);
    } else if (number == 70) {
      return;
    }
  } catch (const BackEndError& e) {
    number = e.Number();
  }
  if (number != 0) ShowMessage("Error Deleting File", "Unknown Error");
}

std::string FormatSizeText(std::int64_t size) {
  if (size < 1024) return GroupThousands(size) + " byte" + (size == 1 ? "" : "s");
  const double k = static_cast<double>(size) / 1024.0;
  const double m = static_cast<double>(size) / 1048576.0;
  std::string text;
  if (k < 10) text = Fixed(k, 2) + " KB";
  else if (k < 100) text = Fixed(k, 1) + " KB";
  else if (k < 1000) text = Fixed(k, 0) + " KB";
  else if (k < 10000) text = Fixed(m, 2) + " MB";
  else if (k < 100000) text = Fixed(m, 1) + " MB";
  else if (k < 1000000) text = Fixed(m, 0) + " MB";
  else if (k < 10000000) text = Fixed(m / 1024.0, 2) + " GB";
  return text + " (" + GroupThousands(size) + " bytes)";
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ReadOnlyMode(st.st_mode);
}

bool AgreeToReplace(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return true;
  cFileInfo info;
  info.File_Path(path);
  if (!info.Properties(cFileInfo::ReadOnly)) return true;
  if (!AskYesNo("Read Only File", "The file is read only, Overwrite anyway?")) return false;
  info.Properties(cFileInfo::ReadOnly, false);
  return true;
}

}  // namespace brixel
