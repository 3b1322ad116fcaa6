// Qt's print and page-setup dialogs, built as a module of their own (see PrintDialogs.h).
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "PrintDialogs.h"

namespace brixel {
namespace {

QPageSize PageSizeFromPaperNumber(int paperSize) {
  const QPageSize::PageSizeId id = QPageSize::id(paperSize);
  return QPageSize(id == QPageSize::Custom ? QPageSize::A4 : id);
}

int PaperNumber(const QPageLayout& layout) { return layout.pageSize().windowsId(); }

int OrientationNumber(const QPageLayout& layout) {
  return layout.orientation() == QPageLayout::Landscape ? 2 : 1;
}

DialogResult Print(QWidget* owner, PrintSettings& settings, PrinterProperties& properties) {
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

DialogResult PageSetup(QWidget* owner, PageSetupSettings& settings) {
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

constexpr PrintDialogFunctions kDialogs{Print, PageSetup};

}  // namespace
}  // namespace brixel

extern "C" __attribute__((visibility("default"))) const brixel::PrintDialogFunctions* BrixelPrintDialogs(
    std::uint64_t version) {
  return version == brixel::kPrintModuleVersion ? &brixel::kDialogs : nullptr;
}
