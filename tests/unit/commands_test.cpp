// The start-up and the environment commands over fakes: which box a command word gets, the translation
// file entry, RED, ABCPATH, INCLUDE, RUN, ENV and USERMENU.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "unit/harness.h"

namespace qz {
namespace {

using fake::kIdeIni;
using Strings = std::vector<std::string>;

TEST(startup, command_words_show_their_box_without_touching_the_translation_set_up) {
  const struct {
    const char* line;
    const char* caption;
    int exitCode;
  } cases[] = {
      {"qzcl.exe CMD", "QZCL Utility", kExitSuccess}, {"qzcl.exe cmd", "QZCL Utility", kExitSuccess},
      {"qzcl.exe FOO bar", "QZInstall", kExitUsage},  {"qzcl.exe CMDX", "QZInstall", kExitUsage},  // no prefixes
      {"qzcl.exe REGX", "QZInstall", kExitUsage},
  };
  for (const auto& c : cases) {
    fake::Harness h;
    EXPECT_EQ(h.program.Run(c.line), c.exitCode) << c.line;
    ASSERT_EQ(h.Captions(), Strings{c.caption}) << c.line;
    EXPECT_EQ(h.dialogs.shown[0].icon, Icon::WinLogo) << c.line;
    EXPECT_EQ(h.dialogs.shown[0].buttons, Buttons::Ok) << c.line;
    EXPECT_EQ(h.profile.writes, 0) << c.line;
    EXPECT_FALSE(h.translator.Initialized()) << c.line;
  }
}

// Each test runs in a folder of its own: the translator may create its file in the current directory.
class Startup : public ::testing::Test, public fake::Harness {
 protected:
  void SetUp() override { std::filesystem::current_path(folder_.path); }
  void TearDown() override {
    translator.Kill();
    std::filesystem::current_path(old_);
  }
  std::string TranslationFile(const std::vector<TranslationPair>& pairs) {
    const std::string path = folder_ / "QZCLLang.str";
    fake::WriteTranslationFile(codec, path, pairs);
    files.existing.insert(path);
    profile.Write("", "QZCL", "LangFile", path);
    return path;
  }
  std::string LangFile() { return profile.Value("", "QZCL", "LangFile"); }

