#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "translator/string_translator.h"
#include "translator/translation_file.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using Pairs = std::vector<TranslationPair>;
using Lines = std::vector<std::string>;
constexpr long kLoad = StringTranslator::kLoad, kExport = StringTranslator::kExport, kOff = StringTranslator::kOff;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

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
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), collect, &rows, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
  return rows;
}

Lines Rows(const fs::path& path) { return Sql(path, "SELECT source, replacement FROM translations ORDER BY rowid"); }

// Time that passes with the work done: each record read costs the same.
class WorkClock : public Clock, public fake::Latin1Codec {
 public:
  std::int64_t Milliseconds() override { return now; }
  void Wait(int ms) override { now += ms; }
  LocalTime Now() override { return {}; }
  std::string Utf8ToAnsi(std::string_view utf8) override {
    now += msPerRecord / 2;  // source and replacement
    return Latin1Codec::Utf8ToAnsi(utf8);
  }
  std::int64_t now = 0, msPerRecord = 0;
};

class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "qz_translator_XXXXXX").string();
    dir_ = mkdtemp(name.data());
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A translation file written through the store, texts in the ANSI code page.
  std::string WriteTranslations(const Pairs& pairs) {
    TranslationFile file(work_);
    file.SetName((dir_ / "lang.str").string());
    EXPECT_EQ(file.Create(), FileError::None);
    EXPECT_EQ(file.Open(), FileError::None);
    EXPECT_EQ(file.ReplaceAll(pairs), FileError::None);
    return file.Name();
  }

  std::string LogLine() { return profile_.Read(".\\QZVXErr.LOG", "File Error", "File Open Error", "<no log>"); }

  fs::path dir_;
  fake::FakeProfile profile_;
  fake::FakeFiles files_;
  WorkClock work_;  // the clock and the code page
  fake::FakeLoadingView view_;
  StringTranslator translator_{profile_, files_, work_, work_, view_};
};

TEST_F(TranslatorTest, lookup_compares_sources_as_255_character_fields_in_the_ansi_code_page) {
  const std::string a255(255, 'a');
  std::string path = WriteTranslations({{"Open", "Oeffnen"}, {a255 + "X", "first"}, {a255 + "Y", "second"}});
  Sql(path, "INSERT INTO translations VALUES('caf\xC3\xA9', 'Caf\xC3\xA9 cr\xC3\xA8me'), ('Euro', '\xE2\x82\xAC 5')");
  translator_.Init(path, kLoad);
  const struct {
    const char* rule;
    std::string text, expected;
  } cases[] = {
      {"trailing blanks are not significant", "Open   ", "Oeffnen"},
      {"leading blanks are significant", " Open", " Open"},
      {"letter case is significant", "open", "open"},
      {"unknown text comes back without trailing blanks", "Unknown  ", "Unknown"},
      {"sources differing only after 255 are one key, the later wins", a255 + "X", "second"},
      {"a shorter text is another key", a255.substr(1), a255.substr(1)},
      {"an unknown long text comes back whole", std::string(300, 'b'), std::string(300, 'b')},
      {"texts are UTF-8 in the file and ANSI in the program", "caf\xE9", "Caf\xE9 cr\xE8me"},
      {"a character outside the code page", "Euro", "? 5"},
  };
  for (const auto& c : cases) EXPECT_EQ(translator_.Translate(c.text), c.expected) << c.rule;
}

TEST_F(TranslatorTest, later_pair_wins_and_blank_replacements_are_skipped_when_loaded_and_when_added) {
  std::string path = WriteTranslations({{"Yes", "Ja"}, {"No", "Nein"}, {"Yes", "Jawohl"}, {"No", "  "}, {"Maybe", ""}});
  translator_.Init(path, kLoad);
  EXPECT_EQ(LogLine(), "None: " + path);
  EXPECT_TRUE(translator_.AddTranslation("Apple", "Apfel"));
  EXPECT_TRUE(translator_.AddTranslation("Apple  ", "Apfel 2"));
  EXPECT_FALSE(translator_.AddTranslation("Yes", "  "));
  for (int i = 0; i < 100; ++i) translator_.AddTranslation("Key " + std::to_string(i), std::to_string(i));
  std::string seen;
  for (const char* text : {"Yes", "No", "Maybe", "Apple", "Key 42"}) seen += translator_.Translate(text) + "|";
  EXPECT_EQ(seen, "Jawohl|Nein|Maybe|Apfel 2|42|");
}

TEST_F(TranslatorTest, a_missing_file_is_created_empty_and_a_missing_folder_is_not) {
  translator_.Init(WriteTranslations({{"One", "Eins"}}), kLoad);
  std::string path = (dir_ / "new\xE9.str").string();
  translator_.Init(path, kLoad);
  EXPECT_EQ(LogLine(), "Error 3: " + path + ":") << "an empty error text; profile values lose trailing blanks";
  EXPECT_TRUE(fs::exists(dir_ / "new\xC3\xA9.str")) << "a name in the ANSI code page is UTF-8 on disk";
  EXPECT_EQ(translator_.Translate("One"), "One") << "the second Init replaces what the first loaded";
  translator_.Init(path, kLoad);
  EXPECT_EQ(LogLine(), "None: " + path) << "the new file is a valid translation file";

  translator_.Init((dir_ / "no such folder/lang.str").string(), kLoad);
  EXPECT_EQ(LogLine(), "Error 4: Path Not Found");
  EXPECT_FALSE(fs::exists(dir_ / "no such folder"));
}

