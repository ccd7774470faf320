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
using Lines = std::vector<std::string>;
constexpr long kLoad = StringTranslator::kLoad, kExport = StringTranslator::kExport;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs SQL on a file directly, bypassing the store; returns the result rows, columns joined by "=".
Lines Sql(const fs::path& path, const std::string& sql) {
  Lines rows;
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  auto collect = [](void* out, int n, char** values, char**) {
    auto& row = static_cast<Lines*>(out)->emplace_back();
    for (int i = 0; i < n; ++i) row += (i ? "=" : "") + std::string(values[i] ? values[i] : "");
    return 0;
  };
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), collect, &rows, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
  return rows;
}

class TranslatorTest : public ::testing::Test {
 protected:
  // A translation file written through the store, texts in the ANSI code page.
  std::string WriteTranslations(const std::vector<TranslationPair>& pairs, const std::string& name = "lang.str") {
    fake::WriteTranslationFile(work_, dir_ / name, pairs);
    return dir_ / name;
  }
  std::string LogLine() { return profile_.Read(".\\QZVXErr.LOG", "File Error", "File Open Error", "<no log>"); }

  fake::TempFolder dir_;
  fake::FakeProfile profile_;
  fake::FakeFiles files_;
  fake::FakeClock clock_;
  fake::Latin1Codec work_;  // the code page
  NoLoadingView view_;
  StringTranslator translator_{profile_, files_, clock_, work_, view_};
};

