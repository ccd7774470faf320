// The base the commands stand on: the command line, display pictures, list formats, text files of whole
// lines, and the installation of the IDE named in WIN.INI.
#include <gtest/gtest.h>

#include "base/command_line.h"
#include "base/installation.h"
#include "runtime/list_format.h"
#include "runtime/pictures.h"
#include "runtime/text_file.h"
#include "unit/harness.h"

namespace qz {
namespace {

using Strings = std::vector<std::string>;

TEST(command_line, splits_the_parameters_as_installers_write_them_and_takes_the_word_as_the_runtime_does) {
  const struct {
    std::string line;
    Strings tokens;
  } cases[] = {
      {R"(qzcl.exe RUN "C:\Program Files\x.exe" a)", {"RUN", R"(C:\Program Files\x.exe)", "a"}},
      {"qzcl RED   Common    *.tpl  ", {"RED", "Common", "*.tpl"}},
      {R"(qzcl RUN "a b)", {"RUN", "a b"}},                        // unterminated quote: rest of the line
      {R"(qzcl "a b"c d)", {"a b", "c d"}},                          // text after a closing quote runs on
      {R"(qzcl x"y z")", {"y z"}},                                    // text before an opening quote is dropped
      {R"(qzcl RUN "" a)", {"RUN", "", "a"}},                        // empty quotes are an empty token
      {"qzcl USERMENU QZ &Tools+Run-QZ qz.exe", {"USERMENU", "QZ", "&Tools+Run-QZ", "qz.exe"}},
      {R"("C:\Program Files\qzcl.exe"   menu a)", {"menu", "a"}},    // quoted program name skipped
      {"qzcl", {}},
      {"qzcl RUN " + std::string(300, 'x') + " tail", {"RUN", std::string(250, 'x')}},  // cut at 254 characters
  };
  for (const auto& c : cases) {
    const CommandLine line(c.line);
    Strings tokens;
    for (int i = 1; i <= line.TokenCount(); ++i) tokens.push_back(line.Token(i));
    EXPECT_EQ(tokens, c.tokens) << c.line;
    EXPECT_EQ(line.Token(0) + line.Token(line.TokenCount() + 1), "");
  }
  const std::pair<const char*, const char*> words[] = {
      {"qzcl redirect a b c", "REDIRECT"}, {"qzcl CMD,EXTRA", "CMD"},  // a comma ends a parameter
      {"qzcl EDIT/6", "EDIT"}, {"qzcl /EDIT", "/EDIT"},               // so does a "/" that is not its first character
      {R"(qzcl "ed"it x)", "EDIT"}, {R"(qzcl a""b)", "A\"B"},         // quotes group and are dropped, doubled give one
      {"qzcl", ""},
  };
  for (auto [line, word] : words) EXPECT_EQ(CommandLine(line).Word(), word) << line;
}

TEST(pictures, show_numbers_dates_and_times_as_the_runtime_does) {
  const struct {
    const char* picture;
    double value;
    const char* shown;
  } numbers[] = {
      {"n04", 2, "0002"},        {"n04", 9999, "9999"},       {"n04", 10000, "####"},      {"n04", -5, "-005"},          {"n04", 41.5, "0042"},
      {"@N04", 7, "0007"},       {"n4.2", 0.5, "0.50"},       {"n4.2", 9.999, "####"},      {"n4.2", 1.005, "1.01"},
      {"n4.2", -0.001, "0.00"},  {"n4.2", -1, "####"},        {"n04.2", 0.07, "0.07"},      {"n06.2", -3.5, "-03.50"},
      {"n5.2", 1, " 1.00"},      {"n5.2", 10, "10.00"},       {"n5.2", 100, "#####"},       {"n_3", 0, "  0"},
      {"n_3", 999, "999"},       {"n_3", 1000, "###"},
      {"n9.2", 1234.5, " 1,234.50"}, {"n7", -1234567, "#######"}, {"n10", -1234567, "-1,234,567"},
  };
  for (const auto& c : numbers) EXPECT_EQ(FormatNumber(c.value, c.picture), c.shown) << c.picture << " " << c.value;
  for (const char* other : {"", "n", "n_", "n0", "n4.", "n4.2x", "s20", "d1"}) EXPECT_EQ(FormatNumber(1, other), "");

  const struct {
    LocalTime t;
    const char* shown;  // d1, d11, t2 and t5
  } times[] = {
      {{2009, 1, 9, 0, 0, 0}, "01/09/09 090109 0000 000000"},
      {{2000, 2, 29, 23, 59, 59}, "02/29/00 000229 2359 235959"},
      {{2100, 2, 29, 24, 0, 0}, "                           "},  // neither exists
      {{2024, 13, 1, 9, 60, 0}, "                           "},
  };
  for (const auto& c : times)
    EXPECT_EQ(FormatDate(c.t, "d1") + " " + FormatDate(c.t, "@D11") + " " + FormatTime(c.t, "t2") + " " +
                  FormatTime(c.t, "@T5"),
              c.shown);
  EXPECT_EQ(FormatDate({2006, 1, 1}, "d2") + FormatTime({2006, 1, 1}, "d1"), "");

  const std::pair<const char*, double> texts[] = {{"0041", 41}, {" 41 ", 41},  {"9.99", 9.99}, {"-3", -3},
                                                  {"1,234.5", 1234.5}, {"    ", 0}, {"12ab", 0}, {"1e3", 0},
                                                  {"0x10", 0}};
  for (auto [text, value] : texts) EXPECT_DOUBLE_EQ(NumberOf(text), value) << text;
}

TEST(list_format, reads_columns_headers_pictures_and_fields) {
  // A translated header may hold what the format uses elsewhere; a column without a field still counts.
  auto columns = ParseListFormat("129L(2)|_M~Menu~@s80@#4#40R~Größe #1~@n_3@30C(4)~B~");
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].width, 129);
  EXPECT_EQ(columns[0].indent, 2);
  EXPECT_TRUE(columns[0].rightBorder && columns[0].underline && columns[0].resizable);
  EXPECT_EQ(columns[0].header, "Menu");
  EXPECT_EQ(StringPictureWidth(columns[0].picture), 80u);
  EXPECT_EQ(columns[0].field, 4);
  EXPECT_EQ(columns[1].header, "Größe #1");
  EXPECT_EQ(columns[1].align, 'R');
  EXPECT_EQ(StringPictureWidth(columns[1].picture), 0u);
  EXPECT_EQ(columns[2].indent, 4);
  EXPECT_EQ(columns[2].field, 0);
}