TEST_F(TranslatorTest, a_file_that_is_not_a_translation_file_is_logged_and_left_untouched) {
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
      {"newer format", "", "PRAGMA application_id = 1364869964; PRAGMA user_version = 2;" + table},
      {"no translations table", "", ours + "CREATE TABLE other(x);"},
      {"damaged schema page", "", ours + table, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    fs::path path = dir_ / (std::string(c.kind) + ".str");
    WriteBytes(path, c.bytes);
    if (!c.sql.empty()) Sql(path, c.sql);
    if (c.damage) WriteBytes(path, Bytes(path).replace(100, 3996, 3996, '\xA5'));
    const std::string before = Bytes(path);
    translator_.Init(path.string(), kLoad | kExport);
    EXPECT_EQ(LogLine(), "Error 4: Invalid Data File");
    EXPECT_EQ(translator_.Count(), 0u);
    translator_.Kill();  // the export tries the file again
    EXPECT_EQ(Bytes(path), before);
    EXPECT_FALSE(fs::exists(path.string() + "-journal"));
  }
}

TEST_F(TranslatorTest, off_flag_passes_texts_through_without_reading_the_file) {
  translator_.Init(WriteTranslations({{"Yes", "Ja"}}), kLoad | kOff);
  EXPECT_EQ(translator_.Translate("Yes  "), "Yes");
  EXPECT_EQ(profile_.writes, 0) << "the file was opened";
}

TEST_F(TranslatorTest, only_the_export_flag_adds_texts_without_translation_at_kill) {
  for (long flags : {kLoad, kLoad | kExport}) {
    std::string path = WriteTranslations({{"Yes", "Ja"}, {"Old", ""}});
    translator_.Init(path, flags);
    for (const char* text : {"Zebra  ", "Yes", "caf\xE9", "Apple", "Zebra", "Old"}) translator_.Translate(text);
    translator_.Kill();
    Lines expected{"Yes=Ja", "Old="};
    if (flags & kExport) expected.insert(expected.end(), {"Apple=", "Zebra=", "caf\xC3\xA9="});
    EXPECT_EQ(Rows(path), expected);
    fs::remove(path);
  }
}

// Create is for a missing file: whatever already lies there is refused and kept byte for byte.
TEST_F(TranslatorTest, create_refuses_a_file_that_holds_anything_and_leaves_its_bytes) {
  const struct {
    const char* kind;
    std::string bytes, sql;
  } cases[] = {
      {"text file", "Yes=Ja\r\n", ""},
      {"foreign database", "", "CREATE TABLE other(x); INSERT INTO other VALUES(1);"},
      {"database with only an application id", "", "PRAGMA application_id = 7;"},
      {"translation file", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    fs::path path = dir_ / (std::string(c.kind) + ".str");
    WriteBytes(path, c.bytes);
    if (!c.sql.empty()) Sql(path, c.sql);
    if (c.bytes.empty() && c.sql.empty()) fs::rename(WriteTranslations({{"Yes", "Ja"}}), path);
    const std::string before = Bytes(path);
    TranslationFile file(work_);
    file.SetName(path.string());
    EXPECT_NE(file.Create(), FileError::None);
    EXPECT_TRUE(Bytes(path) == before) << "the file was changed";
    EXPECT_FALSE(fs::exists(path.string() + "-journal"));
  }
}

// The loading window opens only for a slow load, and reads in batches sized to take about a second.
TEST_F(TranslatorTest, loading_window_and_batch_size_follow_the_time_records_take) {
  Pairs pairs;
  for (int i = 0; i < 100; ++i) pairs.push_back({"Text " + std::to_string(i), "Wort " + std::to_string(i)});
  std::string path = WriteTranslations(pairs);
  const struct {
    const char* behaviour;
    std::int64_t msPerRecord;
    std::vector<int> firstProgress;  // 100 records: percent = records read
  } cases[] = {
      {"every record too slow: batches stay at one", 2000, {1, 2, 3, 4, 5}},
      {"grows once, then each event is on target", 600, {1, 3, 5, 7, 9}},
      {"overshoots, halves, grows again", 190, {2, 4, 12, 16, 24, 28}},
      {"fast: doubles within the first event", 10, {32, 64, 100}},
      {"fast load: no window, no progress", 2, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.behaviour);
    work_.msPerRecord = c.msPerRecord;
    view_ = {};
    translator_.Init(path, kLoad);
    EXPECT_EQ(translator_.Count(), 100u);
    EXPECT_EQ(view_.opened, c.firstProgress.empty() ? 0 : 1);
    EXPECT_EQ(view_.closed, view_.opened);
    EXPECT_TRUE(view_.progress.empty() || view_.progress.back() == 100) << "the last progress shown";
    view_.progress.resize(std::min(view_.progress.size(), c.firstProgress.size()));
    EXPECT_EQ(view_.progress, c.firstProgress);
  }
}

}  // namespace
}  // namespace qz
