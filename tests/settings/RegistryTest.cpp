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
    for (const auto& shown : backEnd_.prompter.shown) texts.push_back(shown.text);
    return texts;
  }
  std::filesystem::path StoreFile() const { return home_.Config() / "Tessarine" / "registry.ini"; }

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
  EXPECT_EQ(parsed.Value("SOFTWARE\\TESSARINE", "odd"), RegistryData(odd));
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
}

TEST_F(RegistryTest, ValuesAreKeptInTheUsersConfigFolderAndReadBackAsWritten) {
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Grid"), std::nullopt);
  CreateKey(HKEY_CURRENT_USER, "Software\\Tessarine\\A\\B");
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Grid"), std::nullopt);
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Grid", REG_SZ, std::string("False"));
  SetKeyValue(HKEY_CURRENT_USER, kKey, "DrawLeft", REG_SZ, std::int32_t{5});
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Count", REG_DWORD, std::string("-12"));
  SetKeyValue(HKEY_CURRENT_USER, kKey, "grid", REG_SZ, std::string("True"));  // same value
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "GRID"), RegistryData(std::string("True")));
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "DrawLeft"), RegistryData(std::string("5")));
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Count"), RegistryData(std::int32_t{-12}));
  EXPECT_TRUE(Messages().empty());

  const RegistryStore store = RegistryStore::Parse(test::ReadText(StoreFile()));
  EXPECT_TRUE(store.HasKey("Software"));
  EXPECT_TRUE(store.HasKey("Software\\Tessarine\\A\\B"));
  EXPECT_FALSE(std::filesystem::exists(home_.Home() / ".config"));

  // A class value written either way reads back the same once its nulls are stripped.
  CreateKey(HKEY_CLASSES_ROOT, "icofile");
  SetKeyValue(HKEY_CLASSES_ROOT, "icofile", "A", REG_SZ, std::string("text"));
  SetClassValue("icofile", "B", std::string("text"), REG_SZ);
  EXPECT_EQ(StripNulls(RegistryText(QueryValue(HKEY_CLASSES_ROOT, "icofile", "A"))),
            StripNulls(RegistryText(QueryValue(HKEY_CLASSES_ROOT, "icofile", "B"))));
  EXPECT_EQ(StripNulls(std::string("text\0rest", 9)), "text");
}

TEST_F(RegistryTest, FailedWritesShowTheirMessagesAndStoreNothing) {
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Grid", REG_SZ, std::string("True"));
  EXPECT_FALSE(std::filesystem::exists(StoreFile()));
  CreateKey(HKEY_CURRENT_USER, "Software");
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Grid", REG_SZ, std::string("True"));
  CreateKey(HKEY_CURRENT_USER, kKey);
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Count", REG_DWORD, std::string("five"));
  CreateKey(0x80000002u, kKey);  // an unknown root
  SetKeyValue(0x80000002u, kKey, "A", REG_SZ, std::string("x"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: Opening Registry Key!", "Error: Opening Registry Key!",
                                                  "Error Setting Long (DWORD) Value!", "Error: Creating Key!",
                                                  "Error: Opening Registry Key!"}));
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Grid"), std::nullopt);
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Count"), std::nullopt);
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenOrReadIsNeverReplaced) {
  // A file where the store's folder should be: nothing can be created.
  std::filesystem::create_directories(home_.Config());
  test::WriteBytes(home_.Config() / "Tessarine", Bytes{'x'});
  CreateKey(HKEY_CURRENT_USER, kKey);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: Creating Key!"}));
  EXPECT_EQ(test::ReadText(home_.Config() / "Tessarine"), "x");

  backEnd_.prompter.shown.clear();
  std::filesystem::remove(home_.Config() / "Tessarine");
  CreateKey(HKEY_CURRENT_USER, kKey);
  std::filesystem::remove(StoreFile());
  std::filesystem::create_directory(StoreFile());  // unreadable as a file
  SetKeyValue(HKEY_CURRENT_USER, kKey, "Grid", REG_SZ, std::string("True"));
  CreateKey(HKEY_CURRENT_USER, "Software\\Other");
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: Opening Registry Key!", "Error: Creating Key!"}));
  EXPECT_TRUE(std::filesystem::is_directory(StoreFile()));
}

TEST_F(RegistryTest, DeletingReportsOnlyAFailedDeleteOfAnOpenedKey) {
  CreateKey(HKEY_CURRENT_USER, "Software\\Tessarine\\Sub\\Deeper");
  DeleteKey(HKEY_CURRENT_USER, "Software\\Missing", "Sub");  // key not opened: silent
  EXPECT_TRUE(Messages().empty());
  DeleteKey(HKEY_CURRENT_USER, kKey, "Nothing");
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: Deleteing Key!"}));
  DeleteKey(HKEY_CURRENT_USER, kKey, "Sub");
  EXPECT_FALSE(RegistryStore::Parse(test::ReadText(StoreFile())).HasKey("Software\\Tessarine\\Sub"));
  DeleteKey(HKEY_CURRENT_USER, kKey, "");  // the opened key itself
  EXPECT_FALSE(RegistryStore::Parse(test::ReadText(StoreFile())).HasKey(kKey));
  EXPECT_EQ(Messages().size(), 1u);
}

}  // namespace
}  // namespace brixel
