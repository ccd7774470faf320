#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fakes.h"
#include "translator/string_translator.h"
#include "translator/translation_file.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using Pairs = std::vector<TranslationPair>;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Runs SQL on a file directly, bypassing the store, to build files the store would never write.
void Sql(const fs::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
}

// The rows as stored (UTF-8), in file order.
Pairs Rows(const fs::path& path) {
  Pairs rows;
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT source, replacement FROM translations ORDER BY rowid", -1, &stmt, nullptr);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    rows.push_back({reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))});
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return rows;
}

long long Scalar(const fs::path& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  long long value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return value;
}

class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> serial{0};
    dir_ = fs::temp_directory_path() /
           ("qz_translator_" + std::to_string(std::random_device{}()) + "_" + std::to_string(serial++));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  // A translation file written through the store, texts in the ANSI code page.
  std::string WriteTranslations(const Pairs& pairs, const std::string& name = "lang.str") {
    std::string path = PathOf(name);
    TranslationFile file(codec_);
    file.SetName(path);
    EXPECT_EQ(file.Create(), FileError::None);
    EXPECT_EQ(file.Open(), FileError::None);
    EXPECT_EQ(file.ReplaceAll(pairs), FileError::None);
    return path;
  }

  std::string Load(const Pairs& pairs) {
    std::string path = WriteTranslations(pairs);
    translator_.Init(path, "", StringTranslator::kLoad);
    return path;
  }

  std::string LogLine() const {
    const std::string* line = profile_.Find(".\\QZVXErr.LOG", "File Error", "File Open Error");
    return line ? *line : "<no log>";
  }

  fs::path dir_;
  fake::FakeProfile profile_;
  fake::FakeFiles files_;
  fake::FakeClock clock_;
  fake::Latin1Codec codec_;
  fake::FakeLoadingView view_;
  StringTranslator translator_{profile_, files_, clock_, codec_, view_};
};

TEST_F(TranslatorTest, lookup_compares_sources_as_255_character_fields) {
  const std::string a255(255, 'a');
  const std::string b300(300, 'b');
  Load({{"Open", "Oeffnen"}, {a255 + "X", "first"}, {a255 + "Y", "second"}, {"Case", "Fall"}});
  const struct {
    const char* rule;
    std::string text, expected;
  } cases[] = {
      {"exact source", "Open", "Oeffnen"},
      {"trailing blanks are not significant", "Open   ", "Oeffnen"},
      {"leading blanks are significant", " Open", " Open"},
      {"letter case is significant", "case", "case"},
      {"unknown text comes back without trailing blanks", "Unknown  ", "Unknown"},
      {"empty text", "", ""},
      {"blank text", "   ", ""},
      {"sources differing only after 255 are one key, the later wins", a255 + "X", "second"},
      {"a 300-character text is looked up by its first 255", a255 + std::string(45, 'z'), "second"},
      {"a shorter text is another key", a255.substr(0, 254), a255.substr(0, 254)},
      {"an unknown long text comes back whole", b300, b300},
  };
  for (const auto& c : cases) EXPECT_EQ(translator_.Translate(c.text), c.expected) << c.rule;
}

TEST_F(TranslatorTest, later_duplicate_wins_and_blank_replacements_are_skipped) {
  std::string path = Load({{"Yes", "Ja"}, {"No", "Nein"}, {"Yes", "Jawohl"}, {"No", "   "}, {"Maybe", ""}});
  EXPECT_EQ(LogLine(), "None: " + path);
  EXPECT_EQ(translator_.Translate("Yes"), "Jawohl");
  EXPECT_EQ(translator_.Translate("No"), "Nein");
  EXPECT_EQ(translator_.Translate("Maybe"), "Maybe");
  EXPECT_EQ(translator_.Count(), 2u);
}

