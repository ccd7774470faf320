// The base the commands stand on: the command line, display pictures, ReadIni and WriteIni, and the
// installation of the IDE named in WIN.INI.
#include <gtest/gtest.h>

#include "base/command_line.h"
#include "base/installation.h"
#include "text/pictures.h"
#include "platform/profile.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::kVersion6;
using fake::Strings;

TEST(command_line, splits_the_parameters_as_installers_write_them_and_takes_the_word_as_it_always_has) {
  const std::pair<std::string, Strings> cases[] = {
      {R"(qzcl.exe RUN "C:\Program Files\x.exe" a)", {"RUN", R"(C:\Program Files\x.exe)", "a"}},
      {"qzcl RED   Common    *.tpl  ", {"RED", "Common", "*.tpl"}},
      {R"(qzcl RUN "a b)", {"RUN", "a b"}},                        // unterminated quote: rest of the line
      {R"(qzcl "a b"c d)", {"a b", "c d"}},                        // text after a closing quote runs on
      {R"(qzcl x"y z")", {"y z"}},                                 // text before an opening quote is dropped
      {R"(qzcl RUN "" a)", {"RUN", "", "a"}},                      // empty quotes are an empty token
      {R"("C:\Program Files\qzcl.exe"   menu a)", {"menu", "a"}},  // quoted program name skipped
      {"qzcl", {}},
      {"qzcl RUN " + std::string(32000, 'x') + " tail", {"RUN", std::string(32000, 'x'), "tail"}},  // nothing is cut
  };
  for (const auto& [text, expected] : cases) {
    const CommandLine line(text);
    Strings tokens;
    for (int i = 0; i <= line.TokenCount() + 1; ++i) tokens.push_back(line.Token(i));
    EXPECT_EQ(Strings(tokens.begin() + 1, tokens.end() - 1), expected) << text;
    EXPECT_EQ(tokens.front() + tokens.back(), "");
  }
  // A comma ends the word, and so does a "/" that is not its first character (at the first it makes a switch, not a
  // word); quotes group and are dropped.
  const std::pair<const char*, const char*> words[] = {
      {"qzcl CMD,EXTRA", "CMD"},          {"qzcl EDIT/6", "EDIT"},  {"qzcl /EDIT", ""},
      {R"(qzcl "ed"it x)", "EDIT"},       {R"(qzcl a""b)", "A\"B"}, {"qzcl", ""},
      {"qzcl redirect a b c", "REDIRECT"}};
  for (auto [line, word] : words) EXPECT_EQ(CommandLine(line).Word(), word) << line;
}

// The pictures the version file and the backup names use.
TEST(pictures, show_numbers_dates_and_times_as_they_always_have) {
  const std::tuple<const char*, double, const char*> numbers[] = {
      {"n04", 2, "0002"},      {"n04", 9999, "9999"},    {"n04", 10000, "####"},       {"n04", -5, "-005"},
      {"n04", 41.5, "0042"},   {"@N04", 7, "0007"},      {"n4.2", 0.5, "0.50"},        {"n4.2", 9.999, "####"},
      {"n4.2", 1.005, "1.01"}, {"n4.2", -0.001, "0.00"}, {"n04.2", 0.07, "0.07"},      {"n5.2", 10, "10.00"},
      {"n4.", 1, ""},          {"s20", 1, ""},           {"n9.2", 1234.5, " 1,234.50"}};
  for (auto [picture, value, shown] : numbers) EXPECT_EQ(FormatNumber(value, picture), shown) << picture << value;
  const std::pair<LocalTime, const char*> times[] = {// d1, d11, t2 and t5; a date or time that does not exist
                                                     {{2000, 2, 29, 8, 5, 9}, "02/29/00 000229 0805 080509"},
                                                     {{2100, 2, 29, 24, 0, 0}, "                           "}};
  for (auto [t, shown] : times)
    EXPECT_EQ(
        FormatDate(t, "d1") + " " + FormatDate(t, "@D11") + " " + FormatTime(t, "t2") + " " + FormatTime(t, "@T5"),
        shown);
  const std::pair<const char*, double> texts[] = {{" 0041 ", 41}, {"1,234.5", 1234.5}, {"12ab", 0}, {"1e3", 0}};
  for (auto [text, value] : texts) EXPECT_DOUBLE_EQ(NumberOf(text), value) << text;
}

