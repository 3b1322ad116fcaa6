#pragma once

#include "CommonDialogBackend.h"

namespace brixel {

// The dialogs shown to the user: QFileDialog, QColorDialog, QFontDialog and Qt's print and
// page-setup dialogs, each modal to its owner.
class QtCommonDialogBackend final : public CommonDialogBackend {
 public:
  DialogResult GetFileName(const FileDialogRequest& request, FileDialogAnswer& answer) override;
  DialogResult ChooseColour(const ColourDialogRequest& request, CustomColours& custom,
                            qint32& colour) override;
  DialogResult ChooseFont(QWidget* owner, QFont& font) override;
  DialogResult Print(QWidget* owner, PrintSettings& settings, PrinterProperties& printer) override;
  DialogResult PageSetup(QWidget* owner, PageSetupSettings& settings) override;
};

}  // namespace brixel
