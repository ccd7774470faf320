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
  const std::tuple<const char*, const char*, int> cases[] = {{"qzcl.exe CMD", "QZCL Utility", kExitSuccess},
                                                             {"qzcl.exe cmd", "QZCL Utility", kExitSuccess},
                                                             {"qzcl.exe FOO bar", "QZInstall", kExitUsage},
                                                             {"qzcl.exe CMDX", "QZInstall", kExitUsage},  // no prefixes
                                                             {"qzcl.exe REGX", "QZInstall", kExitUsage}};
  for (auto [line, caption, exitCode] : cases) {
    fake::Harness h;
    EXPECT_EQ(h.program.Run(line), exitCode) << line;
    ASSERT_EQ(h.Captions(), Strings{caption}) << line;
    EXPECT_TRUE(h.dialogs.shown[0].icon == Icon::WinLogo && h.dialogs.shown[0].buttons == Buttons::Ok);
    EXPECT_TRUE(h.profile.writes == 0 && !h.translator.Initialized());
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

  std::filesystem::path old_ = std::filesystem::current_path();
  fake::TempFolder folder_;
};

TEST_F(Startup, the_translation_file_entry_is_kept_repaired_or_cleared_and_edit_opens_the_translated_editor) {
  const std::string repaired = "C:\\LONGFO~1\\QZCLLang.str";
  const std::tuple<const char*, bool, std::string> cases[] = {
      // entry before, .\QZCLLang.str exists, entry after
      {"", false, ""},
      {"C:\\Old\\QZCLLang.str", false, ""},  // stale: the file is gone
      {"C:\\other.str", false, ""},          // not a translation file's name
      {"", true, repaired},                  // found in the current directory
      {"C:\\Old\\QZCLLang.str", true, repaired},
      {"C:\\other.str", true, repaired},
  };
  files.existing = {"C:\\other.str", repaired};
  files.currentDirectory = "C:\\Long Folder Name";
  files.shortPaths[files.currentDirectory] = "C:\\LONGFO~1";
  for (const auto& [entry, localFile, expected] : cases) {
    profile.Write("", "QZCL", "LangFile", entry);
    files.existing.erase(".\\QZCLLang.str");
    if (localFile) files.existing.insert(".\\QZCLLang.str");
    program.SetUpLanguageFile();
    EXPECT_EQ(profile.Value("", "QZCL", "LangFile") + "|" + svc.langFile, expected + "|" + expected) << entry;
    EXPECT_EQ(translator.Initialized(), localFile) << entry;
    translator.Kill();
  }
  // A valid entry is used as it stands: only the translator's open log is written.
  const std::string path = TranslationFile({});
  const int writesBefore = profile.writes;
  program.SetUpLanguageFile();
  EXPECT_EQ(profile.Value("", "QZCL", "LangFile"), path);
  EXPECT_EQ(profile.writes - writesBefore, 1);
  EXPECT_EQ(profile.Read(".\\QZVXErr.LOG", "File Error", "File Open Error", ""), "None: " + path);
  translator.Kill();
  // EDIT opens the translated editor, and no parameter runs no command.
  fake::WriteTranslationFile(codec, path, {{"File Types", "Types de fichiers"}});
  InstallVersion6();
  std::vector<std::pair<std::string, std::string>> sections;
  views.editorScript = [&](fake::FakeEditorView& view, EditorEvents&) { sections = view.sections; };
  program.Run("qzcl.exe edit");
  ASSERT_EQ(sections.size(), 6u);  // with a translation file, its table is offered too
  EXPECT_EQ(sections[1], (std::pair<std::string, std::string>{"Types de fichiers", "File Types"}));
  EXPECT_FALSE(translator.Initialized());  // closed at the end of the run
  sections.clear();
  program.Run("qzcl.exe");
  EXPECT_TRUE(dialogs.shown.empty() && sections.empty());
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

TEST(red, adds_a_directory_unless_the_entry_lists_it_and_refuses_what_it_cannot_do_safely) {
  const std::string listed(3000, 'x');  // long values are kept whole
  const struct {
    std::string arguments;
    std::optional<std::string> before;
    std::string after;
    const char* caption = nullptr;  // of the box, if any
    int exitCode = kExitSuccess;
    FileError redFile = FileError::None;
    bool readOnly = false, busy = false;
    std::size_t diskSpace = std::string::npos;
  } cases[] = {
      {"RED Common *.tpl C:\\Tools", std::nullopt, "C:\\Tools"},
      {"RED Common *.tpl C:\\Tools", "C:\\A;C:\\Tools", "C:\\A;C:\\Tools"},
      {"RED Common *.tpl C:\\Tools", "C:\\A;C:\\Tools\\", "C:\\A;C:\\Tools\\"},  // a final backslash is no difference
      {"RED Common *.tpl C:\\Tools", "C:\\Tools2", "C:\\Tools2;C:\\Tools"},      // not a substring test
      {"RED Common *.tpl c:\\tools", "C:\\TOOLS", "C:\\TOOLS"},  // in any letter case, as Windows names folders
      {"RED Common *.tpl C:\\B", "C:\\A;  ", "C:\\A;;C:\\B"},
      {"REDIRECT Common *.tpl C:\\New", listed, listed + ";C:\\New"},
      {"RED Common *.tpl", "C:\\A", "C:\\A", "Redirecton Command Error", kExitUsage},
      {"redirect Common \"\" C:\\x", "C:\\A", "C:\\A", "Redirecton Command Error", kExitUsage},
      {"RED Common *.tpl C:\\x", "C:\\A", "C:\\A", "QZCL File Error", kExitFailed, FileError::SharingViolation},
      {"REDIRECTION Common *.tpl C:\\x", "C:\\A", "C:\\A", "QZCL File Error", kExitFailed, FileError::None, true},
      // each item of a path is added unless it is listed, in the order given
      {"RED Common *.tpl \"C:\\X;C:\\A;;C:\\Y;C:\\X\"", "C:\\A", "C:\\A;C:\\X;C:\\Y"},
      // what an INI file cannot hold is refused before the file is read
      {"RED Common *.tpl \"C:\\p\r\n[Release]\r\n*.obj=HACKED\"", "C:\\A", "C:\\A", "Redirecton Command Error",
       kExitUsage, FileError::SharingViolation},
      {"RED Common a=b C:\\p", "C:\\A", "C:\\A", "Redirecton Command Error", kExitUsage},
      {"RED Re]lease *.tpl C:\\p", "C:\\A", "C:\\A", "Redirecton Command Error", kExitUsage},
      // a disk that takes only part of the new file, another run holding the file: nothing changes
      {"RED Common *.tpl C:\\x", "C:\\A", "C:\\A", "QZCL File Error", kExitFailed, {}, false, false, 20},
      {"RED Common *.tpl C:\\x", "C:\\A", "C:\\A", "QZCL File Error", kExitBusy, {}, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments + " over " + c.before.value_or("nothing"));
    Command t;
    if (c.before) t.SetIni(kRed, "Common", "*.tpl", *c.before);
    if (c.redFile != FileError::None) t.files.failing[kRed] = c.redFile;
    if (c.readOnly) t.files.readOnly.insert(kRed);
    if (c.busy) t.locks.busy.insert(Upper(kRed));
    t.files.diskSpace = c.diskSpace;
    // A box never waits for a person while the file is locked.
    t.dialogs.onShow = [&t](const Box&) { EXPECT_TRUE(t.journal.empty() || t.journal.back().starts_with("unlock")); };
    const std::string before = t.files.contents[kRed];
    t.Run(c.arguments);
    EXPECT_EQ(t.Ini(kRed, "Common", "*.tpl"), c.after);
    if (c.caption) EXPECT_EQ(t.files.contents, (std::map<std::string, std::string>{{kRed, before}}));
    EXPECT_TRUE(t.Captions() == (c.caption ? Strings{c.caption} : Strings{}) && t.svc.ExitCode() == c.exitCode);
    if (c.diskSpace == 20)  // a file failure names the step, the file and the reason
      EXPECT_EQ(t.dialogs.shown[0].text,
                "The redirection file could not be written:|  C:\\C6\\BIN\\C60EE.RED|"
                "The disk is full.||Nothing was changed.");
    // A second run finds every item listed and writes nothing.
    const int writes = t.files.replaces;
    t.Run(c.arguments);
    EXPECT_EQ(t.files.replaces, writes);
  }
  Command usage;
  usage.Run("RED Common *.tpl");
  EXPECT_EQ(usage.dialogs.shown[0].text,
            "Redirection Command should be RED Section Entry Path Version.|  Actual Command: RED Common *.tpl|  "
            "Redirection File: C:\\C6\\BIN\\C60EE.RED|  Version: 60");
}

// Each change of a file or variable is made under its lock: the file read, the new bytes written beside it,
// the file read again and compared, the new file put in its place. Another program's change in between is kept.
TEST(changes, are_made_under_the_target_s_lock_and_redone_over_another_program_s_change) {
  Command bom;  // a UTF-8 mark stays in front of the first section, which is changed in place, in UTF-8
  bom.files.contents[kRed] = "\xEF\xBB\xBF[Common]\r\n*.tpl=C:\\A\r\n";
  bom.Run("RED Common *.tpl C:\\Caf\xE9");
  EXPECT_EQ(bom.files.contents[kRed], "\xEF\xBB\xBF[Common]\r\n*.tpl=C:\\A;C:\\Caf\xC3\xA9\r\n");
  // A removal reads the ledger of owners beside the file under its lock.
  const auto steps = [](const std::string& f, const std::string& ledger = "") {
    Strings s{"lock " + f, "read " + f, "write " + f + ".~1", "read " + f, "replace " + f, "unlock " + f};
    if (!ledger.empty()) s.insert(s.begin() + 2, "read " + ledger);
    return s;
  };
  const std::string ledger = "C:\\C6\\BIN\\QZCL.owners";
  const std::pair<const char*, Strings> cases[] = {
      {"RED Common *.tpl C:\\X", steps(kRed)},
      {"UNRED Common *.tpl C:\\A", steps(kRed, ledger)},
      {"USERMENU QZ M qz.exe", steps(kIdeIni)},
      {"UNMENU A",
       [&] {  // read first: with nothing to remove the IDE need not be closed
         Strings s = steps(kIdeIni, ledger);
         s.insert(s.begin(), {"read " + std::string(kIdeIni), "read " + ledger});
         return s;
       }()},
      {"ABCPATH C:\\L", steps(kIdeIni)},
      {"INCLUDE my.tpl x.tpw", steps("my.tpl")},
      {"UNINCLUDE my.tpl a.tpw", steps("my.tpl", "QZCL.owners")},
      {"ENV QZ_HOME C:\\Q", {"lock QZ_HOME", "get QZ_HOME", "set QZ_HOME", "get QZ_HOME", "unlock QZ_HOME"}},
  };
  for (const auto& [arguments, expected] : cases) {
    Command t;
    t.SetIni(kRed, "Common", "*.tpl", "C:\\A;C:\\B");
    t.SetIni(kIdeIni, "User Menus", "1", "&A|A");
    t.files.contents["my.tpl"] = "#INCLUDE('a.tpw')\r\n";
    t.Run(arguments);
    EXPECT_EQ(t.journal, expected) << arguments;
    EXPECT_EQ(t.svc.ExitCode(), kExitSuccess) << arguments;
  }
  // Another program changes the file between the read and the rename: the change is made again over its bytes.
  for (int changes : {1, 5}) {
    Command t;
    t.SetIni(kRed, "Common", "*.tpl", "C:\\A");
    int reads = 0;
    t.files.onRead = [&](const std::string& path) {
      if (++reads % 2 == 0 && reads <= 2 * changes)
        t.files.contents[path] += "[Other" + std::to_string(reads) + "]\r\n";
    };
    t.Run("RED Common *.tpl C:\\X");
    if (changes == 1)
      EXPECT_EQ(t.files.contents[kRed], "[Common]\r\n*.tpl=C:\\A;C:\\X\r\n[Other2]\r\n");
    else  // one that never stops changing it: the run gives up after five tries, and says why
      EXPECT_NE(t.dialogs.shown.at(0).text.find("Another program is using the file."), std::string::npos);
    EXPECT_TRUE(t.files.replaces == (changes == 1) && t.files.temporaries == std::min(changes + 1, 5) &&
                t.files.contents.size() == 1u);
  }
}

// Switches stand before the command word, each as one token (quotes drop out), and each command takes only its
// own; after the word every token is an argument. The box shows the command as given after the switches.
TEST(startup, switches_stand_before_the_command_word_and_each_command_takes_only_its_own) {
  const std::string kRefused = "Incorrect Command Line";
  const struct {
    const char* line;
    int exitCode;
    std::string said;  // the box's text, or what was printed
  } cases[] = {
      {"qzcl /VERSION", kExitSuccess, std::string("QZCL ") + QZCL_VERSION},
      {"qzcl /version CMD", kExitUsage, "/VERSION stands alone.||Nothing was changed."},
      {"qzcl /UNATTENDED", kExitUsage, "A command word must follow the switches.||Nothing was changed."},
      {"qzcl /USER RED Common *.tpl C:\\X", kExitUsage, "/USER is taken by ENV and UNENV only.||Nothing was changed."},
      {"qzcl /WHATIF REG a.tpl", kExitUsage,
       "/WHATIF is taken only by the commands that change files or variables: RED, UNRED, USERMENU, UNMENU, "
       "INCLUDE, UNINCLUDE, ENV, UNENV and ABCPATH.||Nothing was changed."},
      {"qzcl /LOG CMD", kExitUsage, "/LOG names one file, as /LOG=file: /LOG||Nothing was changed."},
      {"qzcl \"/OWNER=Vendor X\" RED Common *.tpl C:\\X", kExitUsage,
       "An owner name is 1 to 64 letters, digits, \".\", \"-\" or \"_\": Vendor X||Nothing was changed."},
      {"qzcl /OWNER=V CMD", kExitUsage,
       "/OWNER is taken only by the adding and removal commands: RED, UNRED, USERMENU, UNMENU, INCLUDE, UNINCLUDE, ENV "
       "and UNENV.||Nothing was changed."},
      {"qzcl /ADOPT RED Common *.tpl C:\\X", kExitUsage,
       "/ADOPT is taken only with /OWNER, by RED, USERMENU, INCLUDE and ENV.||Nothing was changed."},
      {"qzcl /Bogus CMD", kExitUsage, "This switch is not known: /Bogus||Nothing was changed."},
      {"qzcl  /unattended  RED Common", kExitUsage,
       "Redirection Command should be RED Section Entry Path Version.|  Actual Command: RED Common|  Redirection "
       "File: C:\\C6\\BIN\\C60EE.RED|  Version: 60"},
  };
  for (const auto& c : cases) {
    Command t;
    EXPECT_EQ(t.program.Run(c.line), c.exitCode) << c.line;
    EXPECT_EQ(t.dialogs.printed.empty() ? t.dialogs.shown.at(0).text : t.dialogs.printed[0], c.said) << c.line;
    EXPECT_TRUE(t.files.contents.empty() && t.registry.values.empty()) << c.line;
  }
  Command run;  // after the word, a "/" starts an argument
  run.program.Run("qzcl RUN msiexec /i x.msi");
  EXPECT_EQ(run.shell.opened, Strings{"msiexec /i x.msi"});
  for (bool system : {false, true}) {  // the user's own environment, which LocalSystem has none of
    Command user;
    user.registry.localSystem = system;
    EXPECT_EQ(user.program.Run("qzcl /USER ENV QZ_HOME C:\\Q"), system ? kExitUsage : kExitSuccess);
    EXPECT_EQ(user.registry.values.count("HKCU\\Environment\\QZ_HOME"), system ? 0u : 1u);
  }
}

TEST(startup, refuses_parameters_the_ansi_code_page_cannot_hold_wherever_the_program_stands) {
  const std::tuple<std::u16string, int, const char*> cases[] = {
      {u"qzcl RED Common *.tpl C:\\\u4E2D\\\u6587", kExitUsage, "Incorrect Command Line"},
      {u"qzcl USERMENU Q M C:\\\u0100.exe", kExitUsage, "Incorrect Command Line"},  // would be written as "A"
      {u"\"C:\\\u4E2D\\qzcl.exe\" CMD", kExitSuccess, "QZCL Utility"},
  };
  for (const auto& [line, exitCode, caption] : cases) {
    Command t;
    EXPECT_EQ(t.program.Run(line), exitCode);
    EXPECT_TRUE(t.Captions() == Strings{caption} && t.Ini(kRed, "Common", "*.tpl") == "<absent>");
  }
}

TEST(abcpath_and_run, set_the_library_path_and_start_the_ide_or_hand_the_joined_tokens_to_the_shell) {
  // The IDE starts in its BIN folder: by its path when it is there, else by its name.
  const std::string exe = "C:\\C6\\BIN\\C60EE.exe", byPath = exe + "|\"" + exe + "\"|C:\\C6\\BIN";
  for (const auto& [word, inBin] :
       {std::pair{"ABCPATH", false}, std::pair{"LIBSRC", true}, std::pair{"class", false}}) {
    Command t;
    if (inBin) t.files.existing.insert(exe);
    t.Run(std::string(word) + " \"c:\\My Libs\\abc\" 6");
    EXPECT_EQ(t.Ini(kIdeIni, "Paths", "Libsrc"), "C:\\MY LIBS\\ABC") << word;
    EXPECT_EQ(t.processes.started, Strings{inBin ? byPath : "|C60EE|C:\\C6\\BIN"}) << word;
  }
  Command failed;  // the path is set; the box says that the IDE could not be started, and why
  failed.files.existing.insert(exe);
  failed.processes.fail = true;
  failed.Run("ABCPATH C:\\L");
  EXPECT_TRUE(failed.Ini(kIdeIni, "Paths", "Libsrc") == "C:\\L" && failed.svc.ExitCode() == kExitFailed &&
              failed.dialogs.shown.at(0).text ==
                  "The library path was set, but the IDE could not be started:|  C:\\C6\\BIN\\C60EE.exe|"
                  "The system cannot find the file specified.");
  const std::pair<const char*, const char*> runs[] = {
      {"RUN \"C:\\Program Files\\x.exe\" a", "\"C:\\Program Files\\x.exe\" a"},
      {"RUN   notepad.exe    readme.txt", "notepad.exe readme.txt"},
      {"RUN \"\" a", "a"},
      {"RUN a \"\" b", "a  b"},
      {"RUN \" x\"", "\"x \""}};
  for (auto [arguments, opened] : runs) {
    Command t;
    t.Run(arguments);
    EXPECT_EQ(t.shell.opened, Strings{opened}) << arguments;
  }
  const std::tuple<const char*, const char*, const char*, Icon> missing[] = {
      {"ABCPATH", "Set ABC Library Directory", "File parameter missing from command line", Icon::Information},
      {"RUN", "Run Command Error", "The Run command Should be RUN CommandLine.|  The Actuall Command is: RUN",
       Icon::WinLogo}};
  for (auto [arguments, caption, text, icon] : missing) {
    Command t;
    t.Run(arguments);
    EXPECT_TRUE(t.processes.started.empty() && t.shell.opened.empty());
    ASSERT_EQ(t.Captions(), Strings{caption});
    EXPECT_TRUE(t.dialogs.shown[0].text == text && t.dialogs.shown[0].icon == icon) << t.dialogs.shown[0].text;
  }
}

TEST(include, appends_its_line_on_a_line_of_its_own_once_and_says_only_in_an_installer_s_log_why_it_did_not) {
  const std::string name(300, 'n');  // a long name is found again: the whole line is compared
  const std::pair<std::string, std::string> cases[] = {
      {"#TEMPLATE(A)\r\n", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"#TEMPLATE(A)\r\n\r\n", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"", "#INCLUDE('x.tpw')\r\n"},
      {"#TEMPLATE(A)", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},  // no final line end: never joined
      {"#TEMPLATE(A)\r", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"a\r\n#! #INCLUDE('x.tpw') here\r\n", "a\r\n#! #INCLUDE('x.tpw') here\r\n"},
      {"#include('x.tpw')\r\n", "#include('x.tpw')\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"#INCLUDE('X.TPW')\r\n", "#INCLUDE('X.TPW')\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"\r\n" + std::string(300, ' '), "\r\n" + std::string(300, ' ') + "\r\n#INCLUDE('" + name + "')\r\n"},
  };
  for (const auto& [before, after] : cases) {
    Command t;
    t.files.contents["my.tpl"] = before;
    const std::string include = before.size() > 300 ? name : "x.tpw";
    t.Run("INCLUDE my.tpl " + include);
    t.Run("INCLUDE my.tpl " + include);  // twice: added once
    EXPECT_EQ(t.files.contents["my.tpl"], after) << before;
    EXPECT_TRUE(t.dialogs.shown.empty() && t.dialogs.notes.empty() && t.svc.ExitCode() == kExitSuccess);
  }
  const std::string kName = "An include file name cannot hold a line break, NUL or a quote: ";
  const std::string kNot = "The template file was not changed: ";
  const std::tuple<const char*, int, std::string> nothing[] = {
      {"INCLUDE my.tpl", kExitUsage, "INCLUDE needs a template file and an include file."},
      {"UNINCLUDE", kExitUsage, "UNINCLUDE needs a template file and an include file."},
      {"INCLUDE my.tpl \"x.tpw')\r#EVIL('y\"", kExitUsage, kName + "x.tpw')<CR>#EVIL('y"},
      {"UNINCLUDE my.tpl \"a'b\"", kExitUsage, kName + "a'b"},
      {"INCLUDE gone.tpl x", kExitFailed, kNot + "gone.tpl: The file does not exist."},
      {"UNINCLUDE gone.tpl x", kExitSuccess,
       "The template file does not exist, so there is nothing to remove: gone.tpl"},
      {"UNINCLUDE locked.tpl x", kExitFailed, kNot + "locked.tpl: Another program is using the file."},
      {"INCLUDE wide.tpl x", kExitFailed, kNot + "wide.tpl: It is not a text file that QZCL can change."},
      {"INCLUDE my.tpl x", kExitBusy, "Another run of QZCL is changing this file: my.tpl"},
  };
  for (auto [arguments, exitCode, note] : nothing) {
    Command t;
    t.files.contents = {{"my.tpl", "a\r\n"}, {"locked.tpl", "a\r\n"}, {"wide.tpl", "\xFF\xFE?"}};
    const auto files = t.files.contents;
    t.files.failing["locked.tpl"] = FileError::SharingViolation;
    t.locks.busy.insert("MY.TPL");
    t.Run(arguments);
    EXPECT_TRUE(t.files.contents == files && t.dialogs.shown.empty()) << arguments;
    EXPECT_EQ(t.svc.ExitCode(), exitCode) << arguments;
    EXPECT_EQ(t.dialogs.notes, Strings{note});
  }
}

const std::string kEnvKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\\";

// A stored value as "S:text" (a string), "X:text" (expandable) or "O:" (not text).
struct Env : fake::Harness {
  void Set(const std::string& name, const std::string& value) {
    registry.values[kEnvKey + name] = {value[0] == 'S'   ? RegType::String
                                       : value[0] == 'X' ? RegType::ExpandString
                                                         : RegType::Other,
                                       value.substr(2)};
  }
  std::string Get(const std::string& name) {
    if (!registry.values.count(kEnvKey + name)) return "<absent>";
    const auto& stored = registry.values[kEnvKey + name];
    return (stored.type == RegType::String ? "S:" : stored.type == RegType::ExpandString ? "X:" : "O:") + stored.text;
  }
};

TEST(env, adds_the_value_as_a_whole_item_keeping_the_type_and_tells_programs_only_of_a_change) {
  const std::tuple<const char*, const char*, std::string> cases[] = {
      // arguments, before, after
      {"ENV QZ_HOME C:\\QZ", nullptr, "S:C:\\QZ"},
      {"ENVIRONMENT QZ_LEVEL 42", nullptr, "S:42"},  // numbers are text too
      {"ENV QZ_HOME C:\\B", "S:C:\\A   ", "S:C:\\A;C:\\B"},
      {"ENV QZ_HOME C:\\B", "S:", "S:C:\\B"},
      {"ENV QZ_HOME C:\\TOOLS", "S:C:\\A;c:\\tools", "S:C:\\A;c:\\tools"},
      {"ENV QZ_HOME C:\\Tools", "S:C:\\Tools\\;C:\\A", "S:C:\\Tools\\;C:\\A"},
      {"ENV QZ_HOME C:\\Tools\\", "S:C:\\A; C:\\Tools ", "S:C:\\A; C:\\Tools "},
      {"ENV QZ_HOME C:\\Tools", "S:C:\\Tools2", "S:C:\\Tools2;C:\\Tools"},
      {"ENV QZ_HOME \"C:\\My Tools\"", "S:C:\\A", "S:C:\\A;C:\\My Tools"},
      {"ENV Path C:\\QZ", "X:%SystemRoot%\\system32", "X:%SystemRoot%\\system32;C:\\QZ"},
      // each item that is not listed yet is added, in the order given, once
      {"ENV QZ_HOME \"C:\\A;C:\\W\"", "S:C:\\A", "S:C:\\A;C:\\W"},
      {"ENV QZ_HOME \"C:\\W;c:\\w;;C:\\V\"", nullptr, "S:C:\\W;C:\\V"},
  };
  for (auto [arguments, before, after] : cases) {
    SCOPED_TRACE(arguments);
    Env t;
    const std::string var = CommandLine(std::string("qzcl ") + arguments).Token(2);
    if (before) t.Set(var, before);
    t.Run(arguments);
    EXPECT_EQ(t.Get(var), after);
    const bool changed = !before || after != before;
    EXPECT_EQ(t.registry.events, changed ? Strings({"write " + var, "broadcast"}) : Strings());
    EXPECT_TRUE(t.dialogs.shown.empty() && t.svc.ExitCode() == kExitSuccess);
    t.Run(arguments);
    EXPECT_EQ(t.registry.events.size(), changed ? 2u : 0u) << "a second run changes nothing";
  }
}

TEST(env, refuses_what_it_cannot_add_safely_and_leaves_the_value) {
  const std::string full = "S:" + std::string(32767 - 2, 'x');  // ";AB" takes it one past the limit, ";A" exactly to it
  const std::tuple<std::string, std::optional<RegResult>, const char*> cases[] = {
      // before, read failure, reason
      {"O:", std::nullopt, "Its current value is not text, so it was left as it is."},
      {"", RegResult{RegStatus::AccessDenied, 5},
       "Access to its current value in the registry was denied. /USER changes the current user's environment "
       "instead."},
      {"", RegResult{RegStatus::OtherError, 1018}, "Its current value could not be read. Windows error: 1018"},
      {full, std::nullopt, "The result would be longer than 32,767 characters, the most Windows allows."},
  };
  for (const auto& [before, readFailure, reason] : cases) {
    Env t;
    if (!before.empty()) t.Set("QZ_VAR", before);
    if (readFailure) t.registry.readFailures[kEnvKey + "QZ_VAR"] = *readFailure;
    t.dialogs.onShow = [&t](const Box&) { EXPECT_EQ(t.journal.back(), "unlock QZ_VAR"); };
    t.Run("ENV QZ_VAR AB");
    EXPECT_TRUE(t.registry.events.empty() && t.Get("QZ_VAR") == (before.empty() ? "<absent>" : before)) << reason;
    ASSERT_EQ(t.Captions(), Strings{"Environment Variable"});
    EXPECT_EQ(t.dialogs.shown[0].text,
              std::string("The value was not added to the environment variable:|QZ_VAR||") + reason);
    EXPECT_TRUE(t.dialogs.shown[0].icon == Icon::Exclamation && t.svc.ExitCode() == kExitFailed);
  }
  // A name or value that Windows would read back as another one is refused before anything is read.
  for (const char* arguments : {"ENV A=B C:\\QZ", "UNENV \"A\nB\" C:\\QZ", "ENV QZ \"C:\\QZ\r\nX=1\""}) {
    Env t;
    t.Run(arguments);
    EXPECT_TRUE(t.journal.empty() && t.Captions() == Strings{"Environment Variable"}) << arguments;
    EXPECT_EQ(t.svc.ExitCode(), kExitUsage);
  }
  Env fits;  // exactly at the limit is still written
  fits.Set("QZ_VAR", full);
  fits.Run("ENV QZ_VAR A");
  EXPECT_EQ(fits.Get("QZ_VAR").size(), 2 + 32767u);
  // Without a name or a value, or without a write that reads back whole (the value is then put back): no box,
  // and a line for an installer's log.
  const std::string kNotChanged = "The environment variable was not changed: QZ_HOME: ";
  const struct {
    const char* arguments;
    const char* before;  // as Env::Set takes it; none: absent
    bool failWrites;
    std::size_t kept;  // the next write keeps only this much
    std::string note;
  } quiet[] = {
      {"ENV", nullptr, false, std::string::npos, "ENV needs a variable name and a value."},
      {"ENV \"\" C:\\QZ", nullptr, false, std::string::npos, "ENV needs a variable name and a value."},
      {"ENV QZ_HOME C:\\QZ", nullptr, true, std::string::npos,
       kNotChanged + "Access is denied. /USER changes the current user's environment instead."},
      {"ENV QZ_HOME C:\\QZ", "S:C:\\A", false, 5, kNotChanged + "It did not read back as written."},
      {"UNENV QZ_HOME C:\\QZ", "X:C:\\A;C:\\QZ", false, 2, kNotChanged + "It did not read back as written."},
  };
  for (const auto& c : quiet) {
    Env t;
    if (c.before) t.Set("QZ_HOME", c.before);
    t.registry.failWrites = c.failWrites;
    t.registry.keptChars = c.kept;
    t.Run(c.arguments);
    EXPECT_EQ(t.Get("QZ_HOME"), c.before ? c.before : "<absent>") << c.arguments;
    EXPECT_TRUE(t.dialogs.shown.empty() && t.dialogs.notes == Strings{c.note}) << c.arguments;
    EXPECT_EQ(std::count(t.registry.events.begin(), t.registry.events.end(), "broadcast"), 0);
    EXPECT_EQ(t.svc.ExitCode(), c.note.find("needs") != std::string::npos ? kExitUsage : kExitFailed);
  }
}

// The "User Menus" entries of a harness with version 6 installed; key gap is left out.
struct Menu : fake::Harness {
  explicit Menu(const Strings& entries, int gap = 0) {
    InstallVersion6();
    int key = 1;
    for (const auto& e : entries) {
      if (key == gap) ++key;
      SetIni(kIdeIni, "User Menus", std::to_string(key++), e);
    }
  }
  Strings List(int upTo) {
    Strings out;
    for (int i = 1; i <= upTo; ++i) out.push_back(Ini(kIdeIni, "User Menus", std::to_string(i)));
    return out;
  }
  // The application's line as it stands in the file: a command line in quotes keeps them there.
  std::string App() {
    const std::string& bytes = files.contents[kIdeIni];
    const auto at = bytes.find("\nQZ=");
    return at == std::string::npos ? "<absent>" : bytes.substr(at + 4, bytes.find('\r', at) - at - 4);
  }
};

TEST(usermenu, adds_or_replaces_the_entry_and_rewrites_the_list_in_its_groups) {
  const std::tuple<Strings, const char*, Strings> cases[] = {
      {{}, "USERMENU QZ &Tools-QZ+Tool qz.exe", {"&Tools/QZ Tool|QZ", "<absent>"}},
      {{"&Zebra|Z", "&Apple|A"}, "MENU QZ &Middle qz.exe", {"&Apple|A", "&Middle|QZ", "&Zebra|Z", "<absent>"}},
      // replaced in place, letter case ignored, the AppRef as typed now
      {{"Old|myapp", "&Beta|B"}, "USERMENU MYAPP Alpha qz.exe", {"Alpha|MYAPP", "&Beta|B", "<absent>"}},
      {{"&Zeta|Z", "A&ccessories/Help/&Readme|R"},
       "USERMENU QZ Ac&cessories-Help-My+Tool x",  // Help first
       {"Ac&cessories/Help/My Tool|QZ", "A&ccessories/Help/&Readme|R", "&Zeta|Z", "<absent>"}},
      // another application's longer reference is not ours
      {{"Other|MYAPP2", "Mine|x|MYAPP"}, "USERMENU MYAPP Mine qz.exe", {"Mine|MYAPP", "Other|MYAPP2", "<absent>"}},
      // keys 1, 2 and 4: what lies beyond the first gap is neither read nor written over
      {{"&A|A", "&C|C", "&B|B"}, "USERMENU QZ &D qz.exe", {"&A|A", "&C|C", "&D|QZ", "&B|B"}},
  };
  for (const auto& [before, arguments, after] : cases) {
    Menu t(before, before.size() == 3 ? 3 : 0);
    t.Run(arguments);
    EXPECT_EQ(t.List(static_cast<int>(after.size())), after) << arguments;
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
  const std::pair<const char*, const char*> commandLines[] = {
      {"USERMENU QZ M \"C:\\Program Files\\qz.exe\" a \"b c\" 6", "\"C:\\Program Files\\qz.exe\" a \"b c\""},
      {"USERMENU QZ M qz.exe -x+y 4", "<absent>"},  // version 4 has no installation here
      {"USERMENU QZ M qz.exe -x+y", "qz.exe -x y"}};
  for (auto [arguments, app] : commandLines) {
    Menu t({});
    t.Run(arguments);
    EXPECT_EQ(t.App(), app) << arguments;
  }
}

TEST(usermenu, never_writes_over_an_entry_it_did_not_read_and_names_what_is_missing) {
  const std::string longEntry = std::string(400, 'L') + "|LONG";
  Menu whole({longEntry});
  whole.Run("USERMENU QZ M qz.exe");
  EXPECT_EQ(whole.List(2), (Strings{longEntry, "M|QZ"}));
  Menu usage({});
  usage.Run("USERMENU QZapp");
  EXPECT_EQ(usage.Captions(), Strings{"Incorrect Command Line"});
  EXPECT_EQ(usage.dialogs.shown[0].text,
            "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: |   AppRef: QZapp|   "
            "MenuDisplay: |   CommandLine: |   Parm: |   Version: QZa");
  EXPECT_EQ(usage.svc.ExitCode(), kExitUsage);
}

// The menu of an IDE that was edited by hand: comments, blank lines, odd spacing, a line without "=" and more
// entries than a list of a thousand.
std::string HandEditedIni(int entries, const std::string& added = "", const std::string& application = "") {
  std::string ini = "; written by hand\r\n[User Menus]\r\n";
  for (int i = 1; i <= entries; ++i) ini += std::to_string(i) + (i == 2 ? " = " : "=") + "&T|T\r\n";
  // A line without "=" reads as a key: a new entry goes after it.
  return ini + "stray line\r\n" + added + "\r\n[User Applications]\r\nT = t.exe ; a note\r\n" + application +
         "[Last]\r\nx=1";
}

TEST(usermenu, keeps_every_byte_it_does_not_own_and_writes_the_file_once_whole) {
  Menu t({});
  t.files.contents[kIdeIni] = HandEditedIni(1005);  // past a list of a thousand
  t.Run("USERMENU QZ Zzz qz.exe");
  EXPECT_EQ(t.files.contents[kIdeIni], HandEditedIni(1005, "1006=Zzz|QZ\r\n", "QZ=qz.exe\r\n"));
  EXPECT_TRUE(t.files.reads == 2 && t.files.replaces == 1);
  // A key that would read back as a comment, a value that would break a line, and an AppRef that would name
  // another one (a "|", blanks at an end) are refused unread.
  for (const char* arguments : {"USERMENU ;APP M qz.exe", "USERMENU [APP M qz.exe", "USERMENU A=B M qz.exe",
                                "USERMENU QZ M \"qz.exe\r\n[Paths]\"", "USERMENU \"A|B\" M qz.exe",
                                "USERMENU \" NOTEPAD\" M n.exe", "UNMENU \"A \"", "UNMENU A|B"}) {
    Menu r({"&A|A"});
    const std::string before = r.files.contents[kIdeIni];
    r.Run(arguments);
    EXPECT_TRUE(r.files.contents[kIdeIni] == before && r.files.reads == 0) << arguments;
    EXPECT_TRUE(r.Captions() == Strings{"Incorrect Command Line"} && r.svc.ExitCode() == kExitUsage) << arguments;
  }
}

}  // namespace
}  // namespace qz
