#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "editor/section_table.h"
#include "runtime/text.h"
#include "unit/harness.h"

namespace qz {
namespace {

const char* const kIni = "C:\\C6\\BIN\\C60EE.ini.";

struct Section : fake::Harness {
  void Ini(const char* section, const char* key, const char* value) { profile.Write(kIni, section, key, value); }
  std::vector<Item> Load(const char* section) { return LoadSection(svc, kIni, section); }
};

TEST(section_table, loads_each_section_into_its_fields) {
  Section t;
  t.Ini("User Menus", "1", "&Save && Exit|SAVER");
  t.Ini("User Menus", "2", "-|-");
  t.Ini("User Menus", "3", "&Tools|MYTOOL");
  t.Ini("User Menus", "5", "Beyond|GAP");
  t.Ini("User Applications", "mytool", " 'C:\\T\\TOOL.EXE' ");  // read as an entry read gives it
  t.Ini("User Applications", "SAVER", "  C:\\Program Files\\S\\SAVE.EXE\" /x");
  const auto menus = t.Load("User Menus");
  ASSERT_EQ(menus.size(), 3u);  // key 4 missing: the list ends there
  EXPECT_EQ(menus[0].sortKey, "SAVE  EXIT");
  EXPECT_EQ(menus[0].commandLine, "\"C:\\Program Files\\S\\SAVE.EXE\" /x");  // lost opening quote put back
  EXPECT_EQ(menus[1].sortKey, "TOOLS");  // a separator carries the key of the item after it
  EXPECT_EQ(menus[2].text, "&Tools");
  EXPECT_EQ(menus[2].appRef, "MYTOOL");
  EXPECT_EQ(menus[2].commandLine, "C:\\T\\TOOL.EXE");
  EXPECT_EQ(menus[2].number, 3);

  t.Ini("File Types", "All", "2");
  t.Ini("File Types", "1", "Templates=*.tpl|CWEDT");
  t.Ini("File Types", "2", "All Files=*.*|NOTE");
  t.Ini("File Types", "3", "No separators at all");
  t.Ini("File Types", "4", "-");
  t.Ini("User Applications", "NOTE", "notepad.exe");
  t.Ini("User Applications", "CWEDT", "never read for an applet");
  const auto types = t.Load("File Types");
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(types[0].mask, "*.tpl");
  EXPECT_EQ(types[0].appRef, "CWEDT");
  EXPECT_EQ(types[0].commandLine, "");
  EXPECT_EQ((std::vector<bool>{types[0].allFilesMask, types[1].allFilesMask, types[2].allFilesMask}),
            (std::vector<bool>{false, true, false}));
  EXPECT_EQ(types[1].commandLine, "notepad.exe");
  EXPECT_EQ(types[2].text, "No separators at all");  // malformed: every field gets the whole text
  EXPECT_EQ(types[2].appRef, "No separators at all");
  EXPECT_EQ(types[3].sortKey, std::string(99, '\xFF'));  // a separator at the end sorts last

  EXPECT_TRUE(t.Load("Setup Menu").empty());
}

TEST(section_table, loads_translations_from_the_translation_file) {
  Section t;
  auto dir = std::filesystem::temp_directory_path() / "qz-section-table";
  std::filesystem::create_directories(dir);
  std::string path = (dir / "QZCLLang.str").string();
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db,
               "PRAGMA application_id=1364869964; PRAGMA user_version=1;"
               "CREATE TABLE translations(source TEXT NOT NULL, replacement TEXT NOT NULL);"
               "CREATE INDEX translations_source ON translations(source);"
               "INSERT INTO translations VALUES('Zebra','Zebre'),('apple','pomme');",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  t.svc.langFile = path;
  t.files.existing.insert(path);
  const auto items = t.Load("Translations");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(Clip(items[0].text), "Zebra");
  EXPECT_EQ(items[0].text.size(), 254u);
  EXPECT_EQ(Clip(items[1].replacement), "pomme");
  EXPECT_EQ(Clip(items[1].sortKey), "APPLE");
  EXPECT_EQ(items[1].number, 0);
  std::filesystem::remove_all(dir);
}

TEST(section_table, applets_validation_and_sort_keys) {
  struct AppletCase {
    const char* name;
    bool applet;
  } applets[] = {{"cwedt ", true}, {"CWGEN.1", true}, {"CWA", true}, {"CWGEN.10", true},
                 {"NOTEPAD", false}, {"ADM", false}, {"", false}};
  for (const auto& c : applets) EXPECT_EQ(IsApplet(c.name), c.applet) << c.name;

  struct ValidCase {
    const char* section;
    Item item;
    bool valid;
  } items[] = {
      {"User Menus", {.text = "-"}, false},                      // new separator: rule 2 first
      {"User Menus", {.text = "-", .appRef = "-"}, true},        // loaded separator
      {"User Menus", {.text = "&Tools", .appRef = "CWEDT"}, true},  // an applet needs no command line
      {"User Menus", {.text = "&Tools", .appRef = "MINE"}, false},
      {"Setup Menu", {.text = "A/-", .appRef = "x"}, true},
      {"File Types", {.text = "T", .mask = "*.t"}, false},
      {"Pick Dialog", {.text = "T", .mask = "*.t", .appRef = "ME", .commandLine = "me.exe"}, true},
      {"Translations", {.text = "Source"}, true},
      {"Translations", {.replacement = "x"}, false},
  };
  for (const auto& c : items) EXPECT_EQ(ValidateItem(c.section, c.item), c.valid) << c.section << " " << c.item.text;

  Item edited{.text = "&Save && Exit", .sortKey = "old"};
  SetEditTimeSortKey(edited);
  EXPECT_EQ(edited.sortKey, "SAVE && EXIT");
  EXPECT_EQ(LoadTimeSortKey("&Save && Exit"), "SAVE  EXIT");
}

TEST(section_table, moves_keep_separators_before_their_item_and_default_restores_the_order) {
  std::vector<Item> items{{.text = "Beta", .sortKey = "BETA", .number = 1},
                          {.text = "-", .sortKey = "GAMMA", .number = 2},
                          {.text = "Gamma", .sortKey = "GAMMA", .number = 3},
                          {.text = "Alpha", .sortKey = "ALPHA", .number = 4}};
  EXPECT_EQ(MoveItemUp(items, 1), 1u);
  EXPECT_EQ(MoveItemDown(items, 4), 4u);
  EXPECT_EQ(MoveItemUp(items, 2), 1u);  // the separator now goes before Beta
  EXPECT_EQ(items[0].sortKey, "BETA");
  EXPECT_EQ(MoveItemDown(items, 1), 2u);  // and back before Gamma
  EXPECT_EQ(items[1].sortKey, "GAMMA");
  SortBySortKey(items);
  std::vector<std::string> order;
  for (const auto& i : items) order.push_back(i.text);
  EXPECT_EQ(order, (std::vector<std::string>{"Alpha", "Beta", "-", "Gamma"}));
  SortByNumber(items);
  order.clear();
  for (const auto& i : items) order.push_back(i.text);
  EXPECT_EQ(order, (std::vector<std::string>{"Beta", "-", "Gamma", "Alpha"}));
}

}  // namespace
}  // namespace qz
