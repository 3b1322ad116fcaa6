#include "QtCommonDialogBackend.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>

#include "PrintDialogs.h"
#include "QtColour.h"

namespace brixel {
namespace {

// The print dialogs' own error when what they print through fails to load.
constexpr qint32 kLibraryNotLoaded = 0x1004;

}  // namespace

DialogResult QtCommonDialogBackend::GetFileName(const FileDialogRequest& request,
                                                FileDialogAnswer& answer) {
  using namespace fileflag;
  QFileDialog dialog(request.owner, request.title, request.initialDir);
  if (request.title.isEmpty()) dialog.setWindowTitle(request.save ? "Save As" : "Open");
  const bool showReadOnlyBox = !request.save && !(request.flags & kHideReadOnly);
  // Only Qt's own dialog can carry the read-only box.
  if (showReadOnlyBox) dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & kOverwritePrompt));
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((request.flags & kAllowMultiSelect) ? QFileDialog::ExistingFiles
                       : (request.flags & kFileMustExist)  ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
  }

  QStringList nameFilters;
  for (const FileFilter& f : request.filters) nameFilters << QtNameFilter(f);
  auto useFilter = [&](int index) {
    const bool valid = index >= 0 && index < int(request.filters.size());
    dialog.setDefaultSuffix(DefaultSuffixFor(valid ? &request.filters[index] : nullptr,
                                             request.defaultExt));
  };
  if (!nameFilters.isEmpty()) {
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(nameFilters.value(request.selectedFilter, nameFilters.first()));
  }
  useFilter(request.selectedFilter);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&](const QString& filter) { useFilter(int(nameFilters.indexOf(filter))); });
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);

  QCheckBox* readOnly = nullptr;
  if (showReadOnlyBox) {
    readOnly = new QCheckBox("Open as &read-only", &dialog);
    readOnly->setObjectName("ChkReadOnly");
    readOnly->setChecked(request.flags & kReadOnly);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
      grid->addWidget(readOnly, grid->rowCount(), 0, 1, -1);
  }

  if (!Accepted(dialog.exec())) return DialogResult::Cancelled();
  answer.files = dialog.selectedFiles();
  answer.selectedFilter = int(nameFilters.indexOf(dialog.selectedNameFilter()));
  answer.readOnly = readOnly && readOnly->isChecked();
  return DialogResult::Accepted();
}

DialogResult QtCommonDialogBackend::ChooseColour(const ColourDialogRequest& request,
                                                 CustomColours& custom, qint32& colour) {
  // Qt keeps one set of custom colours for the whole application; each caller's own set is
  // put in before the dialog and taken back after it.
  for (int i = 0; i < int(custom.size()); ++i)
    QColorDialog::setCustomColor(i, QColor(RgbFromColour(custom[i])));
  QColorDialog dialog(request.owner);
  if (request.flags & colourflag::kRgbInit) dialog.setCurrentColor(QColor(RgbFromColour(request.colour)));
  const bool accepted = Accepted(dialog.exec());
  for (int i = 0; i < int(custom.size()); ++i)
    custom[i] = ColourFromRgb(QColorDialog::customColor(i).rgb());
  if (!accepted) return DialogResult::Cancelled();
  colour = ColourFromRgb(dialog.selectedColor().rgb());
  return DialogResult::Accepted();
}

DialogResult QtCommonDialogBackend::ChooseFont(QWidget* owner, QFont& font) {
  QFontDialog dialog(font, owner);
  if (!Accepted(dialog.exec())) return DialogResult::Cancelled();
  font = dialog.selectedFont();
  return DialogResult::Accepted();
}

DialogResult QtCommonDialogBackend::Print(QWidget* owner, PrintSettings& settings,
                                          PrinterProperties& properties) {
  const PrintDialogFunctions* dialogs = LoadPrintDialogs();
  return dialogs ? dialogs->print(owner, settings, properties) : DialogResult::Failed(kLibraryNotLoaded);
}

DialogResult QtCommonDialogBackend::PageSetup(QWidget* owner, PageSetupSettings& settings) {
  const PrintDialogFunctions* dialogs = LoadPrintDialogs();
  return dialogs ? dialogs->pageSetup(owner, settings) : DialogResult::Failed(kLibraryNotLoaded);
}

}  // namespace brixel
