#include "Settings.h"

#include <optional>
#include <string>

#include "AsciiText.h"
#include "RegEdit.h"

namespace brixel {
namespace {

constexpr const char* kTrue = "True";
constexpr const char* kFalse = "False";

std::string ReadText(const std::optional<RegistryStore>& store, const char* name) {
  return store ? StripNulls(RegistryText(store->Value(kSettingsKey, name))) : std::string();
}

void WriteText(const char* name, const std::string& text) {
  SetKeyValue(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, text);
}

// The tool numbers a button can carry: 0 to 14 except 11, which only switches flood filling.
bool IsButtonTool(int tool) { return tool >= 0 && tool <= 14 && tool != 11; }

std::optional<std::int16_t> ReadTool(const std::optional<RegistryStore>& store, const char* name) {
  const std::optional<int> tool = WholeNumber(ReadText(store, name));
  if (!tool || !IsButtonTool(*tool)) return std::nullopt;
  return static_cast<std::int16_t>(*tool);
}

}  // namespace

void LoadSettings(Settings& settings) {
  // One reading of the file for all the values.
  const std::optional<RegistryStore> store = LoadRoot(HKEY_CURRENT_USER);
  settings.SameWindow = !ReadText(store, "SameWindow").empty();

  const std::string grid = ReadText(store, "Grid");
  settings.Grid = grid != kFalse;  // "True", empty and anything unusable all mean on

  if (!ReadText(store, "FloodFill").empty()) settings.FloodFill = true;
  if (!ReadText(store, "LinkMouse").empty()) settings.LinkMouse = true;
  if (ReadText(store, "HotSpot").empty()) settings.HotSpot = true;

  if (auto tool = ReadTool(store, "DrawLeft")) settings.ButtonTool[kLeftButtonTool] = *tool;
  if (auto tool = ReadTool(store, "DrawMiddle")) settings.ButtonTool[kMiddleButtonTool] = *tool;
  if (auto tool = ReadTool(store, "DrawRight")) settings.ButtonTool[kRightButtonTool] = *tool;
  settings.KeepAlpha = ReadText(store, "KeepAlpha") != kFalse;
  settings.ConfirmSaves = ReadText(store, "ConfirmSaves") != kFalse;
}

void SaveSettings(const Settings& settings) {
  CreateKey(HKEY_CURRENT_USER, kSettingsKey);
  WriteText("SameWindow", settings.SameWindow ? kTrue : "");
  WriteText("Grid", settings.Grid ? kTrue : kFalse);
  WriteText("FloodFill", settings.FloodFill ? kTrue : "");
  WriteText("LinkMouse", settings.LinkMouse ? kTrue : "");
  WriteText("HotSpot", settings.HotSpot ? "" : kFalse);
  WriteText("DrawLeft", std::to_string(settings.ButtonTool[kLeftButtonTool]));
  WriteText("DrawMiddle", std::to_string(settings.ButtonTool[kMiddleButtonTool]));
  WriteText("DrawRight", std::to_string(settings.ButtonTool[kRightButtonTool]));
  WriteText("KeepAlpha", settings.KeepAlpha ? "" : kFalse);
  WriteText("ConfirmSaves", settings.ConfirmSaves ? "" : kFalse);
}

}  // namespace brixel
