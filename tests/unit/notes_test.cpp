// The version equate file and the notes window over fakes: whole lines only, the entry appended on Ok, the
// last entry made live again on Cancel and after the updates-off countdown.
#include <gtest/gtest.h>

#include "notes/notes_window.h"
#include "notes/version_file.h"
#include "runtime/text_list.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::FakeNotesView;
using N = NotesControl;
using Strings = std::vector<std::string>;

const std::string kFile = "Version.qzi";
const char* const kLive = "Version             EQUATE('1.00  0003')";

struct Notes : fake::Harness {
  Notes() { clock.localTime = {2006, 12, 5, 10, 30, 0}; }
  // The window opening on a version file holding bytes (none: no such file).
  void Open(const std::optional<std::string>& bytes) {
    if (bytes) heldFile.files[kFile] = *bytes;
    ReadSettings(notes, svc);
    LoadVersionFile(notes, svc);
  }
  void Set(const char* key, const char* value) { profile.Write(kNotesSettingsFile, kStatusSection, key, value); }
  std::string Setting(const char* section, const char* key) { return profile.Value(kNotesSettingsFile, section, key); }
  void Translate(const char* text, const char* translation) {
    translator.Init("", 0);
    translator.AddTranslation(text, translation);
  }
  std::string& Bytes(const std::string& file = kFile) { return heldFile.files[file]; }
  Strings File() {
    Strings out;
    for (std::string_view line : Lines(Bytes())) out.emplace_back(line);
    return out;
  }
  VersionNotes notes{heldFile};
};

TEST(version_file, ok_appends_the_entry_byte_exact_with_the_build_from_the_last_line) {
  const struct {
    std::optional<std::string> file;  // none: missing
    const char* autoIncrement;
    LocalTime now;
    const char *ver, *build, *note;  // as the window leaves them; nullptr: as loaded
    const char* line;
  } cases[] = {
      {"Version             EQUATE('1.00  0001')\r\n", "1", {2006, 12, 5, 10, 30, 0}, nullptr, nullptr, "First build",
       "Version             EQUATE('1.00  0002')  ! 12/05/06 1030 -- First build"},
      {std::nullopt, "1", {2007, 1, 9, 8, 5, 0}, nullptr, nullptr, "", "Version             EQUATE('1.00  0001')  ! 01/09/07 0805 --"},
      {std::nullopt, "0", {2007, 1, 9, 8, 5, 0}, "2.5", "7", "x", "Version             EQUATE('2.50  0007')  ! 01/09/07 0805 -- x"},
      {"", "1", {2006, 12, 5, 10, 30, 0}, "", "", "", "Version             EQUATE('0.00  0000')  ! 12/05/06 1030 --"},
  };
  for (const auto& c : cases) {
    Notes t;
    t.clock.localTime = c.now;
    t.Set(kAutoIncrementKey, c.autoIncrement);
    t.Open(c.file);
    if (c.ver) t.notes.entry.version = c.ver;
    if (c.build) t.notes.entry.build = c.build;
    t.notes.entry.note = c.note;
    SaveEntry(t.notes, t.svc);
    EXPECT_EQ(t.File().back(), c.line);
    EXPECT_EQ(t.Bytes().substr(t.Bytes().size() - 2), "\r\n");
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
  const struct {
    const char *last, *autoIncrement;
    const char* build;  // the field the window shows
    const char* saved;  // version and build of the appended line
  } builds[] = {
      {"Version             EQUATE('1.00  0041')  ! 12/05/06 1030 -- a", "1", "42  ", "1.00  0042"},
      {"Version             EQUATE('1.00  0041')", "0", "41  ", "1.00  0041"},
      {"Version             EQUATE('1.20  9999')", "1", "1000", "1.20  1000"},
      {"!Version            EQUATE('2.50  0007')", "1", "8   ", "2.50  0008"},  // a comment counts too
      {"! just a note", "1", "1   ", "0.00  0001"},
  };
  for (const auto& c : builds) {
    Notes t;
    t.Set(kAutoIncrementKey, c.autoIncrement);
    t.Open("Version             EQUATE('9.00  0500')\r\n" + std::string(c.last) + "\r\n");
    EXPECT_EQ(t.notes.entry.build, c.build) << c.last;
    SaveEntry(t.notes, t.svc);
    EXPECT_EQ(t.File().back().substr(28, 10), c.saved) << c.last;
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
  t.Open(kMixed + kLive);
  EXPECT_EQ(t.Bytes(), kMixedCommentedOut + "!" + std::string(kLive).erase(19, 1));
  EXPECT_EQ(t.heldFile.held, kFile);
  SaveEntry(t.notes, t.svc);
  EXPECT_EQ(t.File().back(), "Version             EQUATE('1.00  0004')  ! 12/05/06 1030 --");
  CloseVersionFile(t.notes);
  EXPECT_FALSE(t.heldFile.held);
}

TEST(version_file, cancel_and_the_countdown_make_the_last_line_live_again_and_only_that_one) {
  for (auto close : {RestoreLastEntry, RestoreAfterCountdown}) {
    for (const std::string& last : {std::string(kLive), std::string("!Version            EQUATE('1.00  0003')"), kLong}) {
      Notes t;
      t.Set(kOnKey, close == RestoreLastEntry ? "1" : "0");
      t.Open(kMixed + last + "\r\n");
      close(t.notes, t.svc);
      EXPECT_EQ(t.Bytes(), kMixedCommentedOut + "Version             " + last.substr(20) + "\r\n");
    }
  }
  Notes empty;
  empty.Open("");
  RestoreLastEntry(empty.notes, empty.svc);
  EXPECT_TRUE(empty.heldFile.writes.empty());
  // When the last line cannot be read or rewritten, Cancel says so and changes nothing.
  const struct {
    FileError readError, writeError;
    const char* text;
  } failures[] = {
      {FileError::AccessDenied, FileError::None, "Letzter Eintrag: Access Denied|Ptr: 42"},
      {FileError::None, FileError::FileSystem, "Error restoring last record: File System Error"},
  };
  for (const auto& c : failures) {
    Notes t;
    t.Translate("Error getting last record", "Letzter Eintrag");
    t.Open("Version             EQUATE('1.00  0001')\r\n!Version\r\n");
    const std::string before = t.Bytes();
    t.heldFile.readError = c.readError;
    t.heldFile.writeError = c.writeError;
    RestoreLastEntry(t.notes, t.svc);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].text, c.text);
    EXPECT_EQ(t.Bytes(), before);
  }
}

