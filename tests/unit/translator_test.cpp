// The translator: the translation file on disk (SQLite), lookups, list formats and messages.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "translator/string_translator.h"
#include "unit/harness.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
constexpr long kLoad = StringTranslator::kLoad, kExport = StringTranslator::kExport;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs SQL on a file directly, bypassing the store.
void Sql(const fs::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
}

// The program's translator over fakes; Latin-1 is the code page.
class TranslatorTest : public ::testing::Test, public fake::Harness {
 protected:
  // A translation file written through the store, texts in the ANSI code page.
  std::string WriteTranslations(const std::vector<TranslationPair>& pairs, const std::string& name = "lang.str") {
    fake::WriteTranslationFile(codec, dir_ / name, pairs);
    return dir_ / name;
  }
  std::string LogLine() { return profile.Read(".\\QZVXErr.LOG", "File Error", "File Open Error", "<no log>"); }

  fake::TempFolder dir_;
};

TEST_F(TranslatorTest, lookup_compares_sources_as_255_character_fields_in_the_ansi_code_page) {
  const std::string a255(255, 'a'), a254(254, 'a'), b300(300, 'b');
  const std::vector<TranslationPair> pairs = {{"Open", "Oeffnen"}, {a255 + "X", "first"}, {a255 + "Y", "second"},
                                              {"Yes", "Ja"},       {"No", "Nein"},        {"Yes", "Jawohl"},
                                              {"No", "  "},        {"Maybe", ""}};
  const std::string path = WriteTranslations(pairs);
  Sql(path,
      "INSERT INTO translations VALUES('caf\xC3\xA9', 'Caf\xC3\xA9 cr\xC3\xA8me'), ('Euro', '\xE2\x82\xAC 5'), "
      "(CAST(x'41004200' AS TEXT), CAST(x'4A00' AS TEXT))");  // a NUL ends a text
  translator.Init(path, kLoad);
  EXPECT_EQ(LogLine(), "None: " + path);
  EXPECT_TRUE(translator.AddTranslation("Apple", "Apfel") && translator.AddTranslation("Apple  ", "Apfel 2"));
  EXPECT_FALSE(translator.AddTranslation("Yes", "  "));
  for (int i = 0; i < 100; ++i) translator.AddTranslation("Key " + std::to_string(i), std::to_string(i));
  // Only trailing blanks are not significant and an unknown text comes back clipped; a source is one key up to 255
  // characters, so of a255 + "X" and a255 + "Y" the later wins, as it does of equal sources, and blank replacements
  // are skipped. The file holds UTF-8, the program the ANSI code page.
  const std::pair<std::string, std::string> cases[] = {
      {a255 + "X", "second"}, {"Open   ", "Oeffnen"},   {"A", "J"},     {" Open", " Open"},
      {"open", "open"},       {"Unknown  ", "Unknown"}, {a254, a254},   {"caf\xE9", "Caf\xE9 cr\xE8me"},
      {"Euro", "? 5"},        {"Yes", "Jawohl"},        {"No", "Nein"}, {"Maybe", "Maybe"},
      {"Apple", "Apfel 2"},   {"Key 42", "42"},         {b300, b300}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(translator.Translate(text), expected) << text;
}

// What is not a translation file, or is damaged anywhere, is not used at all (the log says so). Opening, exporting
// into and creating over it must never change it, and creating must never change what already holds anything.
TEST_F(TranslatorTest, a_foreign_or_damaged_file_is_not_used_and_a_file_holding_anything_is_never_changed) {
  const std::string table = "CREATE TABLE translations(source, replacement); INSERT INTO translations VALUES(1, 2);";
  const std::string ours = "PRAGMA application_id = 1364869964; PRAGMA user_version = 1;";
  std::vector<TranslationPair> many;  // a file of several pages of rows
  for (int i = 0; i < 400; ++i) many.push_back({"Text " + std::to_string(i), std::string(40, 'r')});
  const std::string rowsFile = WriteTranslations(many, "rows"), rows = Bytes(rowsFile);
  const struct {
    const char* kind;
    std::string bytes, sql;
    std::size_t damageAt = 0, damaged = 0;  // bytes overwritten
  } cases[] = {
      {"text file", "Yes=Ja\r\nNo=Nein\r\n", ""},
      {"zero bytes", "", ""},
      {"other application id", "", "PRAGMA user_version = 1;" + table},
      {"database with only an application id", "", "PRAGMA application_id = 7;"},
      {"newer format", "", "PRAGMA application_id = 1364869964; PRAGMA user_version = 2;" + table},
      {"no translations table", "", ours + "CREATE TABLE other(x); INSERT INTO other VALUES(1);"},
      {"damaged schema page", "", ours + table, 100, 3996},
      {"rows that break off while they are read", rows, "", 3 * 4096 + 8, 2000},
      {"a view of that name", "", ours + "CREATE VIEW translations AS SELECT 'a' AS source, 'b' AS replacement;"},
      {"database with only a header setting", "", "PRAGMA user_version = 7;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const fs::path path = dir_ / (std::string(c.kind) + ".str");
    std::ofstream(path, std::ios::binary) << c.bytes;
    if (!c.sql.empty()) Sql(path, c.sql);
    std::string bytes = Bytes(path);
    if (c.damaged) std::ofstream(path, std::ios::binary) << bytes.replace(c.damageAt, c.damaged, c.damaged, '\xA5');
    const std::string before = Bytes(path);
    translator.Init(path.string(), kLoad | kExport);
    EXPECT_EQ(LogLine(), "Error 4: Invalid Data File");
    EXPECT_EQ(translator.Count(), 0u);
    translator.Kill();  // the export tries the file again
    TranslationFile file(codec);
    file.SetName(path.string());
    if (!before.empty()) { EXPECT_NE(file.Create(), FileError::None); }  // an empty file holds nothing yet
    EXPECT_TRUE(Bytes(path) == before) << "the file was changed";
    EXPECT_FALSE(fs::exists(path.string() + "-journal"));
  }
  TranslationFile file(codec);  // nor is a translation file formatted over
  file.SetName(rowsFile);
  EXPECT_NE(file.Create(), FileError::None);
  EXPECT_TRUE(Bytes(rowsFile) == rows) << "the translation file was changed";
}

// A list format translates its headers and its pictures other than string pictures; a "|" list each part.
TEST_F(TranslatorTest, formats_and_messages_are_translated_part_by_part) {
  translator.Init("", 0);
  const std::pair<const char*, const char*> pairs[] = {{"9L(2)|_M", "x"},     {"#1#", "x"},    {"@d1", "@d6"},
                                                       {"@s255", "@s9"},      {"Name", "Nom"}, {"Menu", "Menü"},
                                                       {"F %1 %2", "G %2 %1"}};
  for (auto [source, replacement] : pairs) translator.AddTranslation(source, replacement);
  EXPECT_EQ(translator.TranslateFormat("9L(2)|_M~Menu~@s255@#1#6L~Name~@d1@ "), "9L(2)|_M~Menü~@s255@#1#6L~Nom~@d6@");
  EXPECT_EQ(translator.TranslateFormat(std::string(2100, 'f')).size(), 2000u);
  EXPECT_EQ(translator.TranslateMessage("F %1 %2", "a", "b", "", ""), "G b a");
  EXPECT_EQ(translator.TranslateMessage("%1 and %2", "x%2", "y", "", ""), "xy and %2");  // the first of each, in order
  EXPECT_EQ(translator.TranslateMessage("[%1] [%4] [%5]", "", "", "", " d  "), "[] [ d] [%5]");
  EXPECT_EQ(translator.TranslateMessage(std::string(300, 'm'), "", "", "", "").size(), 255u);
}

}  // namespace
}  // namespace qz