// ReadIni and WriteIni: names and values without their trailing blanks, a value cut to 1023 and a file name to 259.
TEST(ini, names_and_values_lose_trailing_blanks_and_are_cut_to_their_fixed_sizes) {
  fake::FakeProfile profile;
  const std::string file = std::string(255, 'f') + ".ini", value(1100, 'v');
  WriteIni(profile, file + "   ", "User Menus  ", "Menu 1 ", "C:\\LIBSRC   ");
  WriteIni(profile, file, "Long", "Value", value);
  EXPECT_EQ(profile.Value(file.substr(0, 259), "User Menus", "Menu 1"), "C:\\LIBSRC");
  EXPECT_EQ(ReadIni(profile, file, "User Menus  ", "Menu 1 ", ""), "C:\\LIBSRC");
  EXPECT_EQ(profile.Value(file.substr(0, 259), "Long", "Value"), value.substr(0, 1023));
  EXPECT_EQ(ReadIni(profile, file, "Long", "Missing", value + "   "), value.substr(0, 1023)) << "the default";
}

// Found through WIN.INI for the version codes of the list, or else named in the Entry Not Found box.
TEST(installation, is_found_through_win_ini_for_the_version_codes_of_the_list_or_named_as_missing) {
  const std::string kLong = "C:\\" + std::string(300, 'r');
  const char* const kEE55 = "Clarion 5.5  Enterprise Edition";
  const std::string kEE6 = "CW Version: 60|EE File: Clarion 6.0  Enterprise Edition|PE File: Clarion 6.0|Root: ";
  // The version, its WIN.INI section with the root (under rootKey) and ExeName, a redirection file that exists, and
  // what is found (the code, the root, the INI file, the redirection file) or what the box names as looked for.
  using Row = std::tuple<const char*, const char*, const char*, std::string, const char*, const char*, std::string>;
  const Row cases[] = {
      {"", kVersion6, "Root", "C:\\C6\\", "C60EE", "", "60 C:\\C6 C:\\C6\\BIN\\C60EE.ini. C:\\C6\\BIN\\C60PE.RED"},
      {"6", kVersion6, "Root", "C:\\C6", "C60EE", "C:\\C6\\BIN\\C60EE.RED",
       "60 C:\\C6 C:\\C6\\BIN\\C60EE.ini. C:\\C6\\BIN\\C60EE.RED"},
      // only the other edition's section has a Root: ExeName comes from it too
      {"6.1", "Clarion 6.0", "Root", "D:\\PE", "C60PE", "", "60 D:\\PE D:\\PE\\BIN\\C60PE.ini. D:\\PE\\BIN\\C60PE.RED"},
      {"5.5", kEE55, "Root", "C:\\C55", "C55EE", "C:\\C55\\BIN\\C55PE.RED",
       "55 C:\\C55 C:\\C55\\BIN\\C55EE.ini. C:\\C55\\BIN\\C55PE.RED"},
      {"55", "Clarion 5.5", "Root", "C:\\C55", "C55", "",
       "55 C:\\C55 C:\\C55\\BIN\\C55.ini. C:\\C55\\BIN\\CLARION5.RED"},
      {"2", "Clarion for Windows V2.0", "WorkDir", "C:\\CW20\\bin\\work", "CW", "",
       "20 C:\\CW20 C:\\CW20\\BIN\\CW.ini. C:\\CW20\\BIN\\Cw20.RED"},
      {"4", "Clarion 4", "Root", "E:\\C4\\\\", "CW4", "",
       "4 E:\\C4\\ E:\\C4\\\\BIN\\CW4.ini. E:\\C4\\\\BIN\\Clarion4.RED"},
      // a root far past 254 characters is taken whole
      {"6", kVersion6, "Root", kLong, "X", "",
       "60 " + kLong + " " + kLong + "\\BIN\\X.ini. " + kLong + "\\BIN\\C60PE.RED"},
      {"6", "", "", "", "", "", kEE6 + "|ExeName: "},
      {"6", kVersion6, "Root", "C:\\6", "", "", kEE6 + "C:\\6|ExeName: "},  // a root without ExeName
      {"5.5", "", "", "", "", "",
       "CW Version: 55|EE File: " + std::string(kEE55) + "|PE File: Clarion 5.5|Root: |ExeName: "},
      {"0", "", "", "", "", "",
       "CW Version: 0|EE File: |PE File: |Root: |ExeName: "},  // accepted by the list, in no row
  };
  for (const auto& [version, section, rootKey, root, exeName, existing, expected] : cases) {
    fake::Harness h;
    // The 6.1 row also has an ExeName, but no Root, in the Enterprise section: that edition is not installed.
    if (std::string_view(section) == "Clarion 6.0") h.profile.Write("", kVersion6, "ExeName", "X");
    if (*section) h.profile.Write("", section, rootKey, root);
    if (*exeName) h.profile.Write("", section, "ExeName", exeName);
    h.files.existing.insert(existing);
    const std::optional<Installation> ide = LocateInstallation(h.svc, VersionCode(version), "REG a.tpl 5.5");
    if (ide) {
      EXPECT_TRUE(h.dialogs.shown.empty()) << version;
      EXPECT_EQ(ide->version + " " + ide->root + " " + ide->iniFile + " " + ide->redFile, expected);
      continue;
    }
    ASSERT_EQ(h.Captions(), Strings{"Entry Not Found"}) << version;
    EXPECT_EQ(h.dialogs.shown[0].text,
              std::string("The QZ Command program looks for Clarion information in the WIN.INI file.|Required ") +
                  "information was not found.||Command was: REG a.tpl 5.5|" + expected);
    EXPECT_TRUE(h.dialogs.shown[0].icon == Icon::Information && h.dialogs.shown[0].buttons == Buttons::Ok);
    EXPECT_EQ(h.svc.ExitCode(), kExitFailed);
  }
}

