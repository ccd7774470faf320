// The version equate file and the notes window over fakes: whole lines only, the entry appended on Ok, the
// last entry made live again on Cancel, the close box and after the updates-off countdown.
#include <gtest/gtest.h>

#include "notes/notes_window.h"
#include "notes/version_file.h"
#include "text/text_list.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::FakeNotesView;
using N = NotesControl;
using fake::Strings;

const std::string kFile = "Version.qzi";
const std::string kLabel = "Version             ", kOut = "!Version            ";  // live and commented out
const char* const kAdded = "  ! 12/05/06 1030 --";
// A live line declaring version and build, and one commented out.
std::string Live(const char* versionBuild) { return kLabel + "EQUATE('" + versionBuild + "')"; }
std::string Out(const char* versionBuild) { return kOut + "EQUATE('" + versionBuild + "')"; }

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
  std::string Settings() { return Setting(kStatusSection, kOnKey) + Setting(kStatusSection, kAutoIncrementKey); }
  std::string& Bytes(const std::string& file = kFile) { return heldFile.files[file]; }
  Strings File() {
    const std::vector<std::string_view> lines = Lines(Bytes());
    return {lines.begin(), lines.end()};
  }
  VersionNotes notes{heldFile};
};

TEST(version_file, ok_appends_the_entry_byte_exact_with_the_build_from_the_last_line) {
  const struct {
    std::optional<std::string> file;                 // none: missing
    const char *autoIncrement, *ver, *build, *note;  // the last three as the window leaves them; nullptr: as loaded
    std::string line;
  } cases[] = {
      {Live("1.00  0001") + "\r\n", "1", nullptr, nullptr, "First", Live("1.00  0002") + kAdded + " First"},
      {std::nullopt, "1", nullptr, nullptr, "", Live("1.00  0001") + kAdded},
      {std::nullopt, "0", "2.5", "7", "x", Live("2.50  0007") + kAdded + " x"},
      {"", "1", "", "", "", Live("0.00  0000") + kAdded},
      {Live("1.00  0041") + "  ! 12/05/06 1030 -- a\r\n", "1", nullptr, nullptr, "", Live("1.00  0042") + kAdded},
      {Live("1.00  0041") + "\r\n", "0", nullptr, nullptr, "", Live("1.00  0041") + kAdded},
      {Live("1.20  9999") + "\r\n", "1", nullptr, nullptr, "", Live("1.20  1000") + kAdded},
      {Out("2.50  0007") + "\r\n", "1", nullptr, nullptr, "", Live("2.50  0008") + kAdded},  // a comment counts
      {"! just a note\r\n", "1", nullptr, nullptr, "", Live("0.00  0001") + kAdded},
  };
  for (const auto& c : cases) {
    Notes t;
    t.Set(kAutoIncrementKey, c.autoIncrement);
    t.Open(c.file && !c.file->empty() ? Live("9.00  0500") + "\r\n" + *c.file : c.file);
    if (c.ver) t.notes.entry.version = c.ver;
    if (c.build) t.notes.entry.build = c.build;
    t.notes.entry.note = c.note;
    SaveEntry(t.notes, t.svc);
    EXPECT_EQ(t.File().back(), c.line);
    EXPECT_TRUE(t.Bytes().ends_with("\r\n") && t.dialogs.shown.empty());
  }
}

// Live lines, a comment, lines shorter than the label or oddly ended, and a long hand-written line.
const std::string kLong = "Hand-written line of many words " + std::string(600, 'x');
const std::string kMixed = Live("1.00  0001") + " ! one\r\n! hand-written\r\n\r\nabc\n" + kLong + "\r\n";
const std::string kMixedOut =
    Out("1.00  0001") + " ! one\r\n! hand-written\r\n!Version\r\n!Version\n" + kOut + kLong.substr(20) + "\r\n";

// Opening comments out every live line and holds the file until closed; a kill at any write leaves whole lines.
TEST(version_file, opening_comments_out_every_live_line_and_a_kill_at_any_write_leaves_only_whole_lines) {
  const std::string file = kMixed + Live("1.00  0003"), after = kMixedOut + Out("1.00  0003");
  const std::vector<std::string_view> linesBefore = Lines(file), linesAfter = Lines(after);
  for (int kill = 0;; ++kill) {
    Notes t;
    t.heldFile.writesUntilKill = kill;
    t.Open(file);
    SaveEntry(t.notes, t.svc);
    const std::vector<std::string_view> lines = Lines(t.Bytes());
    ASSERT_GE(lines.size(), linesBefore.size());
    for (std::size_t i = 0; i < linesBefore.size(); ++i)
      EXPECT_TRUE(lines[i] == linesBefore[i] || lines[i] == linesAfter[i]) << "killed after " << kill << ": " << i;
    if (t.heldFile.writesUntilKill <= 0) continue;
    EXPECT_EQ(t.Bytes(), after + "\r\n" + Live("1.00  0004") + kAdded + "\r\n");  // every write landed
    EXPECT_EQ(t.heldFile.held, kFile);
    CloseVersionFile(t.notes);
    EXPECT_FALSE(t.heldFile.held);
    break;
  }
}

