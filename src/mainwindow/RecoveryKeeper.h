#pragma once

#include <QObject>
#include <QThreadPool>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QTimer;

namespace brixel {

class RecoveryFolder;
class cIco;

// Keeps a copy of every open document with unsaved changes in the recovery folder, so that a
// crash, a kill or a power cut loses at most the last few seconds. A copy is written once the
// document has rested a moment after its last edit and never while a stroke is under way; the
// copy is made on the GUI thread (the document is only read there) and written to the disk on
// a thread of its own, in order. Saving or closing a document removes its copy.
class RecoveryKeeper : public QObject {
  Q_OBJECT

 public:
  using Clock = std::chrono::steady_clock;
  // Whether the user is in the middle of an edit (a button held on the grid).
  using BusyFunction = std::function<bool()>;
  // The image shown for a document.
  using CurrentImageFunction = std::function<int(const cIco&)>;

  static constexpr std::chrono::milliseconds kRest{2000};

  // Without a folder (it could not be made) nothing is kept, and the editor works on.
  RecoveryKeeper(std::unique_ptr<RecoveryFolder> folder, BusyFunction busy,
                 CurrentImageFunction currentImage, QObject* parent = nullptr);
  ~RecoveryKeeper() override;

  // Brings the copies in line with the documents: removes those of documents closed or
  // unchanged, and writes those due at now. Runs by itself every second.
  void Update(Clock::time_point now = Clock::now());
  // Writes a copy of every changed document at once and waits until all are on the disk.
  void WriteAllNow();
  // Waits for the writes handed to the writing thread.
  void WaitForWrites();

  struct Recovered {
    cIco* document;
    int currentImage;
  };
  // At start-up: offers the documents of editors that ended without closing them and opens
  // them when the user agrees, marked changed under their own paths; declined, their copies
  // go. A copy that does not read is reported and set aside, never removed.
  std::vector<Recovered> OfferRecovery();

  RecoveryFolder* Folder() const { return folder_.get(); }

 private:
  struct Kept {
    std::uint64_t number = 0;        // the copy's name in the folder
    std::uint64_t seenEdits = 0;     // the edit count last looked at
    Clock::time_point seenAt{};      // when it was first seen
    // The edit count of the copy on the disk; 0 for none, as a changed document has made at
    // least one edit.
    std::uint64_t writtenEdits = 0;
    bool OnDisk() const { return writtenEdits != 0; }
  };

  void Write(const cIco& document, Kept& kept);
  void Remove(std::uint64_t number);
  void Report(const std::string& what, const std::string& reason);

  std::unique_ptr<RecoveryFolder> folder_;
  BusyFunction busy_;
  CurrentImageFunction currentImage_;
  std::map<const cIco*, Kept> kept_;
  std::uint64_t nextNumber_ = 1;
  QThreadPool writer_;
  QTimer* timer_ = nullptr;
  bool reported_ = false;
};

}  // namespace brixel