// A text file over a fake held file, which records every write.
struct Store {
  explicit Store(std::string bytes) {
    disk.files["f.txt"] = std::move(bytes);
    file.Open("f.txt");
  }
  std::size_t Written() const {
    std::size_t n = 0;
    for (const std::string& w : disk.writes) n += w.size();
    return n;
  }
  fake::FakeHeldFile disk;
  TextFile file{disk};
};

TEST(text_file, rewritten_lines_keep_their_ends_and_every_other_byte) {
  const struct {
    const char* before;
    std::vector<TextLine> edits;
    const char* after;
    std::vector<std::int64_t> positions;  // of the edited lines afterwards
  } cases[] = {
      {"a\r\n\r\nc\r\n", {{3, "!Version"}}, "a\r\n!Version\r\nc\r\n", {3}},  // longer
      {"abcdef\r\nz\r\n", {{0, "ab"}}, "ab    \r\nz\r\n", {0}},                   // shorter: padded in place
      {"a\nb\n", {{0, "!Version"}}, "!Version\nb\n", {0}},
      {"a\r\nb", {{3, "!Version"}}, "a\r\n!Version", {3}},
      {"a\r\nb\r\nc\r\n", {{0, "AA"}, {3, "b"}, {6, "CCC"}}, "AA\r\nb\r\nCCC\r\n", {0, 4, 7}},
      {"long one\r\nb\r\nc\r\n", {{0, "x"}, {10, "bb"}, {13, "c"}}, "x       \r\nbb\r\nc\r\n", {0, 10, 14}},
  };
  for (const auto& c : cases) {
    Store s(c.before);
    std::vector<TextLine> edits = c.edits;
    ASSERT_EQ(s.file.Rewrite(edits), FileError::None) << c.before;
    EXPECT_EQ(s.disk.files["f.txt"], c.after);
    std::vector<std::int64_t> positions;
    for (const TextLine& e : edits) positions.push_back(e.position);
    EXPECT_EQ(positions, c.positions) << c.before;
  }
}