TEST_F(TranslatorTest, add_translation_inserts_in_order_and_replaces) {
  EXPECT_EQ(translator_.AddTranslation("Close", "Zu"), 1) << "no queues before Init";
  EXPECT_EQ(translator_.Translate("Close"), "Close");

  Load({{"Middle", "Mitte"}});
  EXPECT_EQ(translator_.AddTranslation("Zebra", "Zebra!"), 0);
  EXPECT_EQ(translator_.AddTranslation("Apple", "Apfel"), 0);
  EXPECT_EQ(translator_.AddTranslation("Apple  ", "Apfel 2"), 0);
  EXPECT_EQ(translator_.AddTranslation("Middle", "  "), 1);
  EXPECT_EQ(translator_.Translate("Apple"), "Apfel 2");
  EXPECT_EQ(translator_.Translate("Middle"), "Mitte");
  EXPECT_EQ(translator_.Translate("Zebra"), "Zebra!");
  EXPECT_EQ(translator_.Count(), 3u);

  for (int i = 0; i < 100; ++i) translator_.AddTranslation("Key " + std::to_string(i), "Value " + std::to_string(i));
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(translator_.Translate("Key " + std::to_string(i)), "Value " + std::to_string(i));
  }
  EXPECT_EQ(translator_.Translate("Middle"), "Mitte");

  translator_.Kill();
  EXPECT_EQ(translator_.Translate("Apple"), "Apple");
}

TEST_F(TranslatorTest, init_without_load_or_export_translates_only_added_pairs) {
  translator_.Init("", "", 0);
  EXPECT_EQ(profile_.writes, 0) << "no file was opened";
  EXPECT_EQ(translator_.AddTranslation("Close", "Zu"), 0);
  EXPECT_EQ(translator_.Translate("Close"), "Zu");
}

TEST_F(TranslatorTest, a_second_init_replaces_what_the_first_loaded) {
  Load({{"One", "Eins"}});
  std::string second = WriteTranslations({{"Two", "Zwei"}}, "second.str");
  translator_.Init(second, "", StringTranslator::kLoad);
  EXPECT_EQ(translator_.Translate("One"), "One");
  EXPECT_EQ(translator_.Translate("Two"), "Zwei");
}

TEST_F(TranslatorTest, missing_file_is_created_as_an_empty_translation_file) {
  std::string path = PathOf("new.str");
  translator_.Init(path, "", StringTranslator::kLoad);
  EXPECT_EQ(LogLine(), "Error 3: " + path + ":") << "an empty error text; profile values lose trailing blanks";
  EXPECT_EQ(translator_.Count(), 0u);
  EXPECT_EQ(Scalar(path, "PRAGMA application_id"), 0x515A434C);
  EXPECT_EQ(Scalar(path, "PRAGMA user_version"), 1);
  EXPECT_EQ(Scalar(path, "SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND tbl_name = 'translations'"), 1);
  EXPECT_TRUE(Rows(path).empty());

  translator_.Init(path, "", StringTranslator::kLoad);
  EXPECT_EQ(LogLine(), "None: " + path);
}