TEST(version_file, cancel_and_the_countdown_make_the_last_line_live_again_and_only_that_one) {
  for (const char* on : {"1", "0"}) {
    for (const std::string& last : {Live("1.00  0003"), Out("1.00  0003"), kLong}) {
      Notes t;
      t.Set(kOnKey, on);
      t.Open(kMixed + last + "\r\n");
      RestoreLastEntry(t.notes, t.svc);
      EXPECT_EQ(t.Bytes(), kMixedOut + kLabel + last.substr(20) + "\r\n");
    }
  }
  Notes empty;
  empty.Open("");
  RestoreLastEntry(empty.notes, empty.svc);
  EXPECT_TRUE(empty.heldFile.writes.empty());
  // When the last line cannot be read or rewritten, Cancel says so and changes nothing.
  const std::tuple<FileError, FileError, const char*> failures[] = {
      {FileError::AccessDenied, FileError::None, "Letzter Eintrag: Access Denied|Ptr: 42"},
      {FileError::None, FileError::FileSystem, "Error restoring last record: File System Error"}};
  for (auto [readError, writeError, text] : failures) {
    Notes t;
    t.translator.Init("", 0);
    t.translator.AddTranslation("Error getting last record", "Letzter Eintrag");
    t.Open(Live("1.00  0001") + "\r\n!Version\r\n");
    const std::string before = t.Bytes();
    t.heldFile.readError = readError;
    t.heldFile.writeError = writeError;
    RestoreLastEntry(t.notes, t.svc);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].text + "|" + t.Bytes(), text + ("|" + before));
  }
}

TEST(version_file, settings_default_to_on_another_file_name_is_remembered_and_a_held_file_is_left_alone) {
  Notes t;
  t.Bytes("Other.qzi") = Live("3.00  0009") + "\r\n";
  t.Open(Live("1.00  0001") + "\r\n");
  EXPECT_TRUE(t.notes.updatesOn && t.notes.autoIncrement);
  EXPECT_EQ(t.Setting(kFileNameSection, kFileNameKey), kFile);
  t.notes.updatesOn = false;
  t.notes.fileName = "Other.qzi";
  SaveEntry(t.notes, t.svc);
  EXPECT_EQ(t.Bytes(), Out("1.00  0001") + "\r\n");
  EXPECT_EQ(t.Bytes("Other.qzi"), Live("3.00  0009") + "\r\n" + Live("1.00  0002") + kAdded + "\r\n");
  EXPECT_EQ(t.Setting(kFileNameSection, kFileNameKey) + t.Settings(), "Other.qzi01");
  Notes held;  // by another program: left alone, and Ok says why
  held.Bytes() = Live("1.00  0007") + "\r\n";
  held.heldFile.openFailures[kFile] = FileError::SharingViolation;
  held.Open(std::nullopt);
  EXPECT_EQ(held.notes.entry.build, "0001");
  SaveEntry(held.notes, held.svc);
  ASSERT_EQ(held.Captions().size(), 1u);
  EXPECT_EQ(held.dialogs.shown[0].text + "|" + held.Bytes(), "Sharing Violation|" + Live("1.00  0007") + "\r\n");
}

// The window over a version file whose last entry is build 41 of version 1.20; script plays inside it.
struct Window : Notes {
  Window() { Bytes() = Live("1.00  0040") + "  ! 12/01/06 0900 -- older\r\n" + kLast + "\r\n"; }
  void Play(std::function<void(FakeNotesView&, NotesPresenter&)> script) {
    views.notesScript = [&](FakeNotesView& v, NotesEvents& e) {
      script(v, static_cast<NotesPresenter&>(e));
      shown = v;
    };
    OpenVersionNotes(svc, views.Notes().get());
  }
  const std::string kLast = Live("1.20  0041") + "  ! 12/04/06 0900 -- last";
  FakeNotesView shown;  // the window as the script left it
};

TEST(notes_window, shows_the_next_entry_and_enabling_updates_stops_the_countdown) {
  Window on;
  on.Set(kOnKey, "0");
  on.Play([](FakeNotesView& v, NotesPresenter& p) {
    EXPECT_EQ(v.texts[N::Version] + "|" + v.texts[N::Build] + "|" + v.status[1], " 1.20|0042|1.20 0042");
    for (int tick = 0; tick < 2; ++tick) p.OnTimer();
    v.Click(N::OnOff);
    EXPECT_TRUE(v.timer == 0 && v.texts[N::Note].empty() && v.enabled[NotesArea::VersionGroup] &&
                v.enabled[NotesArea::Setup] && v.enabled[NotesArea::Buttons]);
    p.OnTimer();
    EXPECT_TRUE(v.running);
    v.texts[N::Note] = "Fixed";
    v.texts[N::Version] = "1.3";
    p.OnAccepted(N::Version);
    EXPECT_EQ(v.status[1], "1.30 0042");
    p.OnAccepted(N::Ok);
  });
  EXPECT_EQ(on.File().back(), Live("1.30  0042") + kAdded + " Fixed");
  EXPECT_EQ(on.Settings(), "11");
}

TEST(notes_window, a_number_the_picture_rejects_blanks_the_field_and_the_close_box_restores_the_last_entry) {
  const std::tuple<N, const char*, const char*> cases[] = {// typed, shown
                                                           {N::Version, "abc", ""},      {N::Version, "10", ""},
                                                           {N::Version, "2.5", " 2.50"}, {N::Build, "12345", ""},
                                                           {N::Build, "1,234", "1234"},  {N::Build, "", "0000"}};
  Window t;
  t.Play([&cases](FakeNotesView& v, NotesPresenter& p) {
    for (auto [control, typed, shown] : cases) {
      v.texts[control] = typed;
      p.OnAccepted(control);
      EXPECT_EQ(v.texts[control], shown) << typed;
    }
    p.OnHelp();
    p.OnCloseRequest();
  });
  EXPECT_FALSE(t.shown.running);
  EXPECT_EQ(t.File(), (Strings{Out("1.00  0040") + "  ! 12/01/06 0900 -- older", t.kLast}));
  EXPECT_EQ(t.shell.helpPages, Strings{"file:///C:/QZCL/qzcl.html#QZCL%20Note/Version%20Log"});
}

}  // namespace
}  // namespace qz
