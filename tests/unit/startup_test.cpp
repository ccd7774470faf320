#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "app/program.h"
#include "unit/harness.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

const char* const kSummary =
    "Command Line Parameters are:||     No Command - Display version notes window. Called from Accessories menu, "
    "this uses the current working directory.|     Version Parameter defaults to 6. Options: are 2,4,5,55 or 6]|   "
    "  EDIT [Version - Defaults to Versiono=6] - Allows you to edit Clarion User Menus, File Types, Open Dialog, Pick "
    "Dialog, and QZCL Translations.|     ENV EnvironmentVariable EnvironmnetValue - sets the value of the passed "
    "environment variable.|     INCLUDE TemplateFile IncludeFile - Adds an include file to a template file, i.e. "
    "#IncludeFile#|     ABCPATH Path [Version] This will change ABC include file source directory and run "
    "clarion.|     RED - Section Entry Path [Version] Adds path to [Section] and Entry in Clarion Redirection "
    "File|     RUN - Commandline [Parm1] [Parm2] etc. - Call ShellExec witht the command line and any "
    "parameters.|     REG TemplateToRegister [Versions 2/4/5/55/6]|     USERMENU AppRef "
    "Menu+Display-Menu+Display CommandLine [Parm1+Parm2+Parm3] [Version]|        + becomes a space and- becomes a "
    "\"/\" Quotes may also be used to separate items";

const char* const kDescription =
    "The QZInstall is a \"Command Line\" Clarion Utility.  From the command line you can:|    Register a template "
    "using DDE|    Add Menu Items to the Clarion Environment|    Add includes files to a template|    Change the "
    "source directory for ABC compliant INClude files.||Great for use with Wise InstallBuilder Execute Program "
    "script. This is what we now uses for all our installation programs! Also run it from the Window's Run dialog "
    "or an EQUATE() or create project specific ABC library directories and use it to start Clarion using a "
    "selected directory.";

// Each test runs in its own temporary folder: the translator may create its file in the current directory.
class Startup : public ::testing::Test, public fake::Harness {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("qz-startup-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    translator.Kill();
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  // A translation file with the given pairs, in the format translators use.
  std::string TranslationFile(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string path = (dir_ / "QZCLLang.str").string();
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    std::string sql =
        "PRAGMA application_id=1364869964; PRAGMA user_version=1;"
        "CREATE TABLE translations(source TEXT NOT NULL, replacement TEXT NOT NULL);"
        "CREATE INDEX translations_source ON translations(source);";
    for (const auto& [source, replacement] : pairs)
      sql += "INSERT INTO translations VALUES('" + source + "','" + replacement + "');";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    files.existing.insert(path);
    return path;
  }
  std::string LangFileEntry() {
    const std::string* v = profile.Find("", "QZCL", "LangFile");
    return v ? *v : "<absent>";
  }
  fs::path dir_, old_;
};

TEST_F(Startup, command_words_show_their_box_without_touching_the_translation_set_up) {
  struct Case {
    const char* line;
    const char* caption;
    const char* text;
    int exitCode;
  } cases[] = {
      {"qzcl.exe CMD", "QZCL Utility", kSummary, kExitSuccess},
      {"qzcl.exe cmd", "QZCL Utility", kSummary, kExitSuccess},
      {"qzcl.exe FOO bar", "QZInstall", kDescription, kExitUsage},
      {"qzcl.exe CMDX", "QZInstall", kDescription, kExitUsage},
  };
  for (const auto& c : cases) {
    fake::Harness h;
    h.program.Run(c.line);
    ASSERT_EQ(h.dialogs.shown.size(), 1u) << c.line;
    const Box& box = h.dialogs.shown[0];
    EXPECT_EQ(box.caption, c.caption) << c.line;
    EXPECT_EQ(box.text, c.text) << c.line;
    EXPECT_EQ(box.icon, Icon::WinLogo) << c.line;
    EXPECT_EQ(box.buttons, Buttons::Ok) << c.line;
    EXPECT_EQ(h.svc.ExitCode(), c.exitCode) << c.line;
    EXPECT_EQ(h.profile.writes, 0) << c.line;
    EXPECT_FALSE(h.translator.Initialized()) << c.line;
  }
}

TEST_F(Startup, language_file_entry_is_kept_repaired_or_cleared) {
  const std::string repaired = "C:\\LONGFO~1\\QZCLLang.str";
  struct Case {
    const char* entry;      // WIN.INI LangFile before
    bool localFile;         // .\QZCLLang.str exists
    std::string expected;   // WIN.INI LangFile after, and LANGFILE
  } cases[] = {
      {"", false, ""},
      {"C:\\Old\\QZCLLang.str", false, ""},  // stale: the file is gone
      {"C:\\other.str", false, ""},           // not a translation file's name
      {"", true, repaired},                   // found in the current directory
      {"C:\\Old\\QZCLLang.str", true, repaired},
      {"C:\\other.str", true, repaired},
  };
  files.existing.insert("C:\\other.str");
  files.existing.insert(repaired);
  files.currentDirectory = "C:\\Long Folder Name";
  files.shortPaths[files.currentDirectory] = "C:\\LONGFO~1";
  for (const auto& c : cases) {
    profile.Write("", "QZCL", "LangFile", c.entry);
    files.existing.erase(".\\QZCLLang.str");
    if (c.localFile) files.existing.insert(".\\QZCLLang.str");
    program.SetUpLanguageFile();
    EXPECT_EQ(LangFileEntry(), c.expected) << c.entry << " " << c.localFile;
    EXPECT_EQ(svc.langFile, c.expected) << c.entry;
    EXPECT_EQ(translator.Initialized(), c.localFile) << c.entry;
    translator.Kill();
  }
}

TEST_F(Startup, a_valid_entry_is_used_as_it_stands) {
  std::string path = TranslationFile({});
  profile.Write("", "QZCL", "LangFile", path);
  int writesBefore = profile.writes;
  program.SetUpLanguageFile();
  EXPECT_EQ(svc.langFile, path);
  EXPECT_EQ(translator.FullPath(), path);
  EXPECT_EQ(LangFileEntry(), path);
  // Only the translator's open log is written.
  EXPECT_EQ(profile.writes - writesBefore, 1);
  EXPECT_EQ(profile.Read(".\\QZVXErr.LOG", "File Error", "File Open Error", ""), "None: " + path);
}

TEST_F(Startup, edit_opens_the_translated_editor_and_no_parameter_runs_no_command) {
  std::string path = TranslationFile({{"File Types", "Types de fichiers"}});
  profile.Write("", "QZCL", "LangFile", path);
  profile.Write("", "Clarion 6.0  Enterprise Edition", "Root", "C:\\C6");
  profile.Write("", "Clarion 6.0  Enterprise Edition", "ExeName", "C60EE");
  std::vector<std::pair<std::string, std::string>> sections;
  views.editorScript = [&](fake::FakeEditorView& view, EditorEvents&) { sections = view.sections; };
  program.Run("qzcl.exe edit");
  EXPECT_TRUE(dialogs.shown.empty());
  ASSERT_EQ(sections.size(), 6u);  // with a translation file, its table is offered too
  EXPECT_EQ(sections[1], (std::pair<std::string, std::string>{"Types de fichiers", "File Types"}));
  EXPECT_FALSE(translator.Initialized());  // closed at the end of the run

  sections.clear();
  program.Run("qzcl.exe");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(sections.empty());
  EXPECT_EQ(svc.langFile, path);
}

}  // namespace
}  // namespace qz
