#pragma once

#include <QDialog>
#include <QPixmap>
#include <cstdint>
#include <optional>
#include <vector>

#include "AniFile.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;

namespace brixel {

class cAni;

// The animated cursor's own values beside its frames, and a preview that plays it: the
// current step's frame (LblPreview) at its rate, Play/Pause (CmdPlay), the step shown
// (LblStep) and the sequence of steps (LblSequence). The name and artist (Windows-1252 texts in
// the file, so a character outside that set is refused with a message), default rate (SpnRate),
// the rate list (TxtRates: one rate per step, or one for every step, or empty for the default)
// and the sequence (TxtSequence: frame numbers, or empty for each frame once) are checked and
// written to the cursor by Apply and OK.
class FrmAnimation : public QDialog {
  Q_OBJECT

 public:
  FrmAnimation(cAni& cursor, QWidget* parent = nullptr);

  bool Playing() const;
  // The step the preview shows, counting from 0.
  std::size_t StepShown() const { return step_; }
  // Shows the next step at once (the timer does this at the step's rate while playing).
  void NextStep();
  // Checks the fields and writes them to the cursor; a field that does not check is named in
  // a message and nothing changes. True when written.
  bool Apply();
  // Whether Apply or OK changed the cursor.
  bool Applied() const { return applied_; }

  // A list of whole numbers separated by spaces or commas, each from low to high; nullopt
  // when anything else is in text.
  static std::optional<std::vector<std::int32_t>> ParseNumbers(const QString& text, std::int32_t low,
                                                                std::int32_t high);

 private:
  void LoadFields();
  void ShowStep();
  void TogglePlay();

  cAni& cursor_;
  std::vector<AniStep> steps_;
  std::vector<QPixmap> framePictures_;  // the preview of each frame
  std::size_t step_ = 0;
  bool applied_ = false;
  QLabel* preview_;
  QLabel* stepLabel_;
  QLabel* sequenceLabel_;
  QPushButton* play_;
  QLineEdit* name_;
  QLineEdit* artist_;
  // The texts as the fields showed them when loaded: a field that still shows its text was not
  // edited, and its bytes are written back as they were.
  QString loadedName_;
  QString loadedArtist_;
  QSpinBox* rate_;
  int shownRate_ = 0;  // the default rate as the box showed it when loaded
  QLineEdit* rates_;
  QLineEdit* sequence_;
  QTimer* timer_;
};

}  // namespace brixel
