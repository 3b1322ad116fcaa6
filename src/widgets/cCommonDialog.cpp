#include "cCommonDialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QPalette>
#include <algorithm>

#include "QtColour.h"

namespace brixel {
namespace {

// The caller's flags lose the bits that would install a hook or a template.
qint32 WithoutHookBits(qint32 flags) {
  return flags & ~(fileflag::kEnableHook | fileflag::kEnableTemplate);
}

}  // namespace

qint32 SystemColour(int index) {
  constexpr auto kActive = QPalette::Active;
  constexpr auto kInactive = QPalette::Inactive;
  switch (index) {
    case 0: return RoleColour(QPalette::Midlight);                   // scroll bar
    case 1: return RoleColour(QPalette::Dark);                       // desktop
    case 2: return RoleColour(QPalette::Highlight);                  // active caption
    case 3: return RoleColour(QPalette::Highlight, kInactive);       // inactive caption
    case 4: return RoleColour(QPalette::Window);                     // menu
    case 5: return RoleColour(QPalette::Base);                       // window
    case 6: return RoleColour(QPalette::Shadow);                     // window frame
    case 7: return RoleColour(QPalette::WindowText);                 // menu text
    case 8: return RoleColour(QPalette::Text);                       // window text
    case 9: return RoleColour(QPalette::HighlightedText);            // caption text
    case 10: return RoleColour(QPalette::Button, kActive);           // active border
    case 11: return RoleColour(QPalette::Button, kInactive);         // inactive border
    case 12: return RoleColour(QPalette::Mid);                       // application workspace
    case 13: return RoleColour(QPalette::Highlight);                 // highlight
    case 14: return RoleColour(QPalette::HighlightedText);           // highlighted text
    case 15: return RoleColour(QPalette::Button);                    // button face
    default: return -1;
  }
}

CommonDialogBackend& cCommonDialog::Backend() const {
  return backend_ ? *backend_ : CurrentCommonDialogBackend();
}

void cCommonDialog::StartCall() {
  apiReturn_ = 0;
  extendedError_ = 0;
}

bool cCommonDialog::Finish(const DialogResult& result) {
  apiReturn_ = result.kind == DialogResult::Kind::Accepted ? 1 : 0;
  // A failure keeps its error code, so that callers can tell it from a cancel.
  if (result.kind == DialogResult::Kind::Failed) extendedError_ = result.error;
  return apiReturn_ == 1;
}

bool cCommonDialog::VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist,
                                      bool MultiSelect, bool& ReadOnly, bool HideReadOnly,
                                      QString& Filter, qint32& FilterIndex, const QString& InitDir,
                                      const QString& DlgTitle, const QString& DefaultExt,
                                      QWidget* Owner, qint32& flags, QStringList* FileNames) {
  using namespace fileflag;
  qint32 f = 0;
  if (FileMustExist) f |= kFileMustExist;
  if (MultiSelect) f |= kAllowMultiSelect;
  if (ReadOnly) f |= kReadOnly;
  if (HideReadOnly) f |= kHideReadOnly;
  flags = f | WithoutHookBits(flags);
  const bool ok = RunFileDialog(false, Filename, FileTitle, Filter, FilterIndex, InitDir, DlgTitle,
                                DefaultExt, Owner, flags, FileNames);
  if (ok) ReadOnly = (flags & kReadOnly) != 0;
  return ok;
}

QString cCommonDialog::OpenExistingFile(const QString& filter, QWidget* owner) {
  QString fileName;
  QString fileTitle;
  bool readOnly = false;
  QString shownFilter = filter;
  qint32 filterIndex = 1;
  qint32 flags = 0;
  if (!VBGetOpenFileName(fileName, fileTitle, true, false, readOnly, false, shownFilter,
                         filterIndex, QString(), QString(), QString(), owner, flags)) {
    return QString();
  }
  return fileName;
}

bool cCommonDialog::VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt,
                                      QString& Filter, qint32& FilterIndex, const QString& InitDir,
                                      const QString& DlgTitle, const QString& DefaultExt,
                                      QWidget* Owner, qint32& flags) {
  using namespace fileflag;
  flags = (OverWritePrompt ? kOverwritePrompt : 0) | kHideReadOnly | WithoutHookBits(flags);
  return RunFileDialog(true, Filename, FileTitle, Filter, FilterIndex, InitDir, DlgTitle,
                       DefaultExt, Owner, flags, nullptr);
}

