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
  CmdContext ctx{svc};
  Section() {
    ctx.Init();
    ctx.CWINIFILE = kIni;
  }
  void Ini(const char* section, const char* key, const char* value) { profile.Write(kIni, section, key, value); }
  const std::vector<Item>& Load(const char* section) {
    LoadSection(ctx, section);
    return *ctx.ITEMQ;
  }
};

TEST(section_table, loads_each_section_into_its_fields) {
  Section t;
  t.Ini("User Menus", "1", "&Save && Exit|SAVER");
  t.Ini("User Menus", "2", "-|-");
  t.Ini("User Menus", "3", "&Tools|MYTOOL");
  t.Ini("User Menus", "5", "Beyond|GAP");
  t.Ini("User Applications", "mytool", " 'C:\\T\\TOOL.EXE' ");  // read as an entry read gives it
  t.Ini("User Applications", "SAVER", "  C:\\Program Files\\S\\SAVE.EXE\" /x");
  const auto& menus = t.Load("User Menus");
  ASSERT_EQ(menus.size(), 3u);  // key 4 missing: the list ends there
  EXPECT_EQ(menus[0].SORT, "SAVE  EXIT");
  EXPECT_EQ(menus[0].P3, "\"C:\\Program Files\\S\\SAVE.EXE\" /x");  // lost opening quote put back
  EXPECT_EQ(menus[1].SORT, "TOOLS");  // a separator carries the key of the item after it
  EXPECT_EQ(menus[2].STR, "&Tools");
  EXPECT_EQ(menus[2].P2, "MYTOOL");
  EXPECT_EQ(menus[2].P3, "C:\\T\\TOOL.EXE");
  EXPECT_EQ(menus[2].NUM, 3);

  t.Ini("File Types", "All", "2");
  t.Ini("File Types", "1", "Templates=*.tpl|CWEDT");
  t.Ini("File Types", "2", "All Files=*.*|NOTE");
  t.Ini("File Types", "3", "No separators at all");
  t.Ini("File Types", "4", "-");
  t.Ini("User Applications", "NOTE", "notepad.exe");
  t.Ini("User Applications", "CWEDT", "never read for an applet");
  const auto& types = t.Load("File Types");
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(types[0].P2, "*.tpl");
  EXPECT_EQ(types[0].P3, "CWEDT");
  EXPECT_EQ(types[0].P4, "");
  EXPECT_EQ((std::vector<int>{types[0].ALLFLAG, types[1].ALLFLAG, types[2].ALLFLAG}), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(types[1].P4, "notepad.exe");
  EXPECT_EQ(types[2].STR, "No separators at all");  // malformed: every field gets the whole text
  EXPECT_EQ(types[2].P3, "No separators at all");
  EXPECT_EQ(types[3].SORT, std::string(99, '\xFF'));  // a separator at the end sorts last

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
  const auto& items = t.Load("Translations");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(Clip(items[0].STR), "Zebra");
  EXPECT_EQ(items[0].STR.size(), 254u);
  EXPECT_EQ(Clip(items[1].P2), "pomme");
  EXPECT_EQ(Clip(items[1].SORT), "APPLE");
  EXPECT_EQ(items[1].NUM, 0);
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
      {"User Menus", {"-", "", "", "", "", 0, 0}, false},           // new separator: rule 2 first
      {"User Menus", {"-", "-", "", "", "", 0, 0}, true},           // loaded separator
      {"User Menus", {"&Tools", "CWEDT", "", "", "", 0, 0}, true},  // an applet needs no command line
      {"User Menus", {"&Tools", "MINE", "", "", "", 0, 0}, false},
      {"Setup Menu", {"A/-", "x", "", "", "", 0, 0}, true},
      {"File Types", {"T", "*.t", "", "", "", 0, 0}, false},
      {"Pick Dialog", {"T", "*.t", "ME", "me.exe", "", 0, 0}, true},
      {"Translations", {"Source", "", "", "", "", 0, 0}, true},
      {"Translations", {"", "x", "", "", "", 0, 0}, false},
  };
  for (const auto& c : items) EXPECT_EQ(ValidateItem(c.section, c.item), c.valid) << c.section << " " << c.item.STR;

  Item edited{"&Save && Exit", "", "", "", "old", 0, 0};
  SetEditTimeSortKey(edited);
  EXPECT_EQ(edited.SORT, "SAVE && EXIT");
  EXPECT_EQ(LoadTimeSortKey("&Save && Exit"), "SAVE  EXIT");
}

TEST(section_table, moves_keep_separators_before_their_item_and_default_restores_the_order) {
  std::vector<Item> items{{"Beta", "", "", "", "BETA", 1, 0},
                          {"-", "", "", "", "GAMMA", 2, 0},
                          {"Gamma", "", "", "", "GAMMA", 3, 0},
                          {"Alpha", "", "", "", "ALPHA", 4, 0}};
  EXPECT_EQ(MoveItemUp(items, 1), 1u);
  EXPECT_EQ(MoveItemDown(items, 4), 4u);
  EXPECT_EQ(MoveItemUp(items, 2), 1u);  // the separator now goes before Beta
  EXPECT_EQ(items[0].SORT, "BETA");
  EXPECT_EQ(MoveItemDown(items, 1), 2u);  // and back before Gamma
  EXPECT_EQ(items[1].SORT, "GAMMA");
  SortBySortKey(items);
  std::vector<std::string> order;
  for (const auto& i : items) order.push_back(i.STR);
  EXPECT_EQ(order, (std::vector<std::string>{"Alpha", "Beta", "-", "Gamma"}));
  SortByNumber(items);
  order.clear();
  for (const auto& i : items) order.push_back(i.STR);
  EXPECT_EQ(order, (std::vector<std::string>{"Beta", "-", "Gamma", "Alpha"}));
}

}  // namespace
}  // namespace qz