TEST(version_file, a_kill_at_any_write_leaves_only_whole_lines) {
  const std::string file = kMixed + kLive;
  const std::string commented = kMixedCommentedOut + "!" + std::string(kLive).erase(19, 1);
  const std::vector<std::string_view> before = Lines(file), after = Lines(commented);
  for (int kill = 0;; ++kill) {
    Notes t;
    t.heldFile.writesUntilKill = kill;
    t.Open(file);
    SaveEntry(t.notes, t.svc);
    const std::vector<std::string_view> lines = Lines(t.Bytes());
    ASSERT_GE(lines.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
      EXPECT_TRUE(lines[i] == before[i] || lines[i] == after[i]) << "killed after " << kill << ": " << lines[i];
    if (lines.size() > before.size()) {
      EXPECT_EQ(lines.back(), "Version             EQUATE('1.00  0004')  ! 12/05/06 1030 --");
    }
    if (t.heldFile.writesUntilKill > 0) break;  // every write landed
  }
}

TEST(version_file, ok_with_another_file_name_appends_there_and_remembers_it) {
  for (const char* other : {"", "Version             EQUATE('3.00  0009')\r\n"}) {
    Notes t;
    if (*other) t.Bytes("Other.qzi") = other;
    t.Open("Version             EQUATE('1.00  0001')\r\n");
    t.notes.fileName = "Other.qzi";
    SaveEntry(t.notes, t.svc);
    EXPECT_EQ(t.Bytes(), "!Version            EQUATE('1.00  0001')\r\n");
    EXPECT_EQ(t.Bytes("Other.qzi"), std::string(other) + "Version             EQUATE('1.00  0002')  ! 12/05/06 1030 --\r\n");
    EXPECT_EQ(t.Setting(kFileNameSection, kFileNameKey), "Other.qzi");
  }
}

TEST(version_file, settings_default_to_on_and_a_file_that_cannot_be_held_is_left_alone) {
  Notes t;
  t.Open(std::nullopt);
  EXPECT_TRUE(t.notes.updatesOn && t.notes.autoIncrement);
  EXPECT_EQ(t.Setting(kFileNameSection, kFileNameKey), kFile);
  t.notes.updatesOn = false;
  SaveEntry(t.notes, t.svc);
  EXPECT_EQ(t.Setting(kStatusSection, kOnKey) + t.Setting(kStatusSection, kAutoIncrementKey), "01");
  Notes next;
  next.profile = t.profile;
  next.Translate("Update is turned off!", "Aus!");
  ReadSettings(next.notes, next.svc);
  EXPECT_FALSE(next.notes.updatesOnAtOpening);
  EXPECT_EQ(next.notes.entry.note, "Aus!");

  Notes held;  // by another program: left alone, and Ok says why
  held.Bytes() = "Version             EQUATE('1.00  0007')\r\n";
  held.heldFile.openFailures[kFile] = FileError::SharingViolation;
  held.Open(std::nullopt);
  EXPECT_EQ(held.notes.entry.build, "0001");
  SaveEntry(held.notes, held.svc);
  ASSERT_EQ(held.dialogs.shown.size(), 1u);
  EXPECT_EQ(held.dialogs.shown[0].text + "|" + held.Bytes(), "Sharing Violation|Version             EQUATE('1.00  0007')\r\n");
}

const char* const kOld =
    "Version             EQUATE('1.00  0040')  ! 12/01/06 0900 -- older\r\n"
    "Version             EQUATE('1.20  0041')  ! 12/04/06 0900 -- last\r\n";
const char* const kLastLive = "Version             EQUATE('1.20  0041')  ! 12/04/06 0900 -- last";

// The window over the version file kOld; script plays inside it as a person would.
struct Window : Notes {
  Window() { Bytes() = kOld; }
  void Play(std::function<void(FakeNotesView&, NotesPresenter&)> script) {
    views.notesScript = [&](FakeNotesView& v, NotesEvents& e) {
      script(v, static_cast<NotesPresenter&>(e));
      shown = v;
    };
    WorkLog(svc, views.Notes().get());
  }
  FakeNotesView shown;  // the window as the script left it
};

TEST(notes_window, opens_with_the_next_entry_and_ok_appends_it) {
  Window t;
  t.Play([](FakeNotesView& v, NotesPresenter& p) {
    EXPECT_EQ(v.texts[N::Version] + "|" + v.texts[N::Build], " 1.20|0042");
    EXPECT_EQ(Strings({v.status[1], v.status[2], v.status[3]}), Strings({"1.20 0042", "Version.qzi", "Auto"}));
    EXPECT_EQ(v.timer, 0);
    EXPECT_TRUE(v.enabled.empty());  // nothing was disabled
    v.texts[N::Note] = "Fixed the report";
    v.texts[N::Version] = "1.3";
    p.OnAccepted(N::Version);
    EXPECT_EQ(v.status[1], "1.30 0042");
    p.OnAccepted(N::Ok);
  });
  EXPECT_FALSE(t.shown.running);
  EXPECT_EQ(t.File().back(), "Version             EQUATE('1.30  0042')  ! 12/05/06 1030 -- Fixed the report");
  EXPECT_EQ(t.Setting(kStatusSection, kOnKey) + t.Setting(kStatusSection, kAutoIncrementKey), "11");
}

TEST(notes_window, enabling_updates_stops_the_countdown_and_clearing_them_only_changes_what_ok_stores) {
  Window on;
  on.Set(kOnKey, "0");
  on.Play([](FakeNotesView& v, NotesPresenter& p) {
    p.OnTimer();
    p.OnTimer();
    v.Click(N::OnOff);
    EXPECT_EQ(v.timer, 0);
    EXPECT_TRUE(v.enabled[NotesArea::VersionGroup] && v.enabled[NotesArea::Setup] && v.enabled[NotesArea::Buttons]);
    EXPECT_EQ(v.texts[N::Note], "");
    p.OnTimer();
    EXPECT_TRUE(v.running);
    p.OnAccepted(N::Ok);
  });
  EXPECT_EQ(on.File().size(), 3u);
  EXPECT_EQ(on.Setting(kStatusSection, kOnKey), "1");

  Window off;
  off.Set(kAutoIncrementKey, "0");
  off.Play([](FakeNotesView& v, NotesPresenter& p) {
    v.Click(N::OnOff);
    v.Click(N::AutoIncrement);
    EXPECT_TRUE(v.enabled.empty());
    EXPECT_EQ(v.timer, 0);
    EXPECT_EQ(v.status[3], "Manual");  // follows the setting read at opening
    EXPECT_EQ(v.texts[N::Build], "0041");
    p.OnAccepted(N::Ok);
  });
  EXPECT_EQ(off.File().size(), 3u);
  EXPECT_EQ(off.Setting(kStatusSection, kOnKey) + off.Setting(kStatusSection, kAutoIncrementKey), "01");
}

TEST(notes_window, a_number_the_picture_rejects_blanks_the_field_and_the_close_box_restores_the_last_entry) {
  const struct {
    N control;
    const char *typed, *shown;
  } cases[] = {{N::Version, "abc", ""}, {N::Version, "10", ""},      {N::Version, "2.5", " 2.50"},
               {N::Build, "12345", ""}, {N::Build, "1,234", "1234"}, {N::Build, "", "0000"}};
  Window t;
  t.Play([&cases](FakeNotesView& v, NotesPresenter& p) {
    for (const auto& c : cases) {
      v.texts[c.control] = c.typed;
      p.OnAccepted(c.control);
      EXPECT_EQ(v.texts[c.control], c.shown) << c.typed;
    }
    p.OnAccepted(N::Next);
    EXPECT_EQ(v.page, 2);
    p.OnHelp();
    p.OnCloseRequest();
  });
  EXPECT_FALSE(t.shown.running);
  EXPECT_EQ(t.File(), (Strings{"!Version            EQUATE('1.00  0040')  ! 12/01/06 0900 -- older", kLastLive}));
  EXPECT_EQ(t.shell.opened, Strings{"file:///C:/QZCL/qzcl.html#QZCL%20Note/Version%20Log"});
}

}  // namespace
}  // namespace qz