TEST(text_file, writes_only_what_changes_in_one_write) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += "!Version  line " + std::to_string(i) + "\r\n";
  const std::string before = "!Version  line 999", last = "Version  last";
  const auto lastAt = static_cast<std::int64_t>(bytes.size());
  const auto beforeAt = lastAt - static_cast<std::int64_t>(before.size() + 2);
  bytes += last + "\r\n";
  const struct {
    std::vector<TextLine> edits;
    std::size_t written;
  } cases[] = {
      {{{lastAt, "!Version last"}}, last.size()},                                 // in place: the line alone
      {{{lastAt, last}}, 0},                                                      // unchanged: nothing
      {{{beforeAt, before}, {lastAt, "!Version last"}}, last.size()},             // the changed one only
      {{{beforeAt, "Version  line 99"}, {lastAt, "!Version last"}}, before.size() + 2 + last.size()},
      {{{lastAt, last + "!!"}}, last.size() + 4},                                 // longer: the line and its end
      {{{beforeAt, before + "!"}}, before.size() + 3 + last.size() + 2},          // longer: all lines after it
  };
  for (const auto& c : cases) {
    Store s(bytes);
    std::vector<TextLine> edits = c.edits;
    ASSERT_EQ(s.file.Rewrite(edits), FileError::None);
    EXPECT_EQ(s.Written(), c.written) << c.edits.front().text;
    EXPECT_LE(s.disk.writes.size(), 1u);
  }
}

TEST(text_file, refuses_a_position_that_starts_no_line_and_a_text_of_two_lines) {
  Store s("a\r\nbb\r\n");
  std::vector<TextLine> midLine{{4, "z"}}, beyond{{7, "z"}}, twoLines{{0, "x\ny"}};
  EXPECT_EQ(s.file.Rewrite(midLine), FileError::RecordNotAvailable);
  EXPECT_EQ(s.file.Rewrite(beyond), FileError::RecordNotAvailable);
  EXPECT_EQ(s.file.Rewrite(twoLines), FileError::InvalidData);
  EXPECT_EQ(s.file.Append("x\ny"), FileError::InvalidData);
  std::string text;
  EXPECT_EQ(s.file.ReadLine(4, text), FileError::RecordNotAvailable);
  EXPECT_TRUE(s.disk.writes.empty());
}

TEST(text_file, appends_with_cr_lf_in_one_write_never_joining_the_last_line) {
  const struct {
    const char *before, *after;
    std::int64_t position;
  } cases[] = {{"", "new\r\n", 0}, {"a\r\n", "a\r\nnew\r\n", 3}, {"a\n", "a\nnew\r\n", 2}, {"a", "a\r\nnew\r\n", 3}, {"a\r", "a\r\nnew\r\n", 3}};
  for (const auto& c : cases) {
    Store s(c.before);
    std::int64_t position = -1;
    ASSERT_EQ(s.file.Append("new", &position), FileError::None);
    EXPECT_EQ(s.disk.files["f.txt"], c.after) << c.before;
    EXPECT_EQ(position, c.position) << c.before;
    EXPECT_EQ(s.disk.writes.size(), 1u);
  }
}

TEST(installation, version_codes_are_those_of_the_list_and_default_to_6) {
  const struct {
    const char* text;
    bool accepted;
    const char* code;
  } cases[] = {{"", false, "6"},  {"6", true, "6"},     {"6.1", false, "6"}, {"2.0", false, "6"}, {"2", true, "2"},
               {"5.5", true, "5.5"}, {"55", true, "55"}, {"600", false, "6"}, {"6.2x", true, "6.2"}, {" 5", true, "5"},
               {"0", true, "0"}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsVersionCode(c.text), c.accepted) << c.text;
    EXPECT_EQ(VersionCode(c.text), c.code) << c.text;
  }
}

