#include <gtest/gtest.h>

#include "IsolatedHome.h"
#include "RegEdit.h"
#include "Settings.h"

namespace brixel {
namespace {

using Tools = std::array<std::int16_t, 4>;

class SettingsTest : public ::testing::Test {
 protected:
  // The five options as stored, in their order; "-" for a value not stored at all.
  static std::vector<std::string> StoredOptions() {
    std::vector<std::string> texts;
    for (const char* name : {"SameWindow", "Grid", "FloodFill", "LinkMouse", "HotSpot"}) {
      const auto value = QueryValue(HKEY_CURRENT_USER, kSettingsKey, name);
      texts.push_back(value ? RegistryText(value) : "-");
    }
    return texts;
  }
  static void Store(const char* name, const std::string& text) {
    CreateKey(HKEY_CURRENT_USER, kSettingsKey);
    SetKeyValue(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, text);
  }
  static Settings Loaded(Settings settings = {}) {
    LoadSettings(settings);
    return settings;
  }

  test::IsolatedHome home_;
  test::BackEndFixture backEnd_;
};

TEST_F(SettingsTest, FirstStartShowsGridAndHotSpotAndKeepsTheToolDefaults) {
  const Settings settings = Loaded();
  EXPECT_TRUE(settings.Grid);
  EXPECT_TRUE(settings.HotSpot);
  EXPECT_FALSE(settings.SameWindow);
  EXPECT_FALSE(settings.FloodFill);
  EXPECT_FALSE(settings.LinkMouse);
  EXPECT_EQ(settings.ButtonTool, (Tools{0, 0, 0, 0}));
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(home_.Config() / "Tessarine"));
}

TEST_F(SettingsTest, EachOptionIsStoredWithItsOwnPolarity) {
  SaveSettings(Settings{false, false, false, false, false, {}});
  EXPECT_EQ(StoredOptions(), (std::vector<std::string>{"", "False", "", "", "False"}));
  SaveSettings(Settings{true, true, true, true, true, {}});
  EXPECT_EQ(StoredOptions(), (std::vector<std::string>{"True", "True", "True", "True", ""}));
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST_F(SettingsTest, ConfirmSavesIsOnUnlessStoredFalse) {
  EXPECT_TRUE(Loaded(Settings{.ConfirmSaves = false}).ConfirmSaves);  // first start
  SaveSettings(Settings{.ConfirmSaves = false});
  EXPECT_FALSE(Loaded().ConfirmSaves);
  SaveSettings(Settings{});
  EXPECT_TRUE(Loaded(Settings{.ConfirmSaves = false}).ConfirmSaves);
}

TEST_F(SettingsTest, KeepAlphaIsOnUnlessStoredFalse) {
  EXPECT_TRUE(Loaded(Settings{.KeepAlpha = false}).KeepAlpha);  // first start
  Settings off;
  off.KeepAlpha = false;
  SaveSettings(off);
  EXPECT_EQ(RegistryText(*QueryValue(HKEY_CURRENT_USER, kSettingsKey, "KeepAlpha")), "False");
  EXPECT_FALSE(Loaded().KeepAlpha);
  SaveSettings(Settings{});
  EXPECT_EQ(RegistryText(*QueryValue(HKEY_CURRENT_USER, kSettingsKey, "KeepAlpha")), "");
  EXPECT_TRUE(Loaded(off).KeepAlpha);
  Store("KeepAlpha", "0");  // only "False" turns it off
  EXPECT_TRUE(Loaded(off).KeepAlpha);
}

TEST_F(SettingsTest, SettingsSurviveARestartThroughTheStoreFile) {
  const Settings saved{true, false, true, true, false, {8, 9, 0, 5}};
  SaveSettings(saved);
  const std::string file = test::ReadText(home_.Config() / "Tessarine" / "registry.ini");
  EXPECT_NE(file.find("[Software\\Tessarine]\n"), std::string::npos);
  EXPECT_NE(file.find("\"DrawMiddle\"=\"5\"\n"), std::string::npos);

  const Settings loaded = Loaded();
  EXPECT_EQ((std::array<bool, 5>{loaded.SameWindow, loaded.Grid, loaded.FloodFill, loaded.LinkMouse, loaded.HotSpot}),
            (std::array<bool, 5>{true, false, true, true, false}));
  EXPECT_EQ(loaded.ButtonTool, saved.ButtonTool);
}

TEST_F(SettingsTest, EmptyAndUnusableTextsFollowTheRulesForMissingValues) {
  SaveSettings(Settings{});  // everything off but the grid, hot spot off
  Settings running{true, true, true, true, false, {2, 3, 0, 4}};
  Store("DrawLeft", "");
  Store("HotSpot", "");
  Settings loaded = Loaded(running);
  EXPECT_FALSE(loaded.SameWindow);  // empty means off
  EXPECT_TRUE(loaded.FloodFill);    // empty leaves it as it was
  EXPECT_TRUE(loaded.HotSpot);      // empty means on
  EXPECT_EQ(loaded.ButtonTool, (Tools{2, 0, 0, 0}));

  Store("Grid", "Yes");
  Store("HotSpot", "Maybe");  // any text leaves the hot spot as it was
  Store("DrawLeft", "abc");
  Store("DrawMiddle", "11");
  Store("DrawRight", "99");
  running.ButtonTool = {6, 7, 0, 8};
  loaded = Loaded(running);
  EXPECT_TRUE(loaded.Grid);
  EXPECT_FALSE(loaded.HotSpot);
  EXPECT_EQ(loaded.ButtonTool, (Tools{6, 7, 0, 8}));

  Store("Grid", "False");
  SetKeyValue(HKEY_CURRENT_USER, kSettingsKey, "DrawRight", REG_DWORD, std::int32_t{13});  // a number is read too
  loaded = Loaded();
  EXPECT_FALSE(loaded.Grid);
  EXPECT_EQ(loaded.ButtonTool[kRightButtonTool], 13);
}

TEST_F(SettingsTest, AStoreThatCannotBeWrittenIsReportedByTheRegistryMessages) {
  std::filesystem::create_directories(home_.Config());
  test::WriteBytes(home_.Config() / "Tessarine", Bytes{'x'});
  SaveSettings(Settings{});
  ASSERT_EQ(backEnd_.prompter.shown.size(), 11u);  // the key, then each of the ten values
  EXPECT_EQ(backEnd_.prompter.shown[0].text, "Error: Creating Key!");
  EXPECT_EQ(backEnd_.prompter.shown[10].text, "Error: Opening Registry Key!");
  EXPECT_TRUE(Loaded().Grid);
}

}  // namespace
}  // namespace brixel
