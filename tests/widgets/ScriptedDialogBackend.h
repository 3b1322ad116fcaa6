#pragma once

#include <functional>
#include <vector>

#include "CommonDialogBackend.h"

namespace brixel::test {

// Answers the common dialogs from scripts instead of showing windows, and records what each
// dialog was asked. A dialog without a script is cancelled.
class ScriptedDialogBackend : public CommonDialogBackend {
 public:
  std::function<DialogResult(const FileDialogRequest&, FileDialogAnswer&)> file;
  std::function<DialogResult(const ColourDialogRequest&, CustomColours&, qint32&)> colour;
  std::function<DialogResult(QFont&)> font;

  std::vector<FileDialogRequest> fileRequests;
  std::vector<ColourDialogRequest> colourRequests;
  std::vector<CustomColours> offeredCustomColours;

  DialogResult GetFileName(const FileDialogRequest& request, FileDialogAnswer& answer) override {
    fileRequests.push_back(request);
    return file ? file(request, answer) : DialogResult::Cancelled();
  }
  DialogResult ChooseColour(const ColourDialogRequest& request, CustomColours& custom,
                            qint32& chosen) override {
    colourRequests.push_back(request);
    offeredCustomColours.push_back(custom);
    return colour ? colour(request, custom, chosen) : DialogResult::Cancelled();
  }
  DialogResult ChooseFont(QWidget*, QFont& chosen) override {
    return font ? font(chosen) : DialogResult::Cancelled();
  }
  DialogResult Print(QWidget*, PrintSettings&, PrinterProperties&) override {
    return DialogResult::Cancelled();
  }
  DialogResult PageSetup(QWidget*, PageSetupSettings&) override {
    return DialogResult::Cancelled();
  }
};

}  // namespace brixel::test