TEST(installation, is_found_through_win_ini) {
  const struct {
    const char* version;
    std::vector<std::array<const char*, 3>> winIni;  // section, entry, value
    const char* existing;
    const char *code, *root, *iniFile, *red;
  } cases[] = {
      {"", {{fake::kVersion6, "Root", "C:\\C6\\"}, {fake::kVersion6, "ExeName", "C60EE"}}, "", "60", "C:\\C6",
       "C:\\C6\\BIN\\C60EE.ini.", "C:\\C6\\BIN\\C60PE.RED"},
      {"6", {{fake::kVersion6, "Root", "C:\\C6"}, {fake::kVersion6, "ExeName", "C60EE"}}, "C:\\C6\\BIN\\C60EE.RED", "60",
       "C:\\C6", "C:\\C6\\BIN\\C60EE.ini.", "C:\\C6\\BIN\\C60EE.RED"},
      // only the other edition's section filled: ExeName comes from it too
      {"6.1", {{"Clarion 6.0", "Root", "D:\\PE"}, {"Clarion 6.0", "ExeName", "C60PE"}, {fake::kVersion6, "ExeName", "X"}},
       "", "60", "D:\\PE", "D:\\PE\\BIN\\C60PE.ini.", "D:\\PE\\BIN\\C60PE.RED"},
      {"5.5", {{"Clarion 5.5  Enterprise Edition", "Root", "C:\\C55"}, {"Clarion 5.5  Enterprise Edition", "ExeName", "C55EE"}},
       "C:\\C55\\BIN\\C55PE.RED", "55", "C:\\C55", "C:\\C55\\BIN\\C55EE.ini.", "C:\\C55\\BIN\\C55PE.RED"},
      {"55", {{"Clarion 5.5", "Root", "C:\\C55"}, {"Clarion 5.5", "ExeName", "C55"}}, "", "55", "C:\\C55",
       "C:\\C55\\BIN\\C55.ini.", "C:\\C55\\BIN\\CLARION5.RED"},
      {"2", {{"Clarion for Windows V2.0", "WorkDir", "C:\\CW20\\bin\\work"}, {"Clarion for Windows V2.0", "ExeName", "CW"}},
       "", "20", "C:\\CW20", "C:\\CW20\\BIN\\CW.ini.", "C:\\CW20\\BIN\\Cw20.RED"},
      {"4", {{"Clarion 4", "Root", "E:\\C4\\\\"}, {"Clarion 4", "ExeName", "CW4"}}, "", "4", "E:\\C4\\",
       "E:\\C4\\\\BIN\\CW4.ini.", "E:\\C4\\\\BIN\\Clarion4.RED"},
  };
  for (const auto& c : cases) {
    fake::Harness h;
    for (const auto& [section, entry, value] : c.winIni) h.profile.Write("", section, entry, value);
    h.files.existing.insert(c.existing);
    const std::optional<Installation> ide = LocateInstallation(h.svc, VersionCode(c.version), "");
    ASSERT_TRUE(ide) << c.version;
    EXPECT_EQ(Strings({ide->version, ide->root, ide->iniFile, ide->redFile}), Strings({c.code, c.root, c.iniFile, c.red}));
    EXPECT_TRUE(h.dialogs.shown.empty()) << c.version;
  }
}

TEST(installation, that_is_missing_is_named_in_the_entry_not_found_box) {
  const struct {
    const char* version;
    bool withRoot;  // root found, no ExeName
    const char* looked;
  } cases[] = {
      {"6", false, "CW Version: 60|EE File: Clarion 6.0  Enterprise Edition|PE File: Clarion 6.0|Root: |ExeName: "},
      {"6", true, "CW Version: 60|EE File: Clarion 6.0  Enterprise Edition|PE File: Clarion 6.0|Root: C:\\C6|ExeName: "},
      {"5.5", false, "CW Version: 55|EE File: Clarion 5.5  Enterprise Edition|PE File: Clarion 5.5|Root: |ExeName: "},
      {"0", false, "CW Version: 0|EE File: |PE File: |Root: |ExeName: "},  // accepted by the list, in no row
  };
  for (const auto& c : cases) {
    fake::Harness h;
    if (c.withRoot) h.profile.Write("", fake::kVersion6, "Root", "C:\\C6");
    EXPECT_FALSE(LocateInstallation(h.svc, VersionCode(c.version), "REG a.tpl 5.5"));
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    const Box& box = h.dialogs.shown[0];
    EXPECT_EQ(box.caption, "Entry Not Found");
    EXPECT_EQ(box.text,
              std::string("The QZ Command program looks for Clarion information in the WIN.INI file.|Required "
                          "information was not found.||Command was: REG a.tpl 5.5|") + c.looked);
    EXPECT_EQ(box.icon, Icon::Information);
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_EQ(h.svc.ExitCode(), kExitFailed);
  }
}

}  // namespace
}  // namespace qz
