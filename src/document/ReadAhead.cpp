#include "ReadAhead.h"

#include <sys/stat.h>

#include <optional>
#include <thread>

#include "AlphaChannel.h"
#include "Documents.h"
#include "ErrorReport.h"
#include "Prompter.h"
#include "cIco.h"

namespace brixel {
namespace {

// What tells a file apart from the same path written again.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  bool operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileStamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

struct Reading {
  std::thread worker;
  std::string path;
  bool keepAlpha = true;
  std::optional<FileStamp> stamp;
  std::unique_ptr<cIco> document;  // set by the worker when the read was clean

  ~Reading() {
    if (worker.joinable()) worker.join();
  }
};

Reading& Current() {
  static Reading reading;
  return reading;
}

void Read(Reading& reading) {
  ReportCollector reports;
  SilentPrompter prompter;
  auto document = std::make_unique<cIco>();
  bool opened = false;
  {
    const ScopedThreadPrompter silent(prompter);
    opened = document->OpenIcon(reading.path);
  }
  // Changed while it was read: the stamps before and after differ.
  if (!opened || prompter.asked || !reports.Reports().empty() || StampOf(reading.path) != reading.stamp) return;
  reading.document = std::move(document);
}

// Waits for the read to end; then its document when that is what reading path now would give.
const cIco* EndedRead(const std::string& path) {
  Reading& reading = Current();
  if (reading.worker.joinable()) reading.worker.join();
  if (!reading.document || path != reading.path || KeepAlpha() != reading.keepAlpha || StampOf(path) != reading.stamp) {
    return nullptr;
  }
  return reading.document.get();
}

}  // namespace

void StartReadAhead(const std::string& path) {
  Reading& reading = Current();
  if (reading.worker.joinable() || path.empty() || !OpensAsIconDocument(path)) return;
  reading.document.reset();
  reading.path = path;
  reading.keepAlpha = KeepAlpha();
  reading.stamp = StampOf(path);
  if (!reading.stamp) return;
  reading.worker = std::thread(Read, std::ref(reading));
}

std::unique_ptr<cIco> TakeReadAhead(const std::string& path) {
  const bool usable = EndedRead(path) != nullptr;
  // A read ahead serves the first open only: taken or dropped.
  std::unique_ptr<cIco> document = std::move(Current().document);
  return usable ? std::move(document) : nullptr;
}

bool ReadAheadHolds(const std::string& path) { return EndedRead(path) != nullptr; }

}  // namespace brixel
