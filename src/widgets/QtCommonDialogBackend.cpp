#include "QtCommonDialogBackend.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "QtColour.h"

namespace brixel {
namespace {

bool Accepted(int code) { return code == QDialog::Accepted; }

QPageSize PageSizeFromPaperNumber(int paperSize) {
  const QPageSize::PageSizeId id = QPageSize::id(paperSize);
  return QPageSize(id == QPageSize::Custom ? QPageSize::A4 : id);
}

int PaperNumber(const QPageLayout& layout) { return layout.pageSize().windowsId(); }

int OrientationNumber(const QPageLayout& layout) {
  return layout.orientation() == QPageLayout::Landscape ? 2 : 1;
}

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
  QPrinter printer;
  printer.setCopyCount(settings.Copies);
  printer.setCollateCopies(settings.Collate);
  printer.setFromTo(settings.FromPage, settings.ToPage);
  QPrintDialog dialog(&printer, owner);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, !settings.DisableSelection);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, !settings.DisablePageNumbers);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, !settings.DisablePrintToFile);
  dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
  dialog.setMinMax(settings.MinPage, settings.MaxPage);
  dialog.setPrintRange(settings.PrintRange == PrintSettings::Selection ? QAbstractPrintDialog::Selection
                       : settings.PrintRange == PrintSettings::PageNumbers
                           ? QAbstractPrintDialog::PageRange
                           : QAbstractPrintDialog::AllPages);
  if (!printer.isValid()) return DialogResult::Failed(0x1008);  // no printer to print on
  if (!Accepted(dialog.exec())) return DialogResult::Cancelled();

  switch (dialog.printRange()) {
    case QAbstractPrintDialog::Selection: settings.PrintRange = PrintSettings::Selection; break;
    case QAbstractPrintDialog::PageRange: settings.PrintRange = PrintSettings::PageNumbers; break;
    default: settings.PrintRange = PrintSettings::AllPages; break;
  }
  settings.FromPage = printer.fromPage();
  settings.ToPage = printer.toPage();
  settings.Copies = printer.copyCount();
  settings.Collate = printer.collateCopies();
  settings.PrintToFile = !printer.outputFileName().isEmpty();
  properties.Copies = printer.copyCount();
  properties.Orientation = OrientationNumber(printer.pageLayout());
  properties.PaperSize = PaperNumber(printer.pageLayout());
  properties.PrintQuality = printer.resolution();
  return DialogResult::Accepted();
}

DialogResult QtCommonDialogBackend::PageSetup(QWidget* owner, PageSetupSettings& settings) {
  const bool inches = settings.Units == PageSetupSettings::ThousandthsOfInches;
  const QPageLayout::Unit unit = inches ? QPageLayout::Inch : QPageLayout::Millimeter;
  const double scale = inches ? 1000.0 : 100.0;
  QPrinter printer;
  printer.setPageSize(PageSizeFromPaperNumber(settings.PaperSize));
  printer.setPageOrientation(settings.Orientation == 2 ? QPageLayout::Landscape
                                                       : QPageLayout::Portrait);
  printer.setPageMargins(QMarginsF(settings.LeftMargin / scale, settings.TopMargin / scale,
                                   settings.RightMargin / scale, settings.BottomMargin / scale),
                         unit);
  QPageSetupDialog dialog(&printer, owner);
  if (!Accepted(dialog.exec())) return DialogResult::Cancelled();

  const QPageLayout layout = printer.pageLayout();
  const QMarginsF m = layout.margins(unit);
  settings.LeftMargin = std::max(settings.MinLeftMargin, int(std::lround(m.left() * scale)));
  settings.TopMargin = std::max(settings.MinTopMargin, int(std::lround(m.top() * scale)));
  settings.RightMargin = std::max(settings.MinRightMargin, int(std::lround(m.right() * scale)));
  settings.BottomMargin = std::max(settings.MinBottomMargin, int(std::lround(m.bottom() * scale)));
  settings.PaperSize = PaperNumber(layout);
  settings.Orientation = OrientationNumber(layout);
  return DialogResult::Accepted();
}

}  // namespace brixel
