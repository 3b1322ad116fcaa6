#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include "CommonDialogBackend.h"

class QWidget;

namespace brixel {

// The file, colour, font, print and page-setup dialogs behind calls that take and return
// plain values. A form makes its own instance, calls one member and reads the results from
// the by-reference arguments; cancel and failure show only as a false result and cleared
// outputs. The instance keeps the colour dialog's sixteen custom colours for its lifetime.
class cCommonDialog {
 public:
  // Uses the installed backend (Qt's dialogs unless a test installed another).
  cCommonDialog() = default;
  explicit cCommonDialog(CommonDialogBackend& backend) : backend_(&backend) {}

  // 1 when the last dialog was confirmed, 0 after a cancel or a failure.
  qint32 APIReturn() const { return apiReturn_; }
  // The platform's error code of the last dialog when it failed, else 0.
  qint32 ExtendedError() const { return extendedError_; }

  // Filter: "|"- or ":"-separated description and pattern pairs, FilterIndex counted from 1.
  // Confirmed: Filename is the full path, FileTitle its last component, Filter the chosen
  // pair joined by a NUL, FilterIndex its number, flags what the dialog returned and ReadOnly
  // whether the read-only box was ticked. Cancelled: Filename, FileTitle and Filter empty,
  // FilterIndex -1, flags 0, ReadOnly as it was. With MultiSelect, FileNames (when given)
  // receives every chosen path and Filename the first.
  bool VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist,
                         bool MultiSelect, bool& ReadOnly, bool HideReadOnly, QString& Filter,
                         qint32& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                         const QString& DefaultExt, QWidget* Owner, qint32& flags,
                         QStringList* FileNames = nullptr);

  // The open dialog as the program's commands use it: one existing file of the filter, the
  // read-only box shown. The chosen path, or an empty text after a cancel.
  QString OpenExistingFile(const QString& filter, QWidget* owner);

  // As above, with the save dialog: the read-only box is always hidden, OverWritePrompt asks
  // before an existing file is chosen, and a typed name without an extension gets the chosen
  // type's extension, or DefaultExt.
  bool VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt,
                         QString& Filter, qint32& FilterIndex, const QString& InitDir,
                         const QString& DlgTitle, const QString& DefaultExt, QWidget* Owner,
                         qint32& flags);

  // Color in and out; -1 after a cancel. The first colour dialog of the instance starts the
  // custom colours from the system colours.
  bool VBChooseColor(qint32& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen,
                     QWidget* Owner, qint32 flags = 0);

  // Custom colour 0-15 (-1 for any other index); writes to other indices are ignored.
  qint32 CustomColor(int index);
  void SetCustomColor(int index, qint32 colour);

  // The display title of a file name: its last component; empty for a name that cannot
  // be a file (empty, ending in a separator, wildcards).
  QString VBGetFileTitle(const QString& fileName) const;

  // Members the program itself does not call. MinSize and MaxSize (points, 0 for no limit)
  // bound the chosen size.
  bool VBChooseFont(QFont& CurFont, int MinSize = 0, int MaxSize = 0, QWidget* Owner = nullptr);
  // After a confirmed dialog, Printer (when given) receives the chosen device settings.
  bool VBPrintDlg(PrintSettings& Settings, PrinterProperties* Printer = nullptr,
                  QWidget* Owner = nullptr);
  bool VBPageSetupDlg(PageSetupSettings& Settings, QWidget* Owner = nullptr);

 private:
  CommonDialogBackend& Backend() const;
  void StartCall();
  bool Finish(const DialogResult& result);
  bool RunFileDialog(bool save, QString& Filename, QString& FileTitle, QString& Filter,
                     qint32& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                     const QString& DefaultExt, QWidget* Owner, qint32& flags,
                     QStringList* FileNames);
  void FillCustomColoursOnce();

  CommonDialogBackend* backend_ = nullptr;
  qint32 apiReturn_ = 0;
  qint32 extendedError_ = 0;
  CustomColours customColours_{};
  bool customColoursReady_ = false;
};

// The system colour of the given classic index 0-15 (scroll bar, desktop, active caption, ...,
// button face), taken from the application palette.
qint32 SystemColour(int index);

}  // namespace brixel
