#include <gtest/gtest.h>

#include "IsolatedHome.h"
#include "RegEdit.h"
#include "Settings.h"

namespace brixel {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  static std::optional<RegistryData> Stored(const char* name) {
    return QueryValue(HKEY_CURRENT_USER, kSettingsKey, name);
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
  EXPECT_EQ(settings.ButtonTool, (std::array<std::int16_t, 4>{0, 0, 0, 0}));
  EXPECT_FALSE(ReadSameWindow());
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(home_.Config() / "Tessarine"));
}

TEST_F(SettingsTest, EachOptionIsStoredWithItsOwnPolarity) {
  Settings settings;
  settings.Grid = false;
  settings.HotSpot = false;
  SaveSettings(settings);
  EXPECT_EQ(Stored("SameWindow"), RegistryData(std::string()));
  EXPECT_EQ(Stored("Grid"), RegistryData(std::string("False")));
  EXPECT_EQ(Stored("FloodFill"), RegistryData(std::string()));
  EXPECT_EQ(Stored("LinkMouse"), RegistryData(std::string()));
  EXPECT_EQ(Stored("HotSpot"), RegistryData(std::string("False")));

  settings = Settings{true, true, true, true, true, {}};
  SaveSettings(settings);
  EXPECT_EQ(Stored("SameWindow"), RegistryData(std::string("True")));
  EXPECT_EQ(Stored("Grid"), RegistryData(std::string("True")));
  EXPECT_EQ(Stored("FloodFill"), RegistryData(std::string("True")));
  EXPECT_EQ(Stored("LinkMouse"), RegistryData(std::string("True")));
  EXPECT_EQ(Stored("HotSpot"), RegistryData(std::string()));
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST_F(SettingsTest, SettingsSurviveARestartThroughTheStoreFile) {
  Settings saved;
  saved.SameWindow = true;
  saved.Grid = false;
  saved.FloodFill = true;
  saved.LinkMouse = true;
  saved.HotSpot = false;
  saved.ButtonTool = {8, 9, 0, 5};
  SaveSettings(saved);

  const std::string file = test::ReadText(home_.Config() / "Tessarine" / "registry.ini");
  EXPECT_NE(file.find("[Software\\Tessarine]\n"), std::string::npos);
  EXPECT_NE(file.find("\"DrawMiddle\"=\"5\"\n"), std::string::npos);
  EXPECT_EQ(Stored("DrawMiddle"), RegistryData(std::string("5")));

  const Settings loaded = Loaded();
  EXPECT_TRUE(loaded.SameWindow);
  EXPECT_FALSE(loaded.Grid);
  EXPECT_TRUE(loaded.FloodFill);
  EXPECT_TRUE(loaded.LinkMouse);
  EXPECT_FALSE(loaded.HotSpot);
  EXPECT_EQ(loaded.ButtonTool, (std::array<std::int16_t, 4>{8, 9, 0, 5}));
  EXPECT_TRUE(ReadSameWindow());
}

TEST_F(SettingsTest, EmptyTextsFollowTheRulesForMissingValues) {
  SaveSettings(Settings{});  // everything off but the grid, hot spot off
  Settings running;
  running.SameWindow = true;
  running.FloodFill = true;
  running.LinkMouse = true;
  running.ButtonTool = {2, 3, 0, 4};
  Store("DrawLeft", "");
  Store("HotSpot", "");
  const Settings loaded = Loaded(running);
  EXPECT_FALSE(loaded.SameWindow);  // empty means off
  EXPECT_TRUE(loaded.FloodFill);    // empty leaves it as it was
  EXPECT_TRUE(loaded.LinkMouse);
  EXPECT_TRUE(loaded.HotSpot);      // empty means on
  EXPECT_EQ(loaded.ButtonTool, (std::array<std::int16_t, 4>{2, 0, 0, 0}));
}

TEST_F(SettingsTest, UnusableTextsReadAsMissing) {
  Store("Grid", "Yes");
  Store("HotSpot", "Maybe");  // any text leaves the hot spot as it was
  Store("DrawLeft", "abc");
  Store("DrawMiddle", "11");
  Store("DrawRight", "99");
  Settings running;
  running.ButtonTool = {6, 7, 0, 8};
  const Settings loaded = Loaded(running);
  EXPECT_TRUE(loaded.Grid);
  EXPECT_FALSE(loaded.HotSpot);
  EXPECT_EQ(loaded.ButtonTool, (std::array<std::int16_t, 4>{6, 7, 0, 8}));

  Store("Grid", "False");
  Store("DrawRight", "14");
  EXPECT_FALSE(Loaded().Grid);
  EXPECT_EQ(Loaded().ButtonTool[kRightButtonTool], 14);
}

TEST_F(SettingsTest, ToolNumbersStoredAsNumbersAreReadToo) {
  CreateKey(HKEY_CURRENT_USER, kSettingsKey);
  SetKeyValue(HKEY_CURRENT_USER, kSettingsKey, "DrawRight", REG_DWORD, std::int32_t{13});
  EXPECT_EQ(Loaded().ButtonTool[kRightButtonTool], 13);
}

TEST_F(SettingsTest, AStoreThatCannotBeWrittenIsReportedByTheRegistryMessages) {
  std::filesystem::create_directories(home_.Config());
  test::WriteBytes(home_.Config() / "Tessarine", Bytes{'x'});
  SaveSettings(Settings{});
  ASSERT_EQ(backEnd_.prompter.shown.size(), 9u);
  EXPECT_EQ(backEnd_.prompter.shown[0].text, "Error: Creating Key!");
  EXPECT_EQ(backEnd_.prompter.shown[8].text, "Error: Opening Registry Key!");
  EXPECT_TRUE(Loaded().Grid);
}

}  // namespace
}  // namespace brixel
