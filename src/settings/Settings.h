#pragma once

#include <array>
#include <cstdint>

namespace brixel {

// The editor's options and each mouse button's drawing tool, as the main window holds them
// while it runs. The values are those before any settings are read.
struct Settings {
  bool SameWindow = false;  // "Open in same window"
  bool Grid = true;         // "Show drawing grid"
  bool FloodFill = false;   // "Allow diagonal floodfill"
  bool LinkMouse = false;   // "Link mouse buttons together"
  bool HotSpot = false;     // "Show HotSpot Indicator"
  // Tool numbers by mouse-button code minus 1 (left 1, right 2, middle 4); entry 2 is unused.
  std::array<std::int16_t, 4> ButtonTool{};
  bool KeepAlpha = true;    // "Keep alpha channel"
  bool ConfirmSaves = true; // "Confirm saves with a message"; off, the status bar tells
};

// Entries of ButtonTool.
inline constexpr int kLeftButtonTool = 0;
inline constexpr int kRightButtonTool = 1;
inline constexpr int kMiddleButtonTool = 3;

// The per-user key that holds the settings, under the current-user root.
inline constexpr const char* kSettingsKey = "Software\\Tessarine";

// Reads the stored settings into settings. A value that is missing, empty or unusable
// leaves an option as the rules for a missing value say: SameWindow off, Grid on, HotSpot on,
// KeepAlpha and ConfirmSaves on (only "False" turns them off); FloodFill, LinkMouse and the
// tools unchanged.
void LoadSettings(Settings& settings);

// Creates the key and writes the ten values: SameWindow, Grid, FloodFill, LinkMouse,
// HotSpot, DrawLeft, DrawMiddle, DrawRight, and KeepAlpha and ConfirmSaves ("False" when
// off, empty when on).
void SaveSettings(const Settings& settings);

}  // namespace brixel