bool cCommonDialog::RunFileDialog(bool save, QString& Filename, QString& FileTitle,
                                  QString& Filter, qint32& FilterIndex, const QString& InitDir,
                                  const QString& DlgTitle, const QString& DefaultExt,
                                  QWidget* Owner, qint32& flags, QStringList* FileNames) {
  StartCall();
  FileDialogRequest request;
  request.save = save;
  request.owner = Owner;
  request.title = DlgTitle;
  request.initialDir = InitDir;
  request.fileName = Filename;
  request.defaultExt = DefaultExt;
  request.filters = ParseFileFilter(Filter);
  const int count = int(request.filters.size());
  request.selectedFilter = FilterIndex >= 1 && FilterIndex <= count ? FilterIndex - 1 : 0;
  request.flags = flags;

  FileDialogAnswer answer;
  const DialogResult result = Backend().GetFileName(request, answer);
  if (!Finish(result) || answer.files.isEmpty()) {
    apiReturn_ = 0;
    Filename.clear();
    FileTitle.clear();
    Filter.clear();
    flags = 0;
    FilterIndex = -1;
    if (FileNames) FileNames->clear();
    return false;
  }
  Filename = answer.files.first();
  FileTitle = VBGetFileTitle(Filename);
  if (FileNames) *FileNames = answer.files;
  if (answer.selectedFilter >= 0 && answer.selectedFilter < count) {
    const FileFilter& chosen = request.filters[answer.selectedFilter];
    FilterIndex = answer.selectedFilter + 1;
    Filter = chosen.description + QChar(0) + chosen.pattern;
  } else {
    FilterIndex = 0;
    Filter.clear();
  }
  flags = answer.readOnly ? (flags | fileflag::kReadOnly) : (flags & ~fileflag::kReadOnly);
  return true;
}

void cCommonDialog::FillCustomColoursOnce() {
  if (customColoursReady_) return;
  for (int i = 0; i < int(customColours_.size()); ++i) customColours_[i] = SystemColour(i);
  customColoursReady_ = true;
}

bool cCommonDialog::VBChooseColor(qint32& Color, bool AnyColor, bool FullOpen,
                                  bool DisableFullOpen, QWidget* Owner, qint32 flags) {
  using namespace colourflag;
  StartCall();
  FillCustomColoursOnce();
  ColourDialogRequest request;
  request.owner = Owner;
  request.colour = Color;
  request.flags = kRgbInit | (AnyColor ? kAnyColor : kSolidColor) | (FullOpen ? kFullOpen : 0) |
                  (DisableFullOpen ? kPreventFullOpen : 0) | flags;
  qint32 chosen = Color;
  if (!Finish(Backend().ChooseColour(request, customColours_, chosen))) {
    Color = -1;
    return false;
  }
  Color = chosen;
  return true;
}

qint32 cCommonDialog::CustomColor(int index) {
  FillCustomColoursOnce();
  return index >= 0 && index < int(customColours_.size()) ? customColours_[index] : -1;
}

void cCommonDialog::SetCustomColor(int index, qint32 colour) {
  FillCustomColoursOnce();
  if (index >= 0 && index < int(customColours_.size())) customColours_[index] = colour;
}

QString cCommonDialog::VBGetFileTitle(const QString& fileName) const {
  if (fileName.isEmpty() || fileName.endsWith('/') || fileName.contains(QChar(0)) ||
      fileName.contains('*') || fileName.contains('?'))
    return {};
  return QFileInfo(fileName).fileName();
}

bool cCommonDialog::VBChooseFont(QFont& CurFont, int MinSize, int MaxSize, QWidget* Owner) {
  StartCall();
  QFont font = CurFont;
  if (!Finish(Backend().ChooseFont(Owner, font))) return false;
  const qreal size = font.pointSizeF();
  if (size > 0) {
    qreal bounded = size;
    if (MinSize > 0) bounded = std::max<qreal>(bounded, MinSize);
    if (MaxSize > 0) bounded = std::min<qreal>(bounded, MaxSize);
    font.setPointSizeF(bounded);
  }
  CurFont = font;
  return true;
}

bool cCommonDialog::VBPrintDlg(PrintSettings& Settings, PrinterProperties* Printer,
                               QWidget* Owner) {
  StartCall();
  PrintSettings settings = Settings;
  PrinterProperties properties = Printer ? *Printer : PrinterProperties{};
  if (!Finish(Backend().Print(Owner, settings, properties))) return false;
  Settings = settings;
  if (Printer) *Printer = properties;
  return true;
}

bool cCommonDialog::VBPageSetupDlg(PageSetupSettings& Settings, QWidget* Owner) {
  StartCall();
  PageSetupSettings settings = Settings;
  if (!Finish(Backend().PageSetup(Owner, settings))) return false;
  Settings = settings;
  return true;
}

}  // namespace brixel
