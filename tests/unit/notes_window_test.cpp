#include <gtest/gtest.h>

#include "notes/notes_window.h"
#include "runtime/text_list.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::FakeNotesView;
using N = NotesControl;

const char* const kOld =
    "Version             EQUATE('1.00  0040')  ! 12/01/06 0900 -- older\r\n"
    "Version             EQUATE('1.20  0041')  ! 12/04/06 0900 -- last\r\n";
const char* const kLastLive = "Version             EQUATE('1.20  0041')  ! 12/04/06 0900 -- last";
const char* const kLastOut = "!Version            EQUATE('1.20  0041')  ! 12/04/06 0900 -- last";

struct Notes : fake::Harness {
  Notes() {
    clock.localTime = {2006, 12, 5, 10, 30, 0};
    heldFile.files["Version.qzi"] = kOld;
  }
  void Setting(const char* key, const char* value) { profile.Write(".\\QZCL60.ini", "Status", key, value); }
  std::string Setting(const char* key) {
    const std::string* v = profile.Find(".\\QZCL60.ini", "Status", key);
    return v ? *v : "<absent>";
  }
  // Runs the window; script plays inside it as a person would.
  void Play(std::function<void(FakeNotesView&, NotesPresenter&)> script) {
    views.notesScript = [&](FakeNotesView& v, NotesEvents& e) {
      view = &v;
      script(v, static_cast<NotesPresenter&>(e));
      shown = v;
    };
    WorkLog(svc, views.Notes().get());
  }
  std::vector<std::string> File() {
    std::vector<std::string> out;
    for (std::string_view line : Lines(heldFile.files["Version.qzi"])) out.emplace_back(line);
    return out;
  }
  FakeNotesView* view = nullptr;
  FakeNotesView shown;  // the window as the script left it
};

TEST(notes_window, opens_with_the_next_entry_and_ok_appends_it) {
  Notes t;
  t.Play([](FakeNotesView& v, NotesPresenter& p) {
    EXPECT_EQ(v.texts[N::Version], " 1.20");
    EXPECT_EQ(v.texts[N::Build], "0042");
    EXPECT_EQ(v.status[1], "1.20 0042");
    EXPECT_EQ(v.status[2], "Version.qzi");
    EXPECT_EQ(v.status[3], "Auto");
    EXPECT_EQ(v.version, "Version: 6.40  0001");
    EXPECT_EQ(v.path, "C:\\WORK");
    EXPECT_EQ(v.timer, 0);
    EXPECT_TRUE(v.enabled.empty());  // nothing was disabled
    v.texts[N::Note] = "Fixed the report";
    v.texts[N::Version] = "1.3";
    p.OnAccepted(N::Version);
    EXPECT_EQ(v.status[1], "1.30 0042");
    p.OnAccepted(N::Ok);
    EXPECT_FALSE(v.running);
  });
  EXPECT_EQ(t.File(), (std::vector<std::string>{
                          "!Version            EQUATE('1.00  0040')  ! 12/01/06 0900 -- older", kLastOut,
                          "Version             EQUATE('1.30  0042')  ! 12/05/06 1030 -- Fixed the report"}));
  EXPECT_EQ(t.Setting("On"), "1");
  EXPECT_EQ(t.Setting("Auto Increment"), "1");
}

TEST(notes_window, cancel_and_the_close_box_make_the_last_entry_live_again) {
  for (bool closeBox : {false, true}) {
    Notes t;
    t.Play([closeBox](FakeNotesView&, NotesPresenter& p) {
      if (closeBox) {
        p.OnCloseRequest();
      } else {
        p.OnAccepted(N::Cancel);
      }
    });
    EXPECT_FALSE(t.shown.running);
    EXPECT_EQ(t.File().back(), kLastLive) << closeBox;
    EXPECT_EQ(t.File().size(), 2u);
  }
}

TEST(notes_window, updates_off_counts_down_and_closes_unless_enabled) {
  struct Case {
    int ticksBeforeEnabling;  // -1: never enabled
    bool closedByItself;
  };
  for (Case c : {Case{-1, true}, Case{2, false}}) {
    Notes t;
    t.Setting("On", "0");
    t.Play([c](FakeNotesView& v, NotesPresenter& p) {
      EXPECT_EQ(v.texts[N::Note], "Update is turned off");
      EXPECT_EQ(v.timer, 100);
      EXPECT_FALSE(v.enabled[NotesArea::VersionGroup] || v.enabled[NotesArea::Setup] || v.enabled[NotesArea::Buttons]);
      for (int tick = 0; tick < 3 && v.running; ++tick) {
        if (tick == c.ticksBeforeEnabling) {
          v.Click(N::OnOff);
          EXPECT_EQ(v.timer, 0);
          EXPECT_TRUE(v.enabled[NotesArea::VersionGroup] && v.enabled[NotesArea::Setup] && v.enabled[NotesArea::Buttons]);
          EXPECT_EQ(v.texts[N::Note], "");
        }
        p.OnTimer();
      }
      if (v.running) p.OnAccepted(N::Ok);
    });
    EXPECT_FALSE(t.shown.running);
    if (c.closedByItself) {
      // No entry, and the project keeps its live equate.
      EXPECT_EQ(t.File().size(), 2u);
      EXPECT_EQ(t.File().back(), kLastLive);
      EXPECT_EQ(t.Setting("On"), "0");
    } else {
      EXPECT_EQ(t.File().size(), 3u);
      EXPECT_EQ(t.Setting("On"), "1");
    }
  }
}

TEST(notes_window, clearing_updates_in_an_open_window_only_changes_what_ok_stores) {
  Notes t;
  t.Setting("Auto Increment", "0");
  t.Play([](FakeNotesView& v, NotesPresenter& p) {
    v.Click(N::OnOff);
    v.Click(N::AutoIncrement);
    EXPECT_TRUE(v.enabled.empty());
    EXPECT_EQ(v.timer, 0);
    EXPECT_EQ(v.status[3], "Manual");  // follows the setting read at opening
    EXPECT_EQ(v.texts[N::Build], "0041");
    p.OnAccepted(N::Ok);
  });
  EXPECT_EQ(t.File().size(), 3u);
  EXPECT_EQ(t.Setting("On"), "0");
  EXPECT_EQ(t.Setting("Auto Increment"), "1");
}

TEST(notes_window, a_number_the_picture_rejects_blanks_the_field) {
  struct Case {
    N control;
    const char* typed;
    const char* shown;
  } cases[] = {{N::Version, "abc", ""}, {N::Version, "10", ""},     {N::Version, "2.5", " 2.50"},
               {N::Build, "12345", ""}, {N::Build, "1,234", "1234"}, {N::Build, "", "0000"}};
  for (const Case& c : cases) {
    Notes t;
    t.Play([&c](FakeNotesView& v, NotesPresenter& p) {
      v.texts[c.control] = c.typed;
      p.OnAccepted(c.control);
      EXPECT_EQ(v.texts[c.control], c.shown) << c.typed;
      p.OnAccepted(N::Next);
      EXPECT_EQ(v.page, 2);
      p.OnHelp();
      p.OnAccepted(N::Cancel);
    });
    EXPECT_EQ(t.shell.opened.back(), "file:///C:/QZCL/qzcl.html#QZCL%20Note/Version%20Log");
  }
}

}  // namespace
}  // namespace qz
