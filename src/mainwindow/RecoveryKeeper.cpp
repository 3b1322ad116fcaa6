#include "RecoveryKeeper.h"

#include <QTimer>
#include <algorithm>
#include <exception>

#include "AnimatedCursors.h"
#include "Documents.h"
#include "ErrorReport.h"
#include "Prompter.h"
#include "RecoveryFile.h"
#include "RecoveryFolder.h"

namespace brixel {
namespace {

constexpr int kCheckEveryMs = 1000;

bool IsOpen(const cIco* document) {
  return std::any_of(IconDocuments.Items.begin(), IconDocuments.Items.end(),
                     [&](const auto& open) { return open.get() == document; });
}

// Opens a record as a document of the window, marked changed under its own path; nullptr
// when its file does not read (the reader's reports are then in reports).
cIco* OpenRecord(const RecoveryRecord& record) {
  if (record.kind == RecoveryRecord::Kind::AnimatedCursor) {
    auto cursor = std::make_unique<cAni>();
    if (!cursor->ReadAniData(record.file)) return nullptr;
    cursor->IconPath(record.path);
    AniDocuments.Items.push_back(std::move(cursor));
    AdoptAnimatedCursor();
  } else {
    auto icon = std::make_unique<cIco>();
    if (!ReadRecordedIcon(record, *icon)) return nullptr;
    icon->IconPath(record.path);
    IconDocuments.Items.push_back(std::move(icon));
  }
  cIco* document = IconDocuments.Items.back().get();
  document->Changed(true);
  return document;
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(std::unique_ptr<RecoveryFolder> folder, BusyFunction busy,
                               CurrentImageFunction currentImage, QObject* parent)
    : QObject(parent),
      folder_(std::move(folder)),
      busy_(std::move(busy)),
      currentImage_(std::move(currentImage)) {
  writer_.setMaxThreadCount(1);  // one thread: the writes of a document land in their order
  if (!folder_) return;
  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, [this] { Update(); });
  timer_->start(kCheckEveryMs);
}

RecoveryKeeper::~RecoveryKeeper() { WaitForWrites(); }

void RecoveryKeeper::Update(Clock::time_point now) {
  if (!folder_) return;
  for (auto it = kept_.begin(); it != kept_.end();) {
    if (IsOpen(it->first)) {
      ++it;
      continue;
    }
    if (it->second.OnDisk()) Remove(it->second.number);
    it = kept_.erase(it);
  }
  for (const auto& open : IconDocuments.Items) {
    const cIco& document = *open;
    auto [it, added] = kept_.try_emplace(&document);
    Kept& kept = it->second;
    if (added) kept.number = nextNumber_++;
    if (!document.Changed()) {
      if (kept.OnDisk()) Remove(kept.number);
      kept.writtenEdits = 0;
      continue;
    }
    if (kept.writtenEdits == document.Edits()) continue;
    if (added || kept.seenEdits != document.Edits()) {
      kept.seenEdits = document.Edits();
      kept.seenAt = now;
      continue;
    }
    if (now - kept.seenAt < kRest || (busy_ && busy_())) continue;
    Write(document, kept);
  }
}

void RecoveryKeeper::WriteAllNow() {
  if (!folder_) return;
  Update();
  for (const auto& open : IconDocuments.Items) {
    Kept& kept = kept_[open.get()];
    if (open->Changed() && kept.writtenEdits != open->Edits()) Write(*open, kept);
  }
  WaitForWrites();
}

void RecoveryKeeper::WaitForWrites() { writer_.waitForDone(); }

void RecoveryKeeper::Write(const cIco& document, Kept& kept) {
  // Only the copy of the images is made here; compressing them (a large PNG image takes
  // milliseconds) and writing are the writing thread's. A failure is tried again at the
  // next edit only: the same images would fail the same way.
  kept.writtenEdits = kept.seenEdits = document.Edits();
  const int current = currentImage_ ? currentImage_(document) : 0;
  writer_.start([this, number = kept.number, name = document.IconName(),
                 snapshot = TakeRecoverySnapshot(document, AnimationOf(&document), current)] {
    try {
      folder_->Write(number, EncodeRecovery(MakeRecoveryRecord(snapshot)));
    } catch (const std::exception& failure) {
      const std::string reason = failure.what();
      QMetaObject::invokeMethod(this, [this, name, reason] { Report(name, reason); },
                                Qt::QueuedConnection);
    }
  });
}

void RecoveryKeeper::Remove(std::uint64_t number) {
  writer_.start([this, number] {
    try {
      folder_->Remove(number);
    } catch (const std::exception&) {
      // A copy that stays behind is offered at the next start, which the user may decline.
    }
  });
}

std::vector<RecoveryKeeper::Recovered> RecoveryKeeper::OfferRecovery() {
  std::vector<Recovered> recovered;
  if (!folder_) return recovered;
  const std::vector<std::filesystem::path> files = folder_->ClaimOrphans();
  if (files.empty()) {
    folder_->ReleaseClaimed();
    return recovered;
  }
  // No throws the copies away; Esc or closing the box only puts the question off to the next
  // start, so that a stray key loses nothing.
  const Prompter::Answer answer = AskYesNoCancel(
      "Recovery", "Brixel did not close properly. Recover " + std::to_string(files.size()) +
                      " unsaved documents?");
  if (answer == Prompter::Answer::Cancel) {
    folder_->ReleaseClaimed(false);
    return recovered;
  }
  const bool take = answer == Prompter::Answer::Yes;
  std::vector<std::filesystem::path> done;
  for (const std::filesystem::path& file : files) {
    if (!take) {
      done.push_back(file);
      continue;
    }
    ReportCollector reports;
    cIco* document = nullptr;
    int current = 0;
    try {
      const RecoveryRecord record = DecodeRecovery(ReadWholeFile(file.string()));
      current = record.currentImage;
      document = OpenRecord(record);
    } catch (const std::exception& failure) {
      ShowError(file.string() + ": " + failure.what());
    }
    if (document) {
      recovered.push_back({document, std::min(current, document->IconCount() - 1)});
      done.push_back(file);
      continue;
    }
    const std::filesystem::path aside = RecoveryFolder::SetAside(file);
    AskWithDetails("Recovery",
                   "A recovery file does not read. It is kept as " + aside.string() + ".",
                   reports.Details(), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
  }
  // The documents taken are in this session's copies before the old ones go.
  WriteAllNow();
  for (const std::filesystem::path& file : done) {
    std::error_code error;
    std::filesystem::remove(file, error);
  }
  folder_->ReleaseClaimed();
  return recovered;
}

void RecoveryKeeper::Report(const std::string& what, const std::string& reason) {
  // One message, not one every few seconds while the disk stays full.
  if (reported_) return;
  reported_ = true;
  ShowMessage("Recovery", "The recovery copy of " + what + " could not be written: " + reason +
                              ".\nSave your work to keep it safe.",
              Prompter::Icon::Exclamation);
}

}  // namespace brixel
