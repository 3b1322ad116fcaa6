#include <gtest/gtest.h>

#include "IsolatedHome.h"
#include "RegEdit.h"
#include "RegistryStore.h"

namespace brixel {
namespace {

constexpr const char* kKey = "Software\\Tessarine";

class RegistryTest : public ::testing::Test {
 protected:
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& shown : backEnd_.prompter.shown) {
      EXPECT_EQ(shown.title, "Brixel");
      EXPECT_EQ(shown.icon, Prompter::Icon::None);
      EXPECT_EQ(shown.buttons, Prompter::Buttons::Ok);
      texts.push_back(shown.text);
    }
    return texts;
  }

  test::IsolatedHome home_;
  test::BackEndFixture backEnd_;
};

TEST(RegistryStoreTest, TextFormKeepsEveryKeyAndValueExactly) {
  const std::string odd = std::string("nul") + '\0' + "after\r\nline\x7f";
  RegistryStore store;
  store.CreateKey("Software\\Tessarine\\Empty");
  store.SetValue("Software\\Tessarine", "", std::string("default"));
  store.SetValue("Software\\Tessarine", "@", std::string("named at"));
  store.SetValue("Software\\Tessarine", "Quote\"And\\Slash", std::string("a \"b\" c\\d"));
  store.SetValue("Software\\Tessarine", "Odd", odd);
  store.SetValue("Software\\Tessarine", "Utf8", std::string("Gr\xC3\xBC\xC3\x9F" "e ]["));
  store.SetValue("Software\\Tessarine", "Negative", std::int32_t{-5});
  store.SetValue("Software\\Tessarine", "Empty", std::string());
  store.SetValue("", "AtRoot", std::int32_t{7});
  const RegistryStore parsed = RegistryStore::Parse(store.Serialise());
  EXPECT_EQ(parsed, store);
  EXPECT_TRUE(parsed.HasKey("software\\tessarine\\empty"));
  EXPECT_EQ(parsed.Value("SOFTWARE\\TESSARINE", "odd"),
            RegistryData(odd));
  EXPECT_EQ(parsed.Value("Software\\Tessarine", "Negative"), RegistryData(std::int32_t{-5}));
}

TEST(RegistryStoreTest, MalformedTextIsSkippedLineByLine) {
  const RegistryStore store = RegistryStore::Parse(
      "\"Before\"=\"any key\"\n"
      "[Good]\r\n"
      "\"A\"=\"1\"\n"
      "\"Unclosed=\"2\"\n"
      "\"B\"=dword:123456789\n"
      "\"C\"=dword:zz\n"
      "\"D\"=\"trailing\" junk\n"
      "\"E\" \"no equals\"\n"
      "[Bad\\\\Path]\n"
      "\"F\"=\"lost with its section\"\n"
      "[Good\\Sub]\n"
      "  \"G\"  = \"x\"\n"
      "\"H\"=dword:ffffffff\n"
      "[\x01]\n"
      "[]\n"
      "@=\"root default\"\n");
  RegistryStore expected;
  expected.CreateKey("Good\\Sub");
  expected.SetValue("Good", "A", std::string("1"));
  expected.SetValue("Good\\Sub", "H", std::int32_t{-1});
  expected.SetValue("", "", std::string("root default"));
  EXPECT_EQ(store, expected);
}

TEST(RegistryStoreTest, DeletingAKeyTakesItsSubKeysButNotItsNeighbours) {
  RegistryStore store;
  store.CreateKey("curfile\\shell\\open\\command");
  store.CreateKey("curfile\\DefaultIcon");
  store.CreateKey("curfileX");
  store.CreateKey("curfile\\shellX");
  EXPECT_TRUE(store.DeleteKey("CURFILE\\Shell"));
  EXPECT_FALSE(store.HasKey("curfile\\shell\\open"));
  EXPECT_TRUE(store.HasKey("curfile\\shellX"));
  EXPECT_TRUE(store.HasKey("curfileX"));
  EXPECT_EQ(store.SubKeys("curfile"), (std::vector<std::string>{"DefaultIcon", "shellX"}));
  EXPECT_FALSE(store.DeleteKey("curfile\\shell"));
  EXPECT_FALSE(store.DeleteKey(""));
}

TEST_F(RegistryTest, KeysAreCreatedWithEveryLevelInTheUsersConfigFolder) {
  CreateKey(HKEY_CURRENT_USER, "Software\\Tessarine\\A\\B");
  EXPECT_TRUE(Messages().empty());
  const auto file = home_.Config() / "Tessarine" / "registry.ini";
  ASSERT_TRUE(std::filesystem::exists(file));
  const RegistryStore store = RegistryStore::Parse(test::ReadText(file));
  EXPECT_TRUE(store.HasKey("Software"));
  EXPECT_TRUE(store.HasKey("Software\\Tessarine\\A\\B"));
  EXPECT_FALSE(std::filesystem::exists(home_.Home() / ".config"));
}

