#include "ToolChoice.h"

#include "DrawingTool.h"
#include "MouseFunctionsPanel.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

constexpr int kButtonCodes[] = {1, 2, 4};

std::size_t Entry(int buttonCode) { return static_cast<std::size_t>(buttonCode - 1); }

}  // namespace

ToolChoice::ToolChoice(Settings& settings, kzrToolBar& toolbar, MouseFunctionsPanel& panel,
                       ToolBarPicture squareFlood, ToolBarPicture diagonalFlood)
    : settings_(settings),
      toolbar_(toolbar),
      panel_(panel),
      squareFlood_(std::move(squareFlood)),
      diagonalFlood_(std::move(diagonalFlood)) {}

void ToolChoice::Choose(int buttonCode, int tool) {
  if (tool == kToolFlood) {
    settings_.FloodFill = !settings_.FloodFill;
    ShowFloodPicture();
    return;
  }
  if (tool < 0 || tool >= kToolCount) return;
  if (tool == kToolText && openTextDialog_ && !openTextDialog_()) return;
  Assign(buttonCode, tool);
}

void ToolChoice::ReturnTo(int buttonCode, int tool) {
  if (tool < 0 || tool >= kToolCount || tool == kToolFlood) return;
  Assign(buttonCode, tool);
}

void ToolChoice::Assign(int buttonCode, int tool) {
  const int code = ButtonOrLeft(buttonCode);
  const auto number = static_cast<std::int16_t>(tool);
  const QPixmap& picture = toolbar_.ButtonPicture(tool).pixmap;
  if (settings_.LinkMouse) {
    for (int each : kButtonCodes) {
      panel_.SetToolPicture(each, picture);
      settings_.ButtonTool[Entry(each)] = number;
    }
  } else {
    std::int16_t& current = settings_.ButtonTool[Entry(code)];
    if (tool == kToolEyeDrop && current != kToolEyeDrop) {
      returnTools_[static_cast<std::size_t>(code)] = current;
    }
    panel_.SetToolPicture(code, picture);
    current = number;
  }
  toolbar_.Refresh();
}

int ToolChoice::ToolOf(int buttonCode) const {
  return settings_.ButtonTool[Entry(ButtonOrLeft(buttonCode))];
}

int ToolChoice::ReturnTool(int buttonCode) const {
  if (buttonCode != 1 && buttonCode != 2 && buttonCode != 4) return -1;
  return returnTools_[static_cast<std::size_t>(buttonCode)];
}

void ToolChoice::ShowSettings() {
  for (int code : kButtonCodes) {
    panel_.SetToolPicture(code, toolbar_.ButtonPicture(ToolOf(code)).pixmap);
  }
  ShowFloodPicture();
}

void ToolChoice::ShowFloodPicture() {
  toolbar_.SetButtonPicture(kToolFlood, settings_.FloodFill ? diagonalFlood_ : squareFlood_);
  toolbar_.Refresh();
}

}  // namespace brixel