  std::filesystem::path old_ = std::filesystem::current_path();
  fake::TempFolder folder_;
};

TEST_F(Startup, the_translation_file_entry_is_kept_repaired_or_cleared) {
  const std::string repaired = "C:\\LONGFO~1\\QZCLLang.str";
  const struct {
    const char* entry;      // WIN.INI LangFile before
    bool localFile;         // .\QZCLLang.str exists
    std::string expected;   // WIN.INI LangFile after, and the translation file in use
  } cases[] = {
      {"", false, ""},
      {"C:\\Old\\QZCLLang.str", false, ""},  // stale: the file is gone
      {"C:\\other.str", false, ""},           // not a translation file's name
      {"", true, repaired},                   // found in the current directory
      {"C:\\Old\\QZCLLang.str", true, repaired},
      {"C:\\other.str", true, repaired},
  };
  files.existing = {"C:\\other.str", repaired};
  files.currentDirectory = "C:\\Long Folder Name";
  files.shortPaths[files.currentDirectory] = "C:\\LONGFO~1";
  for (const auto& c : cases) {
    profile.Write("", "QZCL", "LangFile", c.entry);
    files.existing.erase(".\\QZCLLang.str");
    if (c.localFile) files.existing.insert(".\\QZCLLang.str");
    program.SetUpLanguageFile();
    EXPECT_EQ(LangFile(), c.expected) << c.entry << " " << c.localFile;
    EXPECT_EQ(svc.langFile, c.expected) << c.entry;
    EXPECT_EQ(translator.Initialized(), c.localFile) << c.entry;
    translator.Kill();
  }
  // A valid entry is used as it stands: only the translator's open log is written.
  const std::string path = TranslationFile({});
  const int writesBefore = profile.writes;
  program.SetUpLanguageFile();
  EXPECT_EQ(translator.FullPath(), path);
  EXPECT_EQ(LangFile(), path);
  EXPECT_EQ(profile.writes - writesBefore, 1);
  EXPECT_EQ(profile.Read(".\\QZVXErr.LOG", "File Error", "File Open Error", ""), "None: " + path);
}

TEST_F(Startup, edit_opens_the_translated_editor_and_no_parameter_runs_no_command) {
  const std::string path = TranslationFile({{"File Types", "Types de fichiers"}});
  InstallVersion6();
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

const char* const kRed = "C:\\C6\\BIN\\C60EE.RED";

// A harness with version 6 installed and its redirection file present.
struct Command : fake::Harness {
  Command() {
    InstallVersion6();
    files.existing.insert(kRed);
  }
};

TEST(red, adds_a_directory_unless_the_entry_lists_it) {
  const std::string listed(3000, 'x');  // long values are kept whole
  const struct {
    std::optional<std::string> before;
    const char* path;
    std::string after;
  } cases[] = {
      {std::nullopt, "C:\\Tools", "C:\\Tools"},
      {"C:\\A;C:\\Tools", "C:\\Tools", "C:\\A;C:\\Tools"},
      {"C:\\A;C:\\Tools\\", "C:\\Tools", "C:\\A;C:\\Tools\\"},  // one trailing backslash is no difference
      {"C:\\Tools2", "C:\\Tools", "C:\\Tools2;C:\\Tools"},        // not a substring test
      {"C:\\TOOLS", "C:\\Tools", "C:\\TOOLS;C:\\Tools"},           // letter case counts
      {"C:\\A;  ", "C:\\B", "C:\\A;;C:\\B"},
      {listed, "C:\\New", listed + ";C:\\New"},
  };
  for (const auto& c : cases) {
    Command t;
    if (c.before) t.profile.Write(kRed, "Common", "*.tpl", *c.before);
    t.Run(std::string("RED Common *.tpl ") + c.path);
    EXPECT_EQ(t.profile.Value(kRed, "Common", "*.tpl"), c.after) << c.path;
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
}

TEST(red, refuses_what_it_cannot_do_safely) {
  const struct {
    const char* arguments;
    FileError redFile;
    bool writeFails;
    const char* caption;
    int exitCode;
  } cases[] = {
      {"RED Common *.tpl", FileError::None, false, "Redirecton Command Error", kExitUsage},
      {"redirect Common \"\" C:\\x", FileError::None, false, "Redirecton Command Error", kExitUsage},
      {"RED Common *.tpl C:\\x", FileError::SharingViolation, false, "QZCL File Error", kExitFailed},
      {"REDIRECTION Common *.tpl C:\\x", FileError::None, true, "QZCL File Error", kExitFailed},
  };
  for (const auto& c : cases) {
    Command t;
    t.profile.Write(kRed, "Common", "*.tpl", "C:\\A");
    if (c.redFile != FileError::None) t.files.failing[kRed] = c.redFile;
    t.profile.failWrites = c.writeFails;
    t.Run(c.arguments);
    EXPECT_EQ(t.profile.Value(kRed, "Common", "*.tpl"), "C:\\A") << c.arguments;
    EXPECT_EQ(t.Captions(), Strings{c.caption}) << c.arguments;
    EXPECT_EQ(t.svc.ExitCode(), c.exitCode) << c.arguments;
  }
  Command usage;
  usage.Run("RED Common *.tpl");
  EXPECT_EQ(usage.dialogs.shown[0].text,
            "Redirection Command should be RED Section Entry Path Version.|  Actual Command: RED Common *.tpl|  "
            "Redirection File: C:\\C6\\BIN\\C60EE.RED|  Version: 60");
}

TEST(abcpath, sets_the_library_path_in_upper_case_and_starts_the_ide) {
  for (const char* word : {"ABCPATH", "LIBSRC", "class"}) {
    Command t;
    t.Run(std::string(word) + " \"c:\\My Libs\\abc\" 6");
    EXPECT_EQ(t.profile.Value(kIdeIni, "Paths", "Libsrc"), "C:\\MY LIBS\\ABC") << word;
    EXPECT_EQ(t.processes.started, Strings{"C60EE"}) << word;
  }
  Command missing;
  missing.Run("ABCPATH");
  EXPECT_EQ(missing.Captions(), Strings{"Set ABC Library Directory"});
  EXPECT_EQ(missing.dialogs.shown[0].text, "File parameter missing from command line");
  EXPECT_TRUE(missing.processes.started.empty());
}

TEST(include, appends_its_line_on_a_line_of_its_own_once_and_is_silent_when_it_can_do_nothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"#TEMPLATE(A)\r\n", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"#TEMPLATE(A)\r\n\r\n", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"", "#INCLUDE('x.tpw')\r\n"},
      {"#TEMPLATE(A)", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},  // no final line end: never joined
      {"a\r\n#! #INCLUDE('x.tpw') here\r\n", "a\r\n#! #INCLUDE('x.tpw') here\r\n"},
      {"#include('x.tpw')\r\n", "#include('x.tpw')\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"#INCLUDE('X.TPW')\r\n", "#INCLUDE('X.TPW')\r\n\r\n#INCLUDE('x.tpw')\r\n"},
  };
  for (auto [before, after] : cases) {
    Command t;
    t.heldFile.files["my.tpl"] = before;
    t.Run("INCLUDE my.tpl x.tpw");
    t.Run("INCLUDE my.tpl x.tpw");  // twice: added once
    EXPECT_EQ(t.heldFile.files["my.tpl"], after) << before;
    EXPECT_FALSE(t.heldFile.IsOpen());
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
  const std::pair<const char*, int> nothing[] = {
      {"INCLUDE my.tpl", kExitSuccess}, {"INCLUDE gone.tpl x.tpw", kExitFailed}, {"INCLUDE locked.tpl x.tpw", kExitFailed}};
  for (auto [arguments, exitCode] : nothing) {
    Command t;
    t.heldFile.files = {{"my.tpl", "a\r\n"}, {"locked.tpl", "a\r\n"}};
    t.heldFile.openFailures["locked.tpl"] = FileError::SharingViolation;
    t.Run(arguments);
    EXPECT_EQ(t.heldFile.files, (std::map<std::string, std::string>{{"my.tpl", "a\r\n"}, {"locked.tpl", "a\r\n"}}));
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(t.svc.ExitCode(), exitCode) << arguments;
  }
}

TEST(run, joins_the_tokens_for_the_shell) {
  const std::pair<const char*, const char*> cases[] = {
      {"RUN \"C:\\Program Files\\x.exe\" a", "\"C:\\Program Files\\x.exe\" a"},
      {"RUN   notepad.exe    readme.txt", "notepad.exe readme.txt"},
      {"RUN \"\" a", "a"},
      {"RUN a \"\" b", "a  b"},
      {"RUN \" x\"", "\"x \""},
  };
  for (auto [arguments, opened] : cases) {
    Command t;
    t.Run(arguments);
    EXPECT_EQ(t.shell.opened, Strings{opened}) << arguments;
  }
  Command nothing;
  nothing.Run("RUN");
  EXPECT_TRUE(nothing.shell.opened.empty());
  EXPECT_EQ(nothing.Captions(), Strings{"Run Command Error"});
  EXPECT_EQ(nothing.dialogs.shown[0].text, "The Run command Should be RUN CommandLine.|  The Actuall Command is: RUN");
  EXPECT_EQ(nothing.dialogs.shown[0].icon, Icon::WinLogo);
}

const std::string kEnvKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
using Stored = fake::FakeRegistry::Stored;

struct Env : fake::Harness {
  void Set(const std::string& name, RegType type, const std::string& text) {
    registry.values[kEnvKey + "\\" + name] = {type, text};
  }
  std::optional<Stored> Get(const std::string& name) {
    auto it = registry.values.find(kEnvKey + "\\" + name);
    return it == registry.values.end() ? std::nullopt : std::optional<Stored>(it->second);
  }
};

TEST(env, adds_the_value_as_a_whole_item_and_keeps_the_type) {
  const auto S = RegType::String, X = RegType::ExpandString;
  const struct {
    const char *name, *value;  // as typed
    std::optional<Stored> before;
    Stored after;
    bool written;
  } cases[] = {
      {"QZ_HOME", "C:\\QZ", std::nullopt, {S, "C:\\QZ"}, true},
      {"QZ_LEVEL", "42", std::nullopt, {S, "42"}, true},  // numbers are text too
      {"QZ_HOME", "C:\\B", Stored{S, "C:\\A   "}, {S, "C:\\A;C:\\B"}, true},
      {"QZ_HOME", "C:\\B", Stored{S, ""}, {S, "C:\\B"}, true},
      {"QZ_HOME", "C:\\TOOLS", Stored{S, "C:\\A;c:\\tools"}, {S, "C:\\A;c:\\tools"}, false},
      {"QZ_HOME", "C:\\Tools", Stored{S, "C:\\Tools\\;C:\\A"}, {S, "C:\\Tools\\;C:\\A"}, false},
      {"QZ_HOME", "C:\\Tools\\", Stored{S, "C:\\A; C:\\Tools "}, {S, "C:\\A; C:\\Tools "}, false},
      {"QZ_HOME", "C:\\Tools", Stored{S, "C:\\Tools2"}, {S, "C:\\Tools2;C:\\Tools"}, true},
      {"QZ_HOME", "\"C:\\My Tools\"", Stored{S, "C:\\A"}, {S, "C:\\A;C:\\My Tools"}, true},
      {"Path", "C:\\QZ", Stored{X, "%SystemRoot%\\system32"}, {X, "%SystemRoot%\\system32;C:\\QZ"}, true},
  };
  for (const auto& c : cases) {
    Env t;
    const std::string var = c.name, arguments = var + " " + c.value;
    if (c.before) t.Set(var, c.before->type, c.before->text);
    t.Run((var == "QZ_LEVEL" ? "ENVIRONMENT " : "ENV ") + arguments);  // both words
    auto after = t.Get(var);
    ASSERT_TRUE(after) << arguments;
    EXPECT_EQ(after->type, c.after.type) << arguments;
    EXPECT_EQ(after->text, c.after.text) << arguments;
    // Programs are told only of a change that happened.
    EXPECT_EQ(t.registry.events, c.written ? Strings({"write " + var, "broadcast"}) : Strings()) << arguments;
    EXPECT_TRUE(t.dialogs.shown.empty()) << arguments;
    EXPECT_EQ(t.svc.ExitCode(), kExitSuccess) << arguments;
  }
}

TEST(env, refuses_what_it_cannot_add_safely_and_leaves_the_value) {
  const std::string full(32767 - 2, 'x');  // ";AB" takes it one past the limit, ";A" exactly to it
  const struct {
    std::optional<Stored> before;
    std::optional<RegResult> readFailure;
    const char* reason;  // in the box; none: no box
  } cases[] = {
      {Stored{RegType::Other, ""}, std::nullopt, "Its current value is not text, so it was left as it is."},
      {std::nullopt, RegResult{RegStatus::AccessDenied, 5}, "Access to its current value in the registry was denied."},
      {std::nullopt, RegResult{RegStatus::TooLarge, 234}, "Its current value is too large to read."},
      {std::nullopt, RegResult{RegStatus::OtherError, 1018}, "Its current value could not be read. Windows error: 1018"},
      {Stored{RegType::String, full}, std::nullopt,
       "The result would be longer than 32,767 characters, the most Windows allows."},
  };
  for (const auto& c : cases) {
    Env t;
    if (c.before) t.Set("QZ_VAR", c.before->type, c.before->text);
    if (c.readFailure) t.registry.readFailures[kEnvKey + "\\QZ_VAR"] = *c.readFailure;
    t.Run("ENV QZ_VAR AB");
    EXPECT_TRUE(t.registry.events.empty()) << c.reason;
    EXPECT_TRUE(c.before ? t.Get("QZ_VAR")->text == c.before->text : !t.Get("QZ_VAR")) << c.reason;
    ASSERT_EQ(t.Captions(), Strings{"Environment Variable"});
    EXPECT_EQ(t.dialogs.shown[0].text, std::string("The value was not added to the environment variable:|QZ_VAR||") + c.reason);
    EXPECT_EQ(t.dialogs.shown[0].icon, Icon::Exclamation);
    EXPECT_EQ(t.svc.ExitCode(), kExitFailed) << c.reason;
  }
  Env fits;  // exactly at the limit is still written
  fits.Set("QZ_VAR", RegType::String, full);
  fits.Run("ENV QZ_VAR A");
  EXPECT_EQ(fits.Get("QZ_VAR")->text.size(), 32767u);
  // Without a name, a value or a successful write: nothing, and no box.
  for (const char* arguments : {"ENV", "ENV \"\" C:\\QZ", "ENV QZ_HOME", "ENV QZ_HOME \"  \"", "ENV QZ_HOME C:\\QZ"}) {
    Env t;
    t.registry.failWrites = std::string(arguments) == "ENV QZ_HOME C:\\QZ";
    t.Run(arguments);
    EXPECT_TRUE(t.registry.values.empty()) << arguments;
    EXPECT_EQ(std::count(t.registry.events.begin(), t.registry.events.end(), "broadcast"), 0) << arguments;
    EXPECT_TRUE(t.dialogs.shown.empty()) << arguments;
    EXPECT_EQ(t.svc.ExitCode(), kExitFailed) << arguments;
  }
}

TEST(env, windows_95_family_appends_to_the_startup_file_unless_a_setting_line_holds_the_value) {
  const char* const kAutoExec = "C:\\AutoExec.Bat";
  const struct {
    const char *before, *after;  // nullptr: no start-up file; unchanged
  } cases[] = {
      {"@ECHO OFF\r\n", "@ECHO OFF\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {"@ECHO OFF", "@ECHO OFF\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},  // never joined onto the last line
      {"", "QZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {"SET qz_home=c:\\qz\\;%QZ_HOME%\r\n", nullptr},
      {"  QZ_HOME = C:\\A;C:\\QZ\r\n", nullptr},
      {"PATH C:\\DOS;C:\\QZ\r\n", nullptr},  // the PATH statement sets the variable too
      {"REM SET QZ_HOME=C:\\QZ\r\n", "REM SET QZ_HOME=C:\\QZ\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {"SET QZ_HOME2=C:\\QZ\r\n", "SET QZ_HOME2=C:\\QZ\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {"SET QZ_HOME=C:\\QZ2\r\n", "SET QZ_HOME=C:\\QZ2\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {nullptr, nullptr},
  };
  for (const auto& c : cases) {
    Env t;
    t.registry.windows95 = true;
    if (c.before) t.files.contents[kAutoExec] = c.before;
    const bool path = c.before && std::string(c.before).rfind("PATH", 0) == 0;
    t.Run(path ? "ENV PATH C:\\QZ" : "ENV qz_home c:\\qz");
    if (const char* expected = c.after ? c.after : c.before) {
      EXPECT_EQ(t.files.contents[kAutoExec], expected) << (c.before ? c.before : "<none>");
    } else {
      EXPECT_EQ(t.files.contents.count(kAutoExec), 0u);
      EXPECT_EQ(t.svc.ExitCode(), kExitFailed);
    }
    EXPECT_TRUE(t.registry.events.empty());
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
}

// The "User Menus" entries 1 to count (gaps skipped), of a harness with version 6 installed.
struct Menu : fake::Harness {
  explicit Menu(const Strings& entries, int gap = 0) {
    InstallVersion6();
    int key = 1;
    for (const auto& e : entries) {
      if (key == gap) ++key;
      profile.Write(kIdeIni, "User Menus", std::to_string(key++), e);
    }
  }
  Strings List(int upTo) {
    Strings out;
    for (int i = 1; i <= upTo; ++i) out.push_back(profile.Value(kIdeIni, "User Menus", std::to_string(i)));
    return out;
  }
  std::string App(const char* appRef) { return profile.Value(kIdeIni, "User Applications", appRef); }
};

TEST(usermenu, adds_or_replaces_the_entry_and_rewrites_the_list_in_its_groups) {
  const struct {
    const char* name;
    Strings before;
    const char* arguments;
    Strings after;
  } cases[] = {
      {"no section", {}, "USERMENU QZ &Tools-QZ+Tool qz.exe", {"&Tools/QZ Tool|QZ", "<absent>"}},
      {"sorted without the ampersands", {"&Zebra|Z", "&Apple|A"}, "MENU QZ &Middle qz.exe",
       {"&Apple|A", "&Middle|QZ", "&Zebra|Z", "<absent>"}},
      {"replaced in place, case ignored, AppRef as typed now", {"Old|myapp", "&Beta|B"}, "USERMENU MYAPP Alpha qz.exe",
       {"Alpha|MYAPP", "&Beta|B", "<absent>"}},
      {"Accessories/Help first", {"&Zeta|Z", "A&ccessories/Help/&Readme|R"}, "USERMENU QZ Ac&cessories-Help-My+Tool x",
       {"Ac&cessories/Help/My Tool|QZ", "A&ccessories/Help/&Readme|R", "&Zeta|Z", "<absent>"}},
      {"another application's longer reference is not ours", {"Other|MYAPP2", "Mine|x|MYAPP"},
       "USERMENU MYAPP Mine qz.exe", {"Mine|MYAPP", "Other|MYAPP2", "<absent>"}},
  };
  for (const auto& c : cases) {
    Menu t(c.before);
    t.Run(c.arguments);
    EXPECT_EQ(t.List(static_cast<int>(c.after.size())), c.after) << c.name;
    EXPECT_TRUE(t.dialogs.shown.empty()) << c.name;
  }
  const std::pair<const char*, const char*> commandLines[] = {
      {"USERMENU QZ M \"C:\\Program Files\\qz.exe\" a \"b c\" 6", "\"C:\\Program Files\\qz.exe\" a \"b c\""},
      {"USERMENU QZ M qz.exe -x+y 4", "<absent>"},  // version 4 has no installation here
      {"USERMENU QZ M qz.exe -x+y", "qz.exe -x y"},
  };
  for (auto [arguments, app] : commandLines) {
    Menu t({});
    t.Run(arguments);
    EXPECT_EQ(t.App("QZ"), app) << arguments;
  }
}

TEST(usermenu, never_writes_over_an_entry_it_did_not_read) {
  Menu gap({"&A|A", "&B|B", "&D|D"}, 3);  // keys 1, 2 and 4
  gap.Run("USERMENU QZ &C qz.exe");
  EXPECT_EQ(gap.List(4), (Strings{"&A|A", "&B|B", "&C|QZ", "&D|D"}));
  Strings many;
  for (int i = 0; i < 150; ++i) many.push_back("Item " + std::to_string(1000 + i) + "|APP" + std::to_string(i));
  Menu big(many);
  big.Run("USERMENU QZ Zzz qz.exe");
  Strings after = big.List(152);
  EXPECT_EQ(Strings(after.begin() + 149, after.end()), (Strings{"Item 1149|APP149", "Zzz|QZ", "<absent>"}));
  const std::string longEntry = std::string(400, 'L') + "|LONG";
  Menu whole({longEntry});
  whole.Run("USERMENU QZ M qz.exe");
  EXPECT_EQ(whole.List(2), (Strings{longEntry, "M|QZ"}));
}

TEST(usermenu, bad_input_a_running_ide_or_a_locked_file_write_nothing) {
  Menu usage({});
  usage.Run("USERMENU QZapp");
  EXPECT_EQ(usage.Captions(), Strings{"Incorrect Command Line"});
  EXPECT_EQ(usage.dialogs.shown[0].text,
            "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: |   AppRef: QZapp|   "
            "MenuDisplay: |   CommandLine: |   Parm: |   Version: QZa");
  EXPECT_EQ(usage.svc.ExitCode(), kExitUsage);

  const struct {
    int closedAt;  // the IDE stops answering from this check on (0: never)
    bool locked;
    const char *second, *app;  // entry 2 and the application afterwards
  } cases[] = {{0, false, "<absent>", "<absent>"},  // running, and the close prompt cancelled
               {2, false, "M|QZ", "qz.exe"},        // closed at the prompt
               {1, true, "<absent>", "<absent>"}};
  for (const auto& c : cases) {
    Menu t({"&A|A"});
    t.transport.serverUp = [&c](int attempt) { return c.closedAt == 0 || attempt < c.closedAt; };
    if (c.closedAt == 0) t.dialogs.answers = {Button::Cancel};
    if (c.locked) t.files.failing[kIdeIni] = FileError::SharingViolation;
    t.Run("USERMENU QZ M qz.exe");
    EXPECT_EQ(t.List(2), (Strings{"&A|A", c.second}));
    EXPECT_EQ(t.App("QZ"), c.app);
    EXPECT_EQ(t.Captions().at(0), "Add Accessories Item");
    EXPECT_EQ(t.svc.ExitCode(), c.locked || !c.closedAt ? kExitFailed : kExitSuccess);
  }
}

}  // namespace
}  // namespace qz