TEST(where, prints_the_installation_of_a_version_or_of_each_for_an_installer_to_read) {
  const std::string six =
      "Root=C:\\C6\nExe=C:\\C6\\BIN\\C60EE.exe\nIni=C:\\C6\\BIN\\C60EE.ini\n"
      "Redirection=C:\\C6\\BIN\\C60PE.RED\nVersion=60";
  const std::string five =
      "Root=D:\\C55\nExe=D:\\C55\\BIN\\C55EE.exe\nIni=D:\\C55\\BIN\\C55EE.ini\n"
      "Redirection=D:\\C55\\BIN\\CLARION5.RED\nVersion=55";
  const std::tuple<const char*, int, std::string> cases[] = {
      {"WHERE", kExitSuccess, six},
      {"where 6.0", kExitSuccess, six},
      {"WHERE 55", kExitSuccess, five},
      {"WHERE *", kExitSuccess, six + "\n\n" + five},
      {"WHERE 7", kExitUsage, "This is not a version code (2, 4, 5, 55 or 6): 7"},  // not taken for 6 here
      {"WHERE 4", kExitFailed, "Entry Not Found"},
  };
  for (const auto& [arguments, exitCode, said] : cases) {
    fake::Harness h;
    h.InstallVersion6();
    h.profile.Write("", "Clarion 5.5  Enterprise Edition", "Root", "D:\\C55");
    h.profile.Write("", "Clarion 5.5  Enterprise Edition", "ExeName", "C55EE");
    h.Run(arguments);
    EXPECT_EQ(h.svc.ExitCode(), exitCode) << arguments;
    const Box* box = h.dialogs.shown.empty() ? nullptr : &h.dialogs.shown[0];
    EXPECT_EQ(!box ? h.dialogs.printed.at(0) : exitCode == kExitFailed ? box->caption : box->text, said) << arguments;
  }
  fake::Harness none;
  none.Run("WHERE *");
  EXPECT_TRUE(none.svc.ExitCode() == kExitFailed && none.dialogs.printed.empty());
}

}  // namespace
}  // namespace qz