TEST_F(TranslatorTest, lookup_compares_sources_as_255_character_fields_in_the_ansi_code_page) {
  const std::string a255(255, 'a');
  std::string path = WriteTranslations({{"Open", "Oeffnen"},
                                        {a255 + "X", "first"},
                                        {a255 + "Y", "second"},
                                        {"Yes", "Ja"},
                                        {"No", "Nein"},
                                        {"Yes", "Jawohl"},
                                        {"No", "  "},
                                        {"Maybe", ""}});
  Sql(path,
      "INSERT INTO translations VALUES('caf\xC3\xA9', 'Caf\xC3\xA9 cr\xC3\xA8me'), ('Euro', '\xE2\x82\xAC 5'), "
      "(CAST(x'41004200' AS TEXT), CAST(x'4A00' AS TEXT))");  // a NUL ends a text
  translator_.Init(path, kLoad);
  EXPECT_EQ(LogLine(), "None: " + path);
  EXPECT_TRUE(translator_.AddTranslation("Apple", "Apfel"));
  EXPECT_TRUE(translator_.AddTranslation("Apple  ", "Apfel 2"));
  EXPECT_FALSE(translator_.AddTranslation("Yes", "  "));
  for (int i = 0; i < 100; ++i) translator_.AddTranslation("Key " + std::to_string(i), std::to_string(i));
  const std::pair<std::string, std::string> cases[] = {
      {"Open   ", "Oeffnen"},
      {"A", "J"},
      {" Open", " Open"},
      {"open", "open"},          // trailing blanks only are not significant
      {"Unknown  ", "Unknown"},  // an unknown text comes back clipped
      {a255 + "X", "second"},    // one key up to 255: the later wins
      {a255.substr(1), a255.substr(1)},
      {std::string(300, 'b'), std::string(300, 'b')},
      {"caf\xE9", "Caf\xE9 cr\xE8me"},
      {"Euro", "? 5"},  // UTF-8 in the file, the ANSI code page in the program
      {"Yes", "Jawohl"},
      {"No", "Nein"},
      {"Maybe", "Maybe"},  // the later pair wins; blank ones are skipped
      {"Apple", "Apfel 2"},
      {"Key 42", "42"}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(translator_.Translate(text), expected) << text;
}

// Opening, exporting into and creating over a file must never change what is not a translation file, and
// creating must never change what already holds anything.
TEST_F(TranslatorTest, a_file_that_is_not_a_translation_file_or_holds_anything_is_never_changed) {
  const std::string table = "CREATE TABLE translations(source, replacement); INSERT INTO translations VALUES(1, 2);";
  const std::string ours = "PRAGMA application_id = 1364869964; PRAGMA user_version = 1;";
  const struct {
    const char* kind;
    std::string bytes, sql;
    bool damage = false;
  } cases[] = {
      {"text file", "Yes=Ja\r\nNo=Nein\r\n", ""},
      {"zero bytes", "", ""},
      {"other application id", "", "PRAGMA user_version = 1;" + table},
      {"database with only an application id", "", "PRAGMA application_id = 7;"},
      {"newer format", "", "PRAGMA application_id = 1364869964; PRAGMA user_version = 2;" + table},
      {"no translations table", "", ours + "CREATE TABLE other(x); INSERT INTO other VALUES(1);"},
      {"damaged schema page", "", ours + table, true},
      {"a view of that name", "", ours + "CREATE VIEW translations AS SELECT 'a' AS source, 'b' AS replacement;"},
      {"one byte", "x", ""},
      {"database with only a header setting", "", "PRAGMA user_version = 7;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const fs::path path = dir_ / (std::string(c.kind) + ".str");
    std::ofstream(path, std::ios::binary) << c.bytes;
    if (!c.sql.empty()) Sql(path, c.sql);
    const std::string damaged = c.damage ? Bytes(path).replace(100, 3996, 3996, '\xA5') : "";
    if (c.damage) std::ofstream(path, std::ios::binary) << damaged;
    const std::string before = Bytes(path);
    translator_.Init(path.string(), kLoad | kExport);
    EXPECT_EQ(LogLine(), "Error 4: Invalid Data File");
    EXPECT_EQ(translator_.Count(), 0u);
    translator_.Kill();  // the export tries the file again
    TranslationFile file(work_);
    file.SetName(path.string());
    if (!before.empty()) {  // an empty file holds nothing yet
      EXPECT_NE(file.Create(), FileError::None);
    }
    EXPECT_TRUE(Bytes(path) == before) << "the file was changed";
    EXPECT_FALSE(fs::exists(path.string() + "-journal"));
  }
  const std::string path = WriteTranslations({{"Yes", "Ja"}});
  const std::string before = Bytes(path);
  TranslationFile file(work_);
  file.SetName(path);
  EXPECT_NE(file.Create(), FileError::None);
  EXPECT_TRUE(Bytes(path) == before) << "the translation file was changed";
}

// A list format translates its headers and its pictures other than string pictures; a "|" list each part.
TEST_F(TranslatorTest, formats_and_messages_are_translated_part_by_part) {
  translator_.Init("", 0);
  const std::pair<const char*, const char*> pairs[] = {{"9L(2)|_M", "x"},     {"#1#", "x"},    {"@d1", "@d6"},
                                                       {"@s255", "@s9"},      {"Name", "Nom"}, {"Menu", "Menü"},
                                                       {"F %1 %2", "G %2 %1"}};
  for (auto [source, replacement] : pairs) translator_.AddTranslation(source, replacement);
  EXPECT_EQ(translator_.TranslateFormat("9L(2)|_M~Menu~@s255@#1#6L~Name~@d1@ "), "9L(2)|_M~Menü~@s255@#1#6L~Nom~@d6@");
  EXPECT_EQ(translator_.TranslateFormat(std::string(2100, 'f')).size(), 2000u);
  EXPECT_EQ(translator_.TranslateMessage("F %1 %2", "a", "b", "", ""), "G b a");
  EXPECT_EQ(translator_.TranslateMessage("%1 and %2", "x%2", "y", "", ""), "xy and %2");  // the first of each, in order
  EXPECT_EQ(translator_.TranslateMessage("[%1] [%4] [%5]", "", "", "", " d  "), "[] [ d] [%5]");
  EXPECT_EQ(translator_.TranslateMessage(std::string(300, 'm'), "", "", "", "").size(), 255u);
}

// Rows that break off while they are read: the file is damaged, none of it is used, and the log says so.
TEST_F(TranslatorTest, a_file_damaged_among_its_rows_is_not_used) {
  std::vector<TranslationPair> pairs;
  for (int i = 0; i < 400; ++i) pairs.push_back({"Text " + std::to_string(i), std::string(40, 'r')});
  const std::string path = WriteTranslations(pairs);
  std::string bytes = Bytes(path);
  ASSERT_GT(bytes.size(), 4u * 4096);
  bytes.replace(3 * 4096 + 8, 2000, 2000, '\xA5');  // inside a page of rows
  std::ofstream(path, std::ios::binary) << bytes;
  translator_.Init(path, kLoad);
  EXPECT_EQ(LogLine(), "Error 4: Invalid Data File");
  EXPECT_EQ(translator_.Count(), 0u);
}

}  // namespace
}  // namespace qz