TEST_F(RegistryTest, MissingValuesQueryAsNothingWithoutAMessage) {
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Grid"), std::nullopt);
  CreateKey(HKEY_CURRENT_USER, kKey);
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Grid"), std::nullopt);
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, "Software\\Other", "Grid"), std::nullopt);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryTest, WrittenValuesReadBackAsWritten) {
  CreateKey(HKEY_CURRENT_USER, kKey);
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Grid", REG_SZ, std::string("False"));
  SetKeyValue(HKEY_CURRENT_USER, kKey, "DrawLeft", REG_SZ, std::int32_t{5});
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Count", REG_DWORD, std::string("-12"));
  SetKeyValue(HKEY_CURRENT_USER, kKey, "grid", REG_SZ, std::string("True"));  // same value
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "GRID"), RegistryData(std::string("True")));
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "DrawLeft"), RegistryData(std::string("5")));
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Count"), RegistryData(std::int32_t{-12}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryTest, AValueWrittenWithAClassWriteReadsBackTheSameAfterStrippingNulls) {
  CreateKey(HKEY_CLASSES_ROOT, "icofile");
  SetKeyValue(HKEY_CLASSES_ROOT, "icofile", "A", REG_SZ, std::string("text"));
  SetClassValue("icofile", "B", std::string("text"), REG_SZ);
  EXPECT_EQ(StripNulls(RegistryText(QueryValue(HKEY_CLASSES_ROOT, "icofile", "A"))),
            StripNulls(RegistryText(QueryValue(HKEY_CLASSES_ROOT, "icofile", "B"))));
  EXPECT_EQ(StripNulls("text"), "text");
  EXPECT_EQ(StripNulls(std::string("text\0rest", 9)), "text");
  EXPECT_EQ(StripNulls(std::string("\0", 1)), "");
}

TEST_F(RegistryTest, WritingIntoAMissingKeyShowsAMessageAndCreatesNothing) {
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Grid", REG_SZ, std::string("True"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: Opening Registry Key!"}));
  EXPECT_FALSE(std::filesystem::exists(home_.Config() / "Tessarine" / "registry.ini"));

  CreateKey(HKEY_CURRENT_USER, "Software");
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Grid", REG_SZ, std::string("True"));
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Grid"), std::nullopt);
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(RegistryTest, ANumberThatIsNoNumberShowsTheDwordMessage) {
  CreateKey(HKEY_CURRENT_USER, kKey);
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Count", REG_DWORD, std::string("five"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error Setting Long (DWORD) Value!"}));
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Count"), std::nullopt);
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenShowsTheMessagesAndKeepsTheOldFile) {
  // A file where the store's folder should be: nothing can be created.
  std::filesystem::create_directories(home_.Config());
  test::WriteBytes(home_.Config() / "Tessarine", Bytes{'x'});
  CreateKey(HKEY_CURRENT_USER, kKey);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: Creating Key!"}));
  EXPECT_EQ(test::ReadText(home_.Config() / "Tessarine"), "x");
}

TEST_F(RegistryTest, AStoreThatCannotBeReadIsNeverOverwritten) {
  CreateKey(HKEY_CURRENT_USER, kKey);
  const auto file = home_.Config() / "Tessarine" / "registry.ini";
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);  // unreadable as a file
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Grid", REG_SZ, std::string("True"));
  CreateKey(HKEY_CURRENT_USER, "Software\\Other");
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Error: Opening Registry Key!", "Error: Creating Key!"}));
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(RegistryTest, DeletingReportsOnlyAFailedDeleteOfAnOpenedKey) {
  CreateKey(HKEY_CURRENT_USER, "Software\\Tessarine\\Sub\\Deeper");
  DeleteKey(HKEY_CURRENT_USER, "Software\\Missing", "Sub");  // key not opened: silent
  EXPECT_TRUE(Messages().empty());
  DeleteKey(HKEY_CURRENT_USER, kKey, "Nothing");
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: Deleteing Key!"}));
  DeleteKey(HKEY_CURRENT_USER, kKey, "Sub");
  EXPECT_EQ(Messages().size(), 1u);
  const RegistryStore store =
      RegistryStore::Parse(test::ReadText(home_.Config() / "Tessarine" / "registry.ini"));
  EXPECT_FALSE(store.HasKey("Software\\Tessarine\\Sub"));
  EXPECT_TRUE(store.HasKey(kKey));
  DeleteKey(HKEY_CURRENT_USER, kKey, "");  // the opened key itself
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, ""), std::nullopt);
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(RegistryTest, AnUnknownRootKeepsNothing) {
  CreateKey(0x80000002u, kKey);
  SetKeyValue(0x80000002u, kKey, "A", REG_SZ, std::string("x"));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Error: Creating Key!", "Error: Opening Registry Key!"}));
}

}  // namespace
}  // namespace brixel
