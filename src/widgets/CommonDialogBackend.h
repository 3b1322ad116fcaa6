#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <vector>

#include "FileFilter.h"

class QWidget;

namespace brixel {

// Flag bits of the file dialogs, as callers pass them and get them back.
namespace fileflag {
inline constexpr qint32 kReadOnly = 0x1;         // the read-only box is (to be) ticked
inline constexpr qint32 kOverwritePrompt = 0x2;  // save: ask before replacing a file
inline constexpr qint32 kHideReadOnly = 0x4;     // no read-only box
inline constexpr qint32 kEnableHook = 0x20;
inline constexpr qint32 kEnableTemplate = 0x40;
inline constexpr qint32 kAllowMultiSelect = 0x200;
inline constexpr qint32 kFileMustExist = 0x1000;
}  // namespace fileflag

// Flag bits of the colour dialog.
namespace colourflag {
inline constexpr qint32 kRgbInit = 0x1;  // start from the given colour
inline constexpr qint32 kFullOpen = 0x2;
inline constexpr qint32 kPreventFullOpen = 0x4;
inline constexpr qint32 kSolidColor = 0x80;
inline constexpr qint32 kAnyColor = 0x100;
}  // namespace colourflag

// How a dialog ended. A failure carries the platform's error code.
struct DialogResult {
  enum class Kind { Accepted, Cancelled, Failed };
  Kind kind = Kind::Cancelled;
  qint32 error = 0;

  static DialogResult Accepted() { return {Kind::Accepted, 0}; }
  static DialogResult Cancelled() { return {Kind::Cancelled, 0}; }
  static DialogResult Failed(qint32 error) { return {Kind::Failed, error}; }
};

struct FileDialogRequest {
  bool save = false;
  QWidget* owner = nullptr;  // none: the dialog belongs to the application
  QString title;             // empty: the dialog's own
  QString initialDir;        // empty: the current folder
  QString fileName;          // the name offered at first
  QString defaultExt;        // without a dot; empty: no completion of typed names
  std::vector<FileFilter> filters;
  int selectedFilter = 0;  // index into filters
  qint32 flags = 0;        // fileflag bits
};

struct FileDialogAnswer {
  QStringList files;        // full paths, completed with the default extension
  int selectedFilter = -1;  // index into the request's filters
  bool readOnly = false;    // the read-only box was ticked
};

using CustomColours = std::array<qint32, 16>;  // colour values, red + 256 green + 65536 blue

struct ColourDialogRequest {
  QWidget* owner = nullptr;
  qint32 colour = 0;
  qint32 flags = 0;  // colourflag bits
};

// The settings of a print dialog, in and out.
struct PrintSettings {
  enum Range { AllPages = 0, Selection = 1, PageNumbers = 2 };
  int PrintRange = AllPages;
  int FromPage = 1;
  int ToPage = 1;
  int MinPage = 1;
  int MaxPage = 9999;
  int Copies = 1;
  bool Collate = false;
  bool PrintToFile = false;
  bool DisablePageNumbers = false;
  bool DisableSelection = false;
  bool DisablePrintToFile = false;
};

// The device settings a confirmed print dialog hands on to the program's printer.
struct PrinterProperties {
  int Copies = 1;
  int Orientation = 1;     // 1 portrait, 2 landscape
  int PaperSize = 9;       // the classic paper numbers: 1 Letter, 9 A4, ...
  int PrintQuality = 300;  // dots per inch
};

// The settings of a page-setup dialog, in and out. Margins in the chosen units.
struct PageSetupSettings {
  enum Unit { ThousandthsOfInches = 0, HundredthsOfMillimetres = 1 };
  int Units = HundredthsOfMillimetres;
  int LeftMargin = 2500, TopMargin = 2500, RightMargin = 2500, BottomMargin = 2500;
  int MinLeftMargin = 0, MinTopMargin = 0, MinRightMargin = 0, MinBottomMargin = 0;
  int PaperSize = 9;
  int Orientation = 1;
};

// The platform's dialogs behind cCommonDialog. The Qt dialogs are the default; tests install
// a backend that scripts the user's answers.
class CommonDialogBackend {
 public:
  virtual ~CommonDialogBackend() = default;
  virtual DialogResult GetFileName(const FileDialogRequest& request, FileDialogAnswer& answer) = 0;
  // colour is in and out; the custom colours are offered and keep the user's changes.
  virtual DialogResult ChooseColour(const ColourDialogRequest& request, CustomColours& custom,
                                    qint32& colour) = 0;
  virtual DialogResult ChooseFont(QWidget* owner, QFont& font) = 0;
  virtual DialogResult Print(QWidget* owner, PrintSettings& settings,
                             PrinterProperties& printer) = 0;
  virtual DialogResult PageSetup(QWidget* owner, PageSetupSettings& settings) = 0;
};

// Installs the backend every cCommonDialog uses from then on; nullptr restores Qt's dialogs.
// The caller keeps ownership.
void InstallCommonDialogBackend(CommonDialogBackend* backend);
CommonDialogBackend& CurrentCommonDialogBackend();

}  // namespace brixel
