#include "notes/notes_window.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/help.h"
#include "text/pictures.h"
#include "text/text.h"

namespace qz {

namespace {

constexpr const char* kHelpKeyword = "QZCL Note/Version Log";
constexpr const char* kNotice = "Keeps the version and build of your project.";
constexpr int kTimerInterval = 100;  // hundredths of a second
constexpr int kCountdownTicks = 2;   // the window closes on the tick after these

struct NumberField {
  const char* picture;  // as the spin box shows it
  const char* stored;   // as the record keeps it
  double step, high;    // the spin box's arrows; its range starts at 0
  std::size_t width;
};

const NumberField& FieldFor(NotesControl control) {
  static const NumberField version{"n5.2", "n4.2", 0.01, 9.99, VersionRecord::kVersionWidth};
  static const NumberField build{"n04", "n04", 1, 9999, VersionRecord::kBuildWidth};
  return control == NotesControl::Version ? version : build;
}

// A text a numeric picture takes: digits with at most one point, blanks around them and "," between
// groups; blank counts as 0.
bool ParseNumber(std::string_view text, double& value) {
  std::string digits;
  bool point = false;
  const std::string trimmed = LeftJustify(text);
  for (char c : ClipView(trimmed)) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digits += c;
    } else if (c == '.' && !point) {
      point = true;
      digits += c;
    } else if (c != ',') {
      return false;
    }
  }
  value = digits.empty() || digits == "." ? 0 : NumberOf(digits);
  return true;
}

}  // namespace

bool NotesPresenter::Run() {
  ReadSettings(notes_, svc_);
  closing_ = false;
  // The window's own controls keep their texts: only the editor and the Please Wait window are translated.
  if (!view_.Open(*this)) return false;
  view_.ShowNotice(kNotice);
  view_.ShowPath(svc_.files.ShortPath(svc_.files.CurrentDirectory()));
  if (notes_.updatesOn) {
    view_.SetTimer(0);
  } else {
    SetUpdatesOff();
  }
  ShowStatus();
  LoadVersionFile(notes_, svc_);
  ShowStatus();
  Display();
  view_.Run();
  CloseVersionFile(notes_);
  return true;
}

void NotesPresenter::Display() {
  view_.SetText(NotesControl::Note, Clip(notes_.entry.note));
  for (NotesControl c : {NotesControl::Version, NotesControl::Build}) {
    const std::string& stored = c == NotesControl::Version ? notes_.entry.version : notes_.entry.build;
    view_.SetText(c, IsBlank(stored) ? "" : FormatNumber(NumberOf(stored), FieldFor(c).picture));
  }
  view_.SetChecked(NotesControl::OnOff, notes_.updatesOn);
  view_.SetChecked(NotesControl::AutoIncrement, notes_.autoIncrement);
  view_.SetText(NotesControl::FileName, notes_.fileName);
}

void NotesPresenter::ShowStatus() {
  view_.ShowStatus(1, FormatNumber(NumberOf(notes_.entry.version), "n04.2") + " " +
                          FormatNumber(NumberOf(notes_.entry.build), "n04"));
  view_.ShowStatus(2, notes_.fileName);
  // The setting read at opening, not later clicks on the box.
  view_.ShowStatus(3, notes_.autoAtOpening ? "Auto" : "Manual");
  view_.ShowVersion(std::string("Version: ") + kProgramVersion);
}

void NotesPresenter::SetUpdatesOff() {
  view_.Enable(NotesArea::VersionGroup, false);
  view_.Enable(NotesArea::Setup, false);
  view_.Enable(NotesArea::Buttons, false);
  notes_.entry.note = "Update is turned off";
  view_.SetTimer(kTimerInterval);
}

void NotesPresenter::SetUpdatesOn() {
  view_.Enable(NotesArea::VersionGroup, true);
  view_.Enable(NotesArea::Setup, true);
  notes_.entry.note.clear();
  view_.Enable(NotesArea::Buttons, true);
  view_.SetTimer(0);
}

