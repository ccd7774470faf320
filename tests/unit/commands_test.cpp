// The start-up and the environment commands over fakes: which box a command word gets, the translation
// file entry, RED, ABCPATH, INCLUDE, RUN, ENV and USERMENU.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "unit/harness.h"

namespace qz {
namespace {

using fake::kEnvKey;
using fake::kIdeIni;
using fake::kRed;
using fake::Strings;

// A harness with version 6 installed and its redirection file present.
struct Command : fake::Installed {
  Command() { files.existing.insert(kRed); }
};

// A command word, never a prefix of one, shows its box; a parameter that the ANSI code page
// cannot hold is refused, wherever the program stands. Neither writes anything or sets up the translation.
TEST(startup, command_words_show_their_box_and_parameters_the_ansi_code_page_cannot_hold_are_refused) {
  const std::tuple<std::u16string, const char*, int, Icon> cases[] = {
      {u"qzcl.exe CMD", "QZCL Utility", kExitSuccess, Icon::WinLogo},
      {u"qzcl.exe CMDX", "QZInstall", kExitUsage, Icon::WinLogo},
      {u"qzcl RED Common *.tpl C:\\\u4E2D\\\u6587", "Incorrect Command Line", kExitUsage, Icon::Exclamation},
      // U+0100 would be written as "A"
      {u"qzcl USERMENU Q M C:\\\u0100.exe", "Incorrect Command Line", kExitUsage, Icon::Exclamation},
      {u"\"C:\\\u4E2D\\qzcl.exe\" CMD", "QZCL Utility", kExitSuccess, Icon::WinLogo},
  };
  for (const auto& [line, caption, exitCode, icon] : cases) {
    Command t;
    SCOPED_TRACE(t.codec.WideToAnsi(line));
    const int writes = t.profile.writes;  // of installing version 6
    EXPECT_EQ(t.program.Run(line), exitCode);
    ASSERT_EQ(t.Captions(), Strings{caption});
    EXPECT_TRUE(t.dialogs.shown[0].icon == icon && t.dialogs.shown[0].buttons == Buttons::Ok);
    EXPECT_TRUE(t.profile.writes == writes && !t.translator.Initialized() && t.files.contents.empty());
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

  std::filesystem::path old_ = std::filesystem::current_path();
  fake::TempFolder folder_;
};

TEST_F(Startup, the_translation_file_entry_is_kept_repaired_or_cleared_and_edit_opens_the_translated_editor) {
  // An empty entry, a stale one (its file is gone) and one that names no translation file are cleared, or repaired
  // to the full short path of .\QZCLLang.str when that file is in the current directory.
  const std::string repaired = "C:\\LONGFO~1\\QZCLLang.str";
  files.existing = {"C:\\other.str", repaired};
  files.currentDirectory = "C:\\Long Folder Name";
  files.shortPaths[files.currentDirectory] = "C:\\LONGFO~1";
  for (const char* entry : {"", "C:\\Old\\QZCLLang.str", "C:\\other.str"}) {
    for (bool localFile : {false, true}) {
      profile.Write("", "QZCL", "LangFile", entry);
      files.existing.erase(".\\QZCLLang.str");
      if (localFile) files.existing.insert(".\\QZCLLang.str");
      program.SetUpLanguageFile();
      EXPECT_EQ(profile.Value("", "QZCL", "LangFile") + "|" + svc.langFile, localFile ? repaired + "|" + repaired : "|")
          << entry;
      EXPECT_EQ(translator.Initialized(), localFile) << entry;
      translator.Kill();
    }
  }
  // A valid entry is used as it stands: only the translator's open log (checked with the translator) is written.
  const std::string path = folder_ / "QZCLLang.str";
  fake::WriteTranslationFile(codec, path, {{"File Types", "Types de fichiers"}});
  files.existing.insert(path);
  profile.Write("", "QZCL", "LangFile", path);
  const int writesBefore = profile.writes;
  program.SetUpLanguageFile();
  EXPECT_TRUE(profile.Value("", "QZCL", "LangFile") == path && profile.writes - writesBefore == 1);
  translator.Kill();
  // EDIT opens the translated editor, and no parameter runs no command.
  InstallVersion6();
  std::vector<std::pair<std::string, std::string>> sections;
  views.editorScript = [&](fake::FakeEditorView& view, EditorEvents&) { sections = view.sections; };
  program.Run("qzcl.exe edit");
  ASSERT_EQ(sections.size(), 6u);  // with a translation file, its table is offered too
  EXPECT_EQ(sections[1], (std::pair<std::string, std::string>{"Types de fichiers", "File Types"}));
  EXPECT_FALSE(translator.Initialized());  // closed at the end of the run
  sections.clear();
  program.Run("qzcl.exe");
  EXPECT_TRUE(dialogs.shown.empty() && sections.empty() && svc.langFile == path);
}

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
      {"RED Common *.tpl C:\\Tools", "C:\\A;C:\\Tools\\", "C:\\A;C:\\Tools\\"},  // a final backslash is no difference
      {"RED Common *.tpl C:\\Tools", "C:\\Tools2", "C:\\Tools2;C:\\Tools"},      // not a substring test
      {"RED Common *.tpl c:\\tools", "C:\\TOOLS", "C:\\TOOLS"},  // in any letter case, as Windows names folders
      {"RED Common *.tpl C:\\B", "C:\\A;  ", "C:\\A;;C:\\B"},
      {"REDIRECT Common *.tpl C:\\New", listed, listed + ";C:\\New"},
      {"RED Common *.tpl", "C:\\A", "C:\\A", "Redirecton Command Error", kExitUsage},
      {"redirect Common \"\" C:\\x", "C:\\A", "C:\\A", "Redirecton Command Error", kExitUsage},
      {"UNREDIRECT Common *.tpl", "C:\\A", "C:\\A", "Remove Redirection Error", kExitUsage},
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
    if (c.caption) {
      EXPECT_EQ(t.files.contents, (std::map<std::string, std::string>{{kRed, before}}));
    }
    EXPECT_TRUE(t.Captions() == (c.caption ? Strings{c.caption} : Strings{}) && t.svc.ExitCode() == c.exitCode);
    if (c.diskSpace == 20) {  // a file failure names the step, the file and the reason
      EXPECT_EQ(t.dialogs.shown[0].text,
                "The redirection file could not be written:|  C:\\C6\\BIN\\C60EE.RED|"
                "The disk is full.||Nothing was changed.");
    }
    // A second run finds every item listed and writes nothing.
    const int writes = t.files.replaces;
    t.Run(c.arguments);
    EXPECT_EQ(t.files.replaces, writes);
  }
}

// Each change of a file or variable is made under its lock: the file read, the new bytes written beside it,
// the file read again and compared, the new file put in its place. Another program's change in between is kept.
TEST(changes, are_made_under_the_target_s_lock_and_redone_over_another_program_s_change) {
  Command bom;  // a UTF-8 mark stays in front of the first section, which is changed in place, in UTF-8
  bom.files.contents[kRed] = "\xEF\xBB\xBF[Common]\r\n*.tpl=C:\\A\r\n";
  bom.Run("RED Common *.tpl C:\\Caf\xE9");
  EXPECT_EQ(bom.files.contents[kRed], "\xEF\xBB\xBF[Common]\r\n*.tpl=C:\\A;C:\\Caf\xC3\xA9\r\n");
  // A removal reads the ledger of owners beside the file under its lock; UNMENU reads both first, since with
  // nothing to remove the IDE need not be closed.
  const auto steps = [](const std::string& f, const std::string& ledger = "", bool readFirst = false) {
    Strings s{"lock " + f, "read " + f, "write " + f + ".~1", "read " + f, "replace " + f, "unlock " + f};
    if (!ledger.empty()) s.insert(s.begin() + 2, "read " + ledger);
    if (readFirst) s.insert(s.begin(), {"read " + f, "read " + ledger});
    return s;
  };
  const std::string ledger = "C:\\C6\\BIN\\QZCL.owners";
  const std::pair<const char*, Strings> cases[] = {
      {"RED Common *.tpl C:\\X", steps(kRed)},
      {"UNRED Common *.tpl C:\\A", steps(kRed, ledger)},
      {"USERMENU QZ M qz.exe", steps(kIdeIni)},
      {"UNMENU A", steps(kIdeIni, ledger, true)},
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
    EXPECT_TRUE(t.journal == expected && t.svc.ExitCode() == kExitSuccess) << arguments;
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

// What cannot be taken is refused before anything is read. Switches stand before the command word, each as one
// token (quotes drop out), and each command takes only its own; after the word every token is an argument, and the
// usage box shows the command as given after the switches. A name or value that would be read back as another one
// (a key read as a comment, a line break, an AppRef holding a "|" or a blank at an end) is refused too.
TEST(startup, a_command_line_that_cannot_be_taken_is_refused_before_anything_is_read) {
  const std::string bad = "Incorrect Command Line: ", ini = bad + "This text cannot be written to an INI file:|  ";
  const std::string appRef = bad + "An AppRef cannot hold \"|\", nor start or end with a blank:|  ";
  const std::string env = "Environment Variable: This name cannot be given to an environment variable:|  ";
  const std::string nothing = "||Nothing was changed.";
  const std::tuple<const char*, int, std::string> cases[] = {
      // the command line after "qzcl ", the exit code, the box as "caption: text", or what was printed
      {"/VERSION", kExitSuccess, std::string("QZCL ") + QZCL_VERSION},
      {"/version CMD", kExitUsage, bad + "/VERSION stands alone." + nothing},
      {"/UNATTENDED", kExitUsage, bad + "A command word must follow the switches." + nothing},
      {"/USER RED Common *.tpl C:\\X", kExitUsage, bad + "/USER is taken by ENV and UNENV only." + nothing},
      {"/WHATIF REG a.tpl", kExitUsage,
       bad + "/WHATIF is taken only by the commands that change files or variables: RED, UNRED, USERMENU, UNMENU, " +
           "INCLUDE, UNINCLUDE, ENV, UNENV and ABCPATH." + nothing},
      {"/LOG CMD", kExitUsage, bad + "/LOG names one file, as /LOG=file: /LOG" + nothing},
      {"\"/OWNER=Vendor X\" RED Common *.tpl C:\\X", kExitUsage,
       bad + "An owner name is 1 to 64 letters, digits, \".\", \"-\" or \"_\": Vendor X" + nothing},
      {"/OWNER=V CMD", kExitUsage,
       bad + "/OWNER is taken only by the adding and removal commands: RED, UNRED, USERMENU, UNMENU, INCLUDE, " +
           "UNINCLUDE, ENV and UNENV." + nothing},
      {"/ADOPT RED Common *.tpl C:\\X", kExitUsage,
       bad + "/ADOPT is taken only with /OWNER, by RED, USERMENU, INCLUDE and ENV." + nothing},
      {"/Bogus CMD", kExitUsage, bad + "This switch is not known: /Bogus" + nothing},
      {" /unattended  RED Common", kExitUsage,
       "Redirecton Command Error: Redirection Command should be RED Section Entry Path Version.|  Actual Command: RED "
       "Common|  Redirection File: C:\\C6\\BIN\\C60EE.RED|  Version: 60"},
      {"USERMENU QZapp", kExitUsage,
       bad + "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: |   AppRef: QZapp|   " +
           "MenuDisplay: |   CommandLine: |   Parm: |   Version: QZa"},
      {"UNMENU", kExitUsage,
       bad + "Command line paramters are: AppRef [Version].  Found were: |   AppRef: |   Version: UNM"},
      {"USERMENU ;APP M qz.exe", kExitUsage, ini + ";APP" + nothing},
      {"USERMENU [APP M qz.exe", kExitUsage, ini + "[APP" + nothing},
      {"USERMENU A=B M qz.exe", kExitUsage, ini + "A=B" + nothing},
      {"USERMENU QZ M \"qz.exe\r\n[Paths]\"", kExitUsage, ini + "qz.exe<CR><LF>[Paths]" + nothing},
      {"USERMENU \"A|B\" M qz.exe", kExitUsage, appRef + "\"A|B\"" + nothing},
      {"USERMENU \" NOTEPAD\" M n.exe", kExitUsage, appRef + "\" NOTEPAD\"" + nothing},
      {"UNMENU \"A \"", kExitUsage, appRef + "\"A \"" + nothing},
      {"ENV A=B C:\\QZ", kExitUsage, env + "A=B" + nothing},
      {"UNENV \"A\nB\" C:\\QZ", kExitUsage, env + "A<LF>B" + nothing},
      {"ENV QZ \"C:\\QZ\r\nX=1\"", kExitUsage,
       "Environment Variable: This text cannot be written to an environment variable:|  C:\\QZ<CR><LF>X=1" + nothing},
  };
  for (const auto& [line, exitCode, said] : cases) {
    Command t;
    EXPECT_EQ(t.program.Run(std::string("qzcl ") + line), exitCode) << line;
    Strings seen = t.dialogs.printed;
    for (const Box& box : t.dialogs.shown) seen.push_back(box.caption + ": " + box.text);
    EXPECT_EQ(seen, Strings{said}) << line;
    EXPECT_TRUE(t.journal.empty() && t.files.contents.empty() && t.registry.values.empty()) << line;
  }
  for (bool system : {false, true}) {  // the user's own environment, which LocalSystem has none of
    Command user;
    user.registry.localSystem = system;
    EXPECT_EQ(user.program.Run("qzcl /USER ENV QZ_HOME C:\\Q"), system ? kExitUsage : kExitSuccess);
    EXPECT_EQ(user.registry.values.count("HKCU\\Environment\\QZ_HOME"), system ? 0u : 1u);
  }
}

TEST(abcpath_and_run, set_the_library_path_and_start_the_ide_or_hand_the_joined_tokens_to_the_shell) {
  // The IDE starts in its BIN folder: by its path when it is there, else by its name. When it cannot be started,
  // the path is set all the same, and the box says why.
  const std::string exe = "C:\\C6\\BIN\\C60EE.exe", byPath = exe + "|\"" + exe + "\"|C:\\C6\\BIN";
  const std::tuple<const char*, bool, bool> words[] = {
      {"ABCPATH", false, false}, {"LIBSRC", true, false}, {"class", false, false}, {"ABCPATH", true, true}};
  for (auto [word, inBin, fails] : words) {
    Command t;
    if (inBin) t.files.existing.insert(exe);
    t.processes.fail = fails;
    t.Run(std::string(word) + " \"c:\\My Libs\\abc\" 6");
    EXPECT_EQ(t.Ini(kIdeIni, "Paths", "Libsrc"), "C:\\MY LIBS\\ABC") << word;
    EXPECT_EQ(t.processes.started, Strings{inBin ? byPath : "|C60EE|C:\\C6\\BIN"}) << word;
    EXPECT_EQ(t.svc.ExitCode(), fails ? kExitFailed : kExitSuccess) << word;
    EXPECT_EQ(t.dialogs.shown.empty() ? "" : t.dialogs.shown[0].text,
              fails ? "The library path was set, but the IDE could not be started:|  C:\\C6\\BIN\\C60EE.exe|"
                      "The system cannot find the file specified."
                    : "");
  }
  // After the word, a "/" starts an argument.
  const std::pair<const char*, const char*> runs[] = {
      {"RUN \"C:\\Program Files\\x.exe\" a", "\"C:\\Program Files\\x.exe\" a"},
      {"RUN   notepad.exe    readme.txt", "notepad.exe readme.txt"},
      {"RUN \"\" a", "a"},
      {"RUN a \"\" b", "a  b"},
      {"RUN \" x\"", "\"x \""},
      {"RUN msiexec /i x.msi", "msiexec /i x.msi"}};
  for (auto [arguments, opened] : runs) {
    Command t;
    t.program.Run(std::string("qzcl ") + arguments);
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

// INCLUDE adds its line once, on a line of its own after a blank one; it compares whole lines, so a long name is
// found again. Neither it nor UNINCLUDE shows a box: an installer's log says why nothing was changed.
TEST(include, appends_its_line_on_a_line_of_its_own_once_and_says_only_in_an_installer_s_log_why_it_did_not) {
  const std::string name(300, 'n'), kName = "An include file name cannot hold a line break, NUL or a quote: ";
  const std::string kNot = "The template file was not changed: ";
  const struct {
    std::string arguments, before, after;  // my.tpl before and after
    int exitCode = kExitSuccess;
    std::string note;  // the line for the log, if any
  } cases[] = {
      {"INCLUDE my.tpl x.tpw", "#TEMPLATE(A)\r\n", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"INCLUDE my.tpl x.tpw", "#TEMPLATE(A)\r\n\r\n", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"INCLUDE my.tpl x.tpw", "", "#INCLUDE('x.tpw')\r\n"},
      // no final line end: never joined
      {"INCLUDE my.tpl x.tpw", "#TEMPLATE(A)", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"INCLUDE my.tpl x.tpw", "#TEMPLATE(A)\r", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"INCLUDE my.tpl x.tpw", "a\r\n#! #INCLUDE('x.tpw') here\r\n", "a\r\n#! #INCLUDE('x.tpw') here\r\n"},
      {"INCLUDE my.tpl x.tpw", "#INCLUDE('X.TPW')\r\n", "#INCLUDE('X.TPW')\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"INCLUDE my.tpl " + name, "\r\n" + std::string(300, ' '),
       "\r\n" + std::string(300, ' ') + "\r\n#INCLUDE('" + name + "')\r\n"},
      {"INCLUDE my.tpl", "", "", kExitUsage, "INCLUDE needs a template file and an include file."},
      {"UNINCLUDE", "", "", kExitUsage, "UNINCLUDE needs a template file and an include file."},
      {"INCLUDE my.tpl \"x.tpw')\r#EVIL('y\"", "", "", kExitUsage, kName + "x.tpw')<CR>#EVIL('y"},
      {"UNINCLUDE my.tpl \"a'b\"", "", "", kExitUsage, kName + "a'b"},
      {"INCLUDE gone.tpl x", "", "", kExitFailed, kNot + "gone.tpl: The file does not exist."},
      {"UNINCLUDE gone.tpl x", "", "", kExitSuccess,
       "The template file does not exist, so there is nothing to remove: gone.tpl"},
      {"UNINCLUDE locked.tpl x", "", "", kExitFailed, kNot + "locked.tpl: Another program is using the file."},
      {"INCLUDE wide.tpl x", "", "", kExitFailed, kNot + "wide.tpl: It is not a text file that QZCL can change."},
      {"INCLUDE busy.tpl x", "", "", kExitBusy, "Another run of QZCL is changing this file: busy.tpl"},
  };
  for (const auto& [arguments, before, after, exitCode, note] : cases) {
    Command t;
    t.files.contents = {{"my.tpl", before}, {"locked.tpl", "a\r\n"}, {"wide.tpl", "\xFF\xFE?"}, {"busy.tpl", "a\r\n"}};
    auto files = t.files.contents;
    files["my.tpl"] = after;
    t.files.failing["locked.tpl"] = FileError::SharingViolation;
    t.locks.busy.insert("BUSY.TPL");
    t.Run(arguments);
    EXPECT_TRUE(t.svc.ExitCode() == exitCode && t.dialogs.notes == (note.empty() ? Strings{} : Strings{note}))
        << arguments << " over " << before;
    t.Run(arguments);  // a second run adds nothing, and says the same again
    EXPECT_TRUE(t.files.contents == files && t.dialogs.shown.empty() &&
                t.dialogs.notes.size() == (note.empty() ? 0u : 2u))
        << arguments << " over " << before;
  }
}

const std::string kFull = "S:" + std::string(32767 - 2, 'x');  // ";A" takes it exactly to the limit, ";AB" one past

TEST(env, adds_the_value_as_a_whole_item_keeping_the_type_and_tells_programs_only_of_a_change) {
  const std::tuple<const char*, std::string, std::string> cases[] = {
      // arguments, before (none: absent), after
      {"ENV QZ_HOME C:\\QZ", "", "S:C:\\QZ"},
      {"ENVIRONMENT QZ_LEVEL 42", "", "S:42"},  // numbers are text too
      {"ENV QZ_HOME C:\\B", "S:C:\\A   ", "S:C:\\A;C:\\B"},
      {"ENV QZ_HOME C:\\B", "S:", "S:C:\\B"},
      // a whole item in any letter case, blanks around it and a final backslash not counted, as RED compares
      {"ENV QZ_HOME C:\\TOOLS", "S:C:\\A;c:\\tools", "S:C:\\A;c:\\tools"},
      {"ENV QZ_HOME C:\\Tools\\", "S:C:\\A; C:\\Tools ", "S:C:\\A; C:\\Tools "},
      {"ENV QZ_HOME \"C:\\My Tools\"", "S:C:\\A", "S:C:\\A;C:\\My Tools"},
      {"ENV Path C:\\QZ", "X:%SystemRoot%\\system32", "X:%SystemRoot%\\system32;C:\\QZ"},
      // each item that is not listed yet is added, in the order given, once
      {"ENV QZ_HOME \"C:\\A;C:\\W\"", "S:C:\\A", "S:C:\\A;C:\\W"},
      {"ENV QZ_HOME \"C:\\W;c:\\w;;C:\\V\"", "", "S:C:\\W;C:\\V"},
      {"ENV QZ_VAR A", kFull, kFull + ";A"},  // exactly at the limit is still written
  };
  for (auto [arguments, before, after] : cases) {
    SCOPED_TRACE(arguments);
    fake::Harness t;
    const std::string var = CommandLine(std::string("qzcl ") + arguments).Token(2);
    if (!before.empty()) t.SetVariable(var, before);
    t.Run(arguments);
    EXPECT_EQ(t.Variable(var), after);
    const bool changed = after != before;
    EXPECT_EQ(t.registry.events, changed ? Strings({"write " + var, "broadcast"}) : Strings());
    EXPECT_TRUE(t.dialogs.shown.empty() && t.svc.ExitCode() == kExitSuccess);
    t.Run(arguments);
    EXPECT_EQ(t.registry.events.size(), changed ? 2u : 0u) << "a second run changes nothing";
  }
}

TEST(env, refuses_what_it_cannot_add_safely_and_leaves_the_value) {
  const std::tuple<std::string, std::optional<RegResult>, const char*> cases[] = {
      // before, read failure, reason
      {"O:", std::nullopt, "Its current value is not text, so it was left as it is."},
      {"", RegResult{RegStatus::AccessDenied, 5},
       "Access to its current value in the registry was denied. /USER changes the current user's environment "
       "instead."},
      {"", RegResult{RegStatus::OtherError, 1018}, "Its current value could not be read. Windows error: 1018"},
      {kFull, std::nullopt, "The result would be longer than 32,767 characters, the most Windows allows."},
  };
  for (const auto& [before, readFailure, reason] : cases) {
    fake::Harness t;
    if (!before.empty()) t.SetVariable("QZ_VAR", before);
    if (readFailure) t.registry.readFailures[kEnvKey + "QZ_VAR"] = *readFailure;
    t.dialogs.onShow = [&t](const Box&) { EXPECT_EQ(t.journal.back(), "unlock QZ_VAR"); };
    t.Run("ENV QZ_VAR AB");
    EXPECT_TRUE(t.registry.events.empty() && t.Variable("QZ_VAR") == (before.empty() ? "<absent>" : before)) << reason;
    ASSERT_EQ(t.Captions(), Strings{"Environment Variable"});
    EXPECT_EQ(t.dialogs.shown[0].text,
              std::string("The value was not added to the environment variable:|QZ_VAR||") + reason);
    EXPECT_TRUE(t.dialogs.shown[0].icon == Icon::Exclamation && t.svc.ExitCode() == kExitFailed);
  }
  // Without a name or a value, or without a write that reads back whole (the value is then put back): no box,
  // and a line for an installer's log.
  const std::string kNotChanged = "The environment variable was not changed: QZ_HOME: ";
  const std::tuple<const char*, const char*, bool, std::size_t, std::string> quiet[] = {
      // arguments, before (as SetVariable takes it; none: absent), writes refused, what the next write keeps, the line
      {"ENV", nullptr, false, std::string::npos, "ENV needs a variable name and a value."},
      {"ENV \"\" C:\\QZ", nullptr, false, std::string::npos, "ENV needs a variable name and a value."},
      {"UNENV QZ_HOME", nullptr, false, std::string::npos, "UNENV needs a variable name and a value."},
      {"ENV QZ_HOME C:\\QZ", nullptr, true, std::string::npos,
       kNotChanged + "Access is denied. /USER changes the current user's environment instead."},
      {"ENV QZ_HOME C:\\QZ", "S:C:\\A", false, 5, kNotChanged + "It did not read back as written."},
      {"UNENV QZ_HOME C:\\QZ", "X:C:\\A;C:\\QZ", false, 2, kNotChanged + "It did not read back as written."},
  };
  for (const auto& [arguments, before, failWrites, kept, note] : quiet) {
    fake::Harness t;
    if (before) t.SetVariable("QZ_HOME", before);
    t.registry.failWrites = failWrites;
    t.registry.keptChars = kept;
    t.Run(arguments);
    EXPECT_EQ(t.Variable("QZ_HOME"), before ? before : "<absent>") << arguments;
    EXPECT_TRUE(t.dialogs.shown.empty() && t.dialogs.notes == Strings{note}) << arguments;
    EXPECT_EQ(std::count(t.registry.events.begin(), t.registry.events.end(), "broadcast"), 0);
    EXPECT_EQ(t.svc.ExitCode(), note.find("needs") != std::string::npos ? kExitUsage : kExitFailed);
  }
}

// The "User Menus" entries of a harness with version 6 installed, from key 1 on; an empty one is a key left out.
struct Menu : fake::Installed {
  explicit Menu(const Strings& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (!entries[i].empty()) SetIni(kIdeIni, "User Menus", std::to_string(i + 1), entries[i]);
  }
  Strings List(int upTo) {
    Strings out;
    for (int i = 1; i <= upTo; ++i) out.push_back(Ini(kIdeIni, "User Menus", std::to_string(i)));
    return out;
  }
};

TEST(usermenu, adds_or_replaces_the_entry_and_rewrites_the_list_in_its_groups) {
  const std::string longEntry = std::string(400, 'L') + "|LONG";
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
      {{"&A|A", "&C|C", "", "&B|B"}, "USERMENU QZ &D qz.exe", {"&A|A", "&C|C", "&D|QZ", "&B|B"}},
      {{longEntry}, "USERMENU QZ M qz.exe", {longEntry, "M|QZ", "<absent>"}},  // a long entry is read whole
  };
  for (const auto& [before, arguments, after] : cases) {
    Menu t(before);
    t.Run(arguments);
    EXPECT_TRUE(t.List(static_cast<int>(after.size())) == after && t.dialogs.shown.empty()) << arguments;
  }
  const std::pair<const char*, const char*> commandLines[] = {
      {"USERMENU QZ M \"C:\\Program Files\\qz.exe\" a \"b c\" 6", "\"C:\\Program Files\\qz.exe\" a \"b c\""},
      {"USERMENU QZ M qz.exe -x+y 4", "<absent>"},  // version 4 has no installation here
      {"USERMENU QZ M qz.exe -x+y", "qz.exe -x y"}};
  for (auto [arguments, app] : commandLines) {  // the line as it stands: a command line in quotes keeps them
    Menu t({});
    t.Run(arguments);
    const std::string& bytes = t.files.contents[kIdeIni];
    const auto at = bytes.find("\nQZ=");
    EXPECT_EQ(at == std::string::npos ? "<absent>" : bytes.substr(at + 4, bytes.find('\r', at) - at - 4), app)
        << arguments;
  }
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

TEST(usermenu, keeps_every_byte_it_does_not_own) {
  Menu t({});
  t.files.contents[kIdeIni] = HandEditedIni(1005);  // past a list of a thousand
  t.Run("USERMENU QZ Zzz qz.exe");
  EXPECT_EQ(t.files.contents[kIdeIni], HandEditedIni(1005, "1006=Zzz|QZ\r\n", "QZ=qz.exe\r\n"));
}

}  // namespace
}  // namespace qz