TEST_F(TranslatorTest, a_file_that_is_not_a_translation_file_is_logged_and_left_untouched) {
  const char* const kTable =
      "CREATE TABLE translations(source TEXT NOT NULL, replacement TEXT NOT NULL);"
      "INSERT INTO translations VALUES('Yes', 'Ja');";
  const struct {
    const char* kind;
    void (*make)(const fs::path&, const char* table);
  } cases[] = {
      {"text file", [](const fs::path& p, const char*) { WriteBytes(p, "Yes=Ja\r\nNo=Nein\r\n"); }},
      {"zero bytes", [](const fs::path& p, const char*) { WriteBytes(p, ""); }},
      {"other application id",
       [](const fs::path& p, const char* t) { Sql(p, std::string("PRAGMA user_version = 1;") + t); }},
      {"newer format",
       [](const fs::path& p, const char* t) {
         Sql(p, std::string("PRAGMA application_id = 1364869964; PRAGMA user_version = 2;") + t);
       }},
      {"no translations table",
       [](const fs::path& p, const char*) {
         Sql(p, "PRAGMA application_id = 1364869964; PRAGMA user_version = 1; CREATE TABLE other(x);");
       }},
      {"damaged schema page",
       [](const fs::path& p, const char* t) {
         Sql(p, std::string("PRAGMA application_id = 1364869964; PRAGMA user_version = 1;") + t);
         std::string bytes = Bytes(p);
         std::fill(bytes.begin() + 100, bytes.begin() + 4096, '\xA5');
         WriteBytes(p, bytes);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    fs::path path = dir_ / (std::string(c.kind) + ".str");
    c.make(path, kTable);
    const std::string before = Bytes(path);

    translator_.Init(path.string(), "", StringTranslator::kLoad | StringTranslator::kExport);
    EXPECT_EQ(LogLine(), "Error 4: Invalid Data File");
    EXPECT_EQ(translator_.Count(), 0u);
    EXPECT_EQ(translator_.Translate("Yes"), "Yes");
    translator_.Kill();  // the export tries the file again

    EXPECT_EQ(LogLine(), "Error 4: Invalid Data File");
    EXPECT_EQ(Bytes(path), before);
    EXPECT_FALSE(fs::exists(path.string() + "-journal"));
  }
}

TEST_F(TranslatorTest, a_missing_folder_is_reported_and_not_created) {
  std::string path = PathOf("no such folder/lang.str");
  translator_.Init(path, "", StringTranslator::kLoad);
  EXPECT_EQ(LogLine(), "Error 4: Path Not Found");
  EXPECT_FALSE(fs::exists(dir_ / "no such folder"));
}

TEST_F(TranslatorTest, off_flag_passes_texts_through_without_reading_the_file) {
  std::string path = WriteTranslations({{"Yes", "Ja"}});
  translator_.Init(path, "", StringTranslator::kLoad | StringTranslator::kOff);
  EXPECT_EQ(translator_.Translate("Yes  "), "Yes");
  EXPECT_EQ(profile_.writes, 0) << "the file was opened";
}

TEST_F(TranslatorTest, export_flag_adds_texts_without_translation_at_kill) {
  std::string path = WriteTranslations({{"Yes", "Ja"}, {"Old", ""}});
  translator_.Init(path, "", StringTranslator::kLoad | StringTranslator::kExport);
  for (const char* text : {"Zebra  ", "Yes", "caf\xE9", "Apple", "Zebra", "Old"}) translator_.Translate(text);
  translator_.Kill();
  EXPECT_EQ(Rows(path), (Pairs{{"Yes", "Ja"}, {"Old", ""}, {"Apple", ""}, {"Zebra", ""}, {"caf\xC3\xA9", ""}}));
  EXPECT_EQ(LogLine(), "None: " + path);
}

TEST_F(TranslatorTest, without_export_flag_kill_leaves_the_file_alone) {
  std::string path = WriteTranslations({{"Yes", "Ja"}});
  const std::string before = Bytes(path);
  translator_.Init(path, "", StringTranslator::kLoad);
  translator_.Translate("Unknown");
  translator_.Kill();
  EXPECT_EQ(Bytes(path), before);
}

TEST_F(TranslatorTest, texts_and_file_names_are_utf8_in_the_file_and_ansi_in_the_program) {
  std::string path = PathOf("lang.str");
  WriteTranslations({});
  Sql(path, "INSERT INTO translations VALUES('caf\xC3\xA9', 'Caf\xC3\xA9 cr\xC3\xA8me'), ('Euro', '\xE2\x82\xAC 5')");
  translator_.Init(path, "", StringTranslator::kLoad);
  EXPECT_EQ(translator_.Translate("caf\xE9"), "Caf\xE9 cr\xE8me");
  EXPECT_EQ(translator_.Translate("Euro"), "? 5") << "not in the code page";

  std::string ansiName = PathOf("langu\xE9.str");
  translator_.Init(ansiName, "", StringTranslator::kLoad);
  EXPECT_EQ(LogLine(), "Error 3: " + ansiName + ":");
  EXPECT_TRUE(fs::exists(dir_ / "langu\xC3\xA9.str"));
}

TEST_F(TranslatorTest, default_file_is_in_the_short_current_directory) {
  const struct {
    std::string current, shortForm, expected;
  } cases[] = {
      {"C:\\Program Files\\QZ", "C:\\PROGRA~1\\QZ", "C:\\PROGRA~1\\QZ\\QZVX_.STR"},
      {"C:\\", "C:\\", "C:\\QZVX_.STR"},
  };
  for (const auto& c : cases) {
    files_.currentDirectory = c.current;
    files_.shortPaths[c.current] = c.shortForm;
    translator_.Init("", "", StringTranslator::kExport);  // names the file without reading it
    EXPECT_EQ(translator_.FullPath(), c.expected);
    translator_.SetFlags(0);  // no export into a file named like a Windows path
    translator_.Kill();
  }
}

TEST_F(TranslatorTest, loading_window_appears_only_for_a_slow_load) {
  Pairs pairs;
  for (int i = 0; i < 50; ++i) pairs.push_back({"Text " + std::to_string(i), "Wort " + std::to_string(i)});
  std::string path = WriteTranslations(pairs);
  const struct {
    std::int64_t msPerClockRead;
    int opened;
  } cases[] = {{0, 0}, {1000, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.msPerClockRead);
    view_ = {};
    clock_.step = c.msPerClockRead;
    translator_.Init(path, "", StringTranslator::kLoad);
    EXPECT_EQ(translator_.Count(), 50u);
    EXPECT_EQ(view_.opened, c.opened);
    EXPECT_EQ(view_.closed, c.opened);
    if (c.opened) {
      EXPECT_EQ(view_.progress.back(), 100);
    }
  }
}

// Time that passes with the work done: each record read costs the same.
class WorkClock : public Clock, public fake::Latin1Codec {
 public:
  std::int64_t Milliseconds() override { return now; }
  void Wait(int ms) override { now += ms; }
  std::string Utf8ToAnsi(std::string_view utf8) override {
    now += msPerRecord / 2;  // source and replacement
    return Latin1Codec::Utf8ToAnsi(utf8);
  }
  std::int64_t now = 0, msPerRecord = 0;
};

TEST_F(TranslatorTest, batch_size_adapts_to_the_time_a_batch_takes) {
  Pairs pairs;
  for (int i = 0; i < 100; ++i) pairs.push_back({"Text " + std::to_string(i), "Wort " + std::to_string(i)});
  std::string path = WriteTranslations(pairs);
  const struct {
    const char* behaviour;
    std::int64_t msPerRecord;
    std::vector<int> firstProgress;  // 100 records: percent = records read
  } cases[] = {
      {"every record too slow: batches stay at one", 2000, {1, 2, 3, 4, 5}},
      {"a record just too slow to double", 900, {1, 2, 3, 4, 5}},
      {"grows once, then each event is on target", 600, {1, 3, 5, 7, 9}},
      {"overshoots, halves, grows again", 190, {2, 4, 12, 16, 24, 28}},
      {"fast: doubles within the first event", 10, {32, 64, 100}},
      {"instant: no window, no progress", 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.behaviour);
    WorkClock work;
    work.msPerRecord = c.msPerRecord;
    fake::FakeLoadingView view;
    StringTranslator translator(profile_, files_, work, work, view);
    translator.Init(path, "", StringTranslator::kLoad);
    EXPECT_EQ(translator.Count(), 100u);
    std::vector<int> first(view.progress.begin(),
                           view.progress.begin() + std::min(view.progress.size(), c.firstProgress.size()));
    EXPECT_EQ(first, c.firstProgress);
    if (!view.progress.empty()) {
      EXPECT_EQ(view.progress.back(), 100);
    }
  }
}

TEST_F(TranslatorTest, rebuild_restores_a_dropped_key) {
  std::string path = WriteTranslations({{"Yes", "Ja"}});
  Sql(path, "DROP INDEX translations_source");
  translator_.Init(path, "", StringTranslator::kLoad);
  EXPECT_EQ(translator_.Translate("Yes"), "Ja") << "a missing key does not stop loading";
  translator_.RebuildFiles();
  EXPECT_EQ(Scalar(path, "SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND tbl_name = 'translations'"), 1);
  EXPECT_EQ(Rows(path), (Pairs{{"Yes", "Ja"}}));
}

}  // namespace
}  // namespace qz