// The version or build as typed; a text the picture rejects blanks the field.
bool NotesPresenter::TakeNumber(NotesControl control) {
  const NumberField& field = FieldFor(control);
  std::string& stored = control == NotesControl::Version ? notes_.entry.version : notes_.entry.build;
  double value = 0;
  if (!ParseNumber(view_.Text(control), value) || value > field.high) {
    stored.assign(field.width, ' ');
    Display();
    return false;
  }
  Store(control, value);
  return true;
}

void NotesPresenter::Store(NotesControl control, double value) {
  const NumberField& field = FieldFor(control);
  std::string& stored = control == NotesControl::Version ? notes_.entry.version : notes_.entry.build;
  stored = PadTo(FormatNumber(value, field.stored), field.width);
  view_.SetText(control, FormatNumber(value, field.picture));  // shown through its picture again
}

// What the fields hold now, as their Accepted events would have taken it.
void NotesPresenter::TakeFields() {
  notes_.entry.note = Cut(view_.Text(NotesControl::Note), VersionRecord::kNoteWidth);
  notes_.fileName = Cut(view_.Text(NotesControl::FileName), kFileNameMax);
  notes_.autoIncrement = view_.Checked(NotesControl::AutoIncrement);
  notes_.updatesOn = view_.Checked(NotesControl::OnOff);
}

void NotesPresenter::OnAccepted(NotesControl control) {
  switch (control) {
    case NotesControl::Note: notes_.entry.note = Cut(view_.Text(control), VersionRecord::kNoteWidth); break;
    case NotesControl::FileName: notes_.fileName = Cut(view_.Text(control), kFileNameMax); break;
    case NotesControl::AutoIncrement: notes_.autoIncrement = view_.Checked(control); break;
    case NotesControl::Version:
    case NotesControl::Build:
      if (TakeNumber(control)) ShowStatus();
      break;
    case NotesControl::OnOff:
      TakeFields();
      // Only a window that opened with updates off follows the box; otherwise Ok merely stores it.
      if (!notes_.updatesOnAtOpening) {
        if (notes_.updatesOn) {
          SetUpdatesOn();
        } else {
          SetUpdatesOff();
        }
      }
      Display();
      break;
    case NotesControl::Ok:
      TakeFields();
      if (!TakeNumber(NotesControl::Version) || !TakeNumber(NotesControl::Build)) break;
      closing_ = true;
      SaveEntry(notes_, svc_);
      Close();
      break;
    case NotesControl::Cancel:
      closing_ = true;
      RestoreLastEntry(notes_, svc_);
      Close();
      break;
    case NotesControl::Next: view_.ShowPage(2); break;
    case NotesControl::Back: view_.ShowPage(1); break;
  }
}

void NotesPresenter::OnSpin(NotesControl control, int steps) {
  // One step of the arrows from what the field shows, kept within the range.
  const NumberField& field = FieldFor(control);
  const double now = NumberOf(view_.Text(control));
  Store(control, std::clamp(std::round((now + steps * field.step) / field.step) * field.step, 0.0, field.high));
  ShowStatus();
}

void NotesPresenter::OnTimer() {
  if (notes_.updatesOn || closing_) return;
  if (++ticks_ <= kCountdownTicks) return;
  closing_ = true;
  // The project keeps a live Version equate: the entry that opening commented out comes back.
  RestoreLastEntry(notes_, svc_);
  Close();
}

void NotesPresenter::OnCloseRequest() {
  // The close box is Cancel, in every state.
  if (!closing_) {
    OnAccepted(NotesControl::Cancel);
    return;
  }
  Close();
}

void NotesPresenter::Close() {
  if (closed_) return;
  closed_ = true;
  view_.SetTimer(0);
  CloseVersionFile(notes_);
  view_.Close();
}

void NotesPresenter::OnHelp() { OpenHelp(svc_, kHelpKeyword); }

void OpenVersionNotes(Services& svc, NotesView* view) {
  if (!view || !NotesPresenter(svc, *view).Run())
    svc.Refused("QZCL", svc.tr("The notes window cannot open without a desktop."));
}

}  // namespace qz
