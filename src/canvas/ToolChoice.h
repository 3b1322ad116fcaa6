#pragma once

#include <QString>
#include <array>
#include <functional>

#include "Settings.h"
#include "ToolBarPicture.h"

namespace brixel {

class MouseFunctionsPanel;
class kzrToolBar;

// Gives the drawing toolbar's tools to the mouse buttons: the tool picture of each button in
// the "Mouse Functions" frame, the tool number in the settings, and the tool a button returns
// to after the eye-dropper. The toolbar's fill switch turns diagonal filling on and off.
class ToolChoice {
 public:
  ToolChoice(Settings& settings, kzrToolBar& toolbar, MouseFunctionsPanel& panel,
             ToolBarPicture squareFlood, ToolBarPicture diagonalFlood);

  // Shown modally before the text tool is given to a button; false (Cancel) leaves the button
  // its tool.
  void OnTextTool(std::function<bool()> openTextDialog) { openTextDialog_ = std::move(openTextDialog); }

  // A click on the toolbar's button `tool` with the mouse button of that code.
  void Choose(int buttonCode, int tool);
  // After the eye-dropper: the button takes its tool back, the text tool without its dialog.
  void ReturnTo(int buttonCode, int tool);
  // The tool of a button code (1, 2 or 4).
  int ToolOf(int buttonCode) const;
  // The tool the button goes back to after the eye-dropper; -1 when none was recorded.
  int ReturnTool(int buttonCode) const;

  // Brings the tool pictures and the fill switch's picture in line with the settings.
  void ShowSettings();

 private:
  void ShowFloodPicture();
  void Assign(int buttonCode, int tool);

  Settings& settings_;
  kzrToolBar& toolbar_;
  MouseFunctionsPanel& panel_;
  ToolBarPicture squareFlood_;
  ToolBarPicture diagonalFlood_;
  std::function<bool()> openTextDialog_;
  std::array<int, 5> returnTools_{-1, -1, -1, -1, -1};  // by button code
};

}  // namespace brixel
