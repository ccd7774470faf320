#include <gtest/gtest.h>

#include "fakes/held_file.h"
#include "notes/version_file.h"
#include "runtime/text_list.h"
#include "unit/harness.h"

namespace qz {
namespace {

const std::string kFile = "Version.qzi";

struct Notes : fake::Harness {
  Notes() { clock.localTime = {2006, 12, 5, 10, 30, 0}; }
  // The window opening on a version file holding bytes (none: no such file).
  void Open(const char* bytes) {
    if (bytes) disk.files[kFile] = bytes;
    ReadSettings(notes, svc);
    LoadVersionFile(notes, svc);
  }
  void Set(const char* key, const char* value) { profile.Write(kNotesSettingsFile, kStatusSection, key, value); }
  std::string Setting(const char* section, const char* key) {
    const std::string* v = profile.Find(kNotesSettingsFile, section, key);
    return v ? *v : "<absent>";
  }
  void Translate(const char* text, const char* translation) {
    translator.Init("", 0);
    translator.AddTranslation(text, translation);
  }
  fake::FakeHeldFile disk;
  VersionNotes notes{disk};
};

TEST(version_file, ok_appends_the_entry_byte_exact) {
  struct Case {
    const char* file;  // nullptr: missing
    const char* autoIncrement;
    LocalTime now;
    const char *ver, *build, *note;  // as the window leaves them; nullptr: as loaded
    const char* line;
  } cases[] = {
      {"Version             EQUATE('1.00  0001')\r\n", "1", {2006, 12, 5, 10, 30, 0}, nullptr, nullptr,
       "First build", "Version             EQUATE('1.00  0002')  ! 12/05/06 1030 -- First build"},
      {nullptr, "1", {2007, 1, 9, 8, 5, 0}, nullptr, nullptr, "", "Version             EQUATE('1.00  0001')  ! 01/09/07 0805 --"},
      {nullptr, "0", {2007, 1, 9, 8, 5, 0}, "2.5", "7", "x", "Version             EQUATE('2.50  0007')  ! 01/09/07 0805 -- x"},
      {"", "1", {2006, 12, 5, 10, 30, 0}, "", "", "", "Version             EQUATE('0.00  0000')  ! 12/05/06 1030 --"},
  };
  for (const Case& c : cases) {
    Notes t;
    t.clock.localTime = c.now;
    t.Set(kAutoIncrementKey, c.autoIncrement);
    t.Open(c.file);
    if (c.ver) t.notes.entry.version = c.ver;
    if (c.build) t.notes.entry.build = c.build;
    t.notes.entry.note = c.note;
    SaveEntry(t.notes, t.svc);
    EXPECT_EQ(Lines(t.disk.files[kFile]).back(), c.line);
    EXPECT_EQ(t.disk.files[kFile].substr(t.disk.files[kFile].size() - 2), "\r\n");
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
}

TEST(version_file, build_comes_from_the_last_line_and_goes_up_with_auto_increment) {
  struct Case {
    const char *last, *autoIncrement;
    const char* build;  // the field the window shows
    const char* saved;  // version and build of the appended line
  } cases[] = {
      {"Version             EQUATE('1.00  0041')  ! 12/05/06 1030 -- a", "1", "42  ", "1.00  0042"},
      {"Version             EQUATE('1.00  0041')", "0", "41  ", "1.00  0041"},
      {"Version             EQUATE('1.20  9999')", "1", "1000", "1.20  1000"},
      {"!Version            EQUATE('2.50  0007')", "1", "8   ", "2.50  0008"},  // a comment counts too
      {"! just a note", "1", "1   ", "0.00  0001"},
  };
  for (const Case& c : cases) {
    Notes t;
    t.Set(kAutoIncrementKey, c.autoIncrement);
    t.Open(("Version             EQUATE('9.00  0500')\r\n" + std::string(c.last) + "\r\n").c_str());
    EXPECT_EQ(t.notes.entry.build, c.build) << c.last;
    SaveEntry(t.notes, t.svc);
    EXPECT_EQ(Lines(t.disk.files[kFile]).back().substr(28, 10), c.saved) << c.last;
  }
}

// Live lines, a comment, lines shorter than the label or oddly ended, and a long hand-written line.
const std::string kLong = "Hand-written line of many words " + std::string(600, 'x');
const std::string kMixed = "Version             EQUATE('1.00  0001')  ! 12/01/06 0900 -- one\r\n"
                           "! hand-written\r\n\r\nabc\n" + kLong + "\r\n";
const std::string kMixedCommentedOut = "!Version            EQUATE('1.00  0001')  ! 12/01/06 0900 -- one\r\n"
                                       "! hand-written\r\n!Version\r\n!Version\n!Version            " +
                                       kLong.substr(20) + "\r\n";

TEST(version_file, opening_comments_out_every_live_line_and_holds_the_file_until_closed) {
  Notes t;
  t.Open((kMixed + "Version             EQUATE('1.00  0003')").c_str());
  EXPECT_EQ(t.disk.files[kFile], kMixedCommentedOut + "!Version            EQUATE('1.00  0003')");
  EXPECT_EQ(t.disk.held, kFile);
  SaveEntry(t.notes, t.svc);
  EXPECT_EQ(Lines(t.disk.files[kFile]).back(), "Version             EQUATE('1.00  0004')  ! 12/05/06 1030 --");
  CloseVersionFile(t.notes);
  EXPECT_FALSE(t.disk.held);
}

TEST(version_file, cancel_and_the_countdown_make_the_last_line_live_again_and_only_that_one) {
  for (auto close : {RestoreLastEntry, RestoreAfterCountdown}) {
    for (const std::string& last : {std::string("Version             EQUATE('1.00  0003')"),
                                    std::string("!Version            EQUATE('1.00  0003')"), kLong}) {
      Notes t;
      t.Set(kOnKey, close == RestoreLastEntry ? "1" : "0");
      t.Open((kMixed + last + "\r\n").c_str());
      close(t.notes, t.svc);
      EXPECT_EQ(t.disk.files[kFile], kMixedCommentedOut + "Version             " + last.substr(20) + "\r\n");
    }
  }
  Notes empty;
  empty.Open("");
  RestoreLastEntry(empty.notes, empty.svc);
  EXPECT_TRUE(empty.disk.writes.empty());
}

TEST(version_file, cancel_that_cannot_read_or_rewrite_the_last_line_says_so_and_changes_nothing) {
  struct Case {
    FileError readError, writeError;
    const char* text;
  } cases[] = {
      {FileError::AccessDenied, FileError::None, "Letzter Eintrag: Access Denied|Ptr: 42"},
      {FileError::None, FileError::FileSystem, "Error restoring last record: File System Error"},
  };
  for (const Case& c : cases) {
    Notes t;
    t.Translate("Error getting last record", "Letzter Eintrag");
    t.Open("Version             EQUATE('1.00  0001')\r\n!Version\r\n");
    const std::string before = t.disk.files[kFile];
    t.disk.readError = c.readError;
    t.disk.writeError = c.writeError;
    RestoreLastEntry(t.notes, t.svc);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].text, c.text);
    EXPECT_EQ(t.disk.files[kFile], before);
  }
}

TEST(version_file, a_kill_at_any_write_leaves_only_whole_lines) {
  const std::string file = kMixed + "Version             EQUATE('1.00  0003')";
  const std::string commented = kMixedCommentedOut + "!Version            EQUATE('1.00  0003')";
  const std::vector<std::string_view> before = Lines(file), after = Lines(commented);
  for (int kill = 0;; ++kill) {
    Notes t;
    t.disk.writesUntilKill = kill;
    t.Open(file.c_str());
    SaveEntry(t.notes, t.svc);
    const std::vector<std::string_view> lines = Lines(t.disk.files[kFile]);
    ASSERT_GE(lines.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
      EXPECT_TRUE(lines[i] == before[i] || lines[i] == after[i]) << "killed after " << kill << ": " << lines[i];
    if (lines.size() > before.size()) {
      EXPECT_EQ(lines.back(), "Version             EQUATE('1.00  0004')  ! 12/05/06 1030 --");
    }
    if (t.disk.writesUntilKill > 0) break;  // every write landed
  }
}

TEST(version_file, ok_with_another_file_name_appends_there_and_remembers_it) {
  for (const char* other : {"", "Version             EQUATE('3.00  0009')\r\n"}) {
    Notes t;
    if (*other) t.disk.files["Other.qzi"] = other;
    t.Open("Version             EQUATE('1.00  0001')\r\n");
    t.notes.fileName = "Other.qzi";
    SaveEntry(t.notes, t.svc);
    EXPECT_EQ(t.disk.files[kFile], "!Version            EQUATE('1.00  0001')\r\n");
    EXPECT_EQ(t.disk.files["Other.qzi"],
              std::string(other) + "Version             EQUATE('1.00  0002')  ! 12/05/06 1030 --\r\n");
    EXPECT_EQ(t.Setting(kFileNameSection, kFileNameKey), "Other.qzi");
  }
}

TEST(version_file, settings_default_to_on_and_ok_stores_enable_updates_cleared) {
  Notes t;
  t.Open(nullptr);
  EXPECT_TRUE(t.notes.updatesOn);
  EXPECT_TRUE(t.notes.autoIncrement);
  EXPECT_EQ(t.Setting(kFileNameSection, kFileNameKey), kFile);
  t.notes.updatesOn = false;
  SaveEntry(t.notes, t.svc);
  EXPECT_EQ(t.Setting(kStatusSection, kOnKey), "0");
  EXPECT_EQ(t.Setting(kStatusSection, kAutoIncrementKey), "1");

  Notes next;
  next.profile = t.profile;
  next.Translate("Update is turned off!", "Aus!");
  ReadSettings(next.notes, next.svc);
  EXPECT_FALSE(next.notes.updatesOnAtOpening);
  EXPECT_EQ(next.notes.entry.note, "Aus!");
}

TEST(version_file, a_file_that_cannot_be_held_is_left_alone_and_ok_says_why) {
  Notes t;
  t.disk.files[kFile] = "Version             EQUATE('1.00  0007')\r\n";
  t.disk.openFailures[kFile] = FileError::SharingViolation;
  t.Open(nullptr);
  EXPECT_EQ(t.notes.entry.build, "0001");
  SaveEntry(t.notes, t.svc);
  ASSERT_EQ(t.dialogs.shown.size(), 1u);
  EXPECT_EQ(t.dialogs.shown[0].text, "Sharing Violation");
  EXPECT_EQ(t.disk.files[kFile], "Version             EQUATE('1.00  0007')\r\n");
}

}  // namespace
}  // namespace qz
