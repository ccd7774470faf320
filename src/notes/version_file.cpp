#include "notes/version_file.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "app/ini.h"
#include "runtime/pictures.h"
#include "runtime/text.h"

namespace qz {

namespace {

constexpr const char* kLive = "Version";
constexpr const char* kCommentedOut = "!Version";

// A setting read as a number into a one-byte field.
std::uint8_t ByteOf(std::string_view text) {
  const double value = NumberOf(text);
  if (!(std::fabs(value) < 1e18)) return 0;
  return static_cast<std::uint8_t>(static_cast<long long>(value) & 0xFF);
}

// The line with label in its first 20 columns. The rest of the line is kept whole, even past the record's
// 241 characters, so that relabelling a long hand-written line never loses its end.
std::string Relabelled(std::string_view line, const char* label) {
  std::string text = PadTo(label, VersionRecord::kLabelWidth);
  if (line.size() > VersionRecord::kLabelWidth) text += line.substr(VersionRecord::kLabelWidth);
  return Clip(text);
}

// A runtime message box: nothing but its text.
void Say(Services& svc, std::string text) {
  Box box;
  box.text = std::move(text);
  box.icon = Icon::None;
  box.outcome = Outcome::Error;
  svc.Show(box);
}

// Opens FILENAME for updating, creating it first when it cannot be opened. A failure is not shown here:
// the reads that follow find nothing, and an append says why.
void OpenVersionFile(VersionNotes& notes) {
  const std::string name = Clip(notes.FILENAME);
  notes.openError = notes.file.Open(name);
  if (notes.openError == FileError::None) return;
  notes.file.Create(name);
  notes.openError = notes.file.Open(name);
}

// The number's decimal text, as the build field takes it: 10000 and not 1e+04.
std::string DecimalText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

}  // namespace

VersionRecord VersionRecord::FromLine(std::string_view line) {
  const std::string padded = PadTo(line, kWidth);
  std::size_t at = 0;
  auto next = [&](std::size_t width) {
    std::string field = padded.substr(at, width);
    at += width;
    return field;
  };
  VersionRecord r;
  r.LABEL = next(kLabelWidth);
  r.LP = next(kLpWidth);
  r.VER = next(kVerWidth);
  r.SP = next(kSpWidth);
  r.BUILD = next(kBuildWidth);
  r.RP = next(kRpWidth);
  r.ADDED = next(kAddedWidth);
  r.NOTE = next(kNoteWidth);
  return r;
}

std::string VersionRecord::Line() const {
  return Clip(PadTo(LABEL, kLabelWidth) + PadTo(LP, kLpWidth) + PadTo(VER, kVerWidth) + PadTo(SP, kSpWidth) +
              PadTo(BUILD, kBuildWidth) + PadTo(RP, kRpWidth) + PadTo(ADDED, kAddedWidth) + PadTo(NOTE, kNoteWidth));
}

void ReadSettings(VersionNotes& notes, Services& svc) {
  notes.ONOFF = ByteOf(GETINI(svc.profile, kStatusSection, kOnKey, "1", kNotesSettingsFile));
  if (notes.ONOFF == 0) notes.VER.NOTE = svc.tr("Update is turned off!");
  notes.updatesOnAtOpening = notes.ONOFF;
  notes.AUTOINCREMENT = ByteOf(GETINI(svc.profile, kStatusSection, kAutoIncrementKey, "1", kNotesSettingsFile));
  notes.autoAtOpening = notes.AUTOINCREMENT;
  notes.FILENAME = Cut(GETINI(svc.profile, kFileNameSection, kFileNameKey, "", kNotesSettingsFile), kFileNameMax);
  if (IsBlank(notes.FILENAME)) {
    notes.FILENAME = kDefaultVersionFile;
    PUTINI(svc.profile, kFileNameSection, kFileNameKey, kDefaultVersionFile, kNotesSettingsFile);
  }
  notes.startingFileName = notes.FILENAME;
}

void LoadVersionFile(VersionNotes& notes, Services& svc) {
  OpenVersionFile(notes);
  notes.lastPosition.reset();
  notes.VER = VersionRecord::FromLine("");

  std::vector<TextLine> lines;
  if (notes.file.ReadLines(lines) != FileError::None || lines.empty()) {
    notes.VER.VER = PadTo("1.00", VersionRecord::kVerWidth);
    notes.VER.BUILD = "0001";
  } else {
    std::vector<TextLine> edits;
    for (const TextLine& line : lines)
      if (line.text.empty() || line.text.front() != '!')
        edits.push_back({line.position, Relabelled(line.text, kCommentedOut)});
    // The last line goes along unchanged when it is a comment already: the rewrite says where it ends up
    // when a line before it grows.
    if (edits.empty() || edits.back().position != lines.back().position) edits.push_back(lines.back());
    if (FileError e = notes.file.Rewrite(edits); e != FileError::None) Say(svc, std::string(ErrorText(e)));
    notes.lastPosition = edits.back().position;

    notes.VER = VersionRecord::FromLine(lines.back().text);
    double build = NumberOf(notes.VER.BUILD);
    if (notes.AUTOINCREMENT) build += 1;
    notes.VER.BUILD = PadTo(DecimalText(build), VersionRecord::kBuildWidth);
  }

  const LocalTime now = svc.clock.Now();
  notes.VER.LABEL = PadTo(kLive, VersionRecord::kLabelWidth);
  notes.VER.LP = "EQUATE('";
  notes.VER.RP = PadTo("')", VersionRecord::kRpWidth);
  notes.VER.ADDED = PadTo(" ! " + FormatDate(now, "d1") + " " + FormatTime(now, "t2") + " -- ",
                          VersionRecord::kAddedWidth);
  notes.VER.NOTE = notes.ONOFF == 0 ? "Update is turned off" : "";
}

void SaveEntry(VersionNotes& notes, Services& svc) {
  notes.VER.BUILD = FormatNumber(NumberOf(notes.VER.BUILD), "n04");
  notes.VER.VER = FormatNumber(NumberOf(notes.VER.VER), "n4.2");
  notes.VER.SP.assign(1, ' ');

  const std::string name = Clip(notes.FILENAME);
  if (!name.empty() && name != Clip(notes.startingFileName)) {
    notes.file.Close();
    PUTINI(svc.profile, kFileNameSection, kFileNameKey, name, kNotesSettingsFile);
    OpenVersionFile(notes);  // the new file's own lines stay as they are
  }

  FileError e = notes.file.IsOpen() ? notes.file.Append(notes.VER.Line()) : notes.openError;
  if (e == FileError::None && !notes.file.IsOpen()) e = FileError::NotOpen;
  if (e != FileError::None) Say(svc, std::string(ErrorText(e)));

  PUTINI(svc.profile, kStatusSection, kOnKey, notes.ONOFF ? "1" : "0", kNotesSettingsFile);
  PUTINI(svc.profile, kStatusSection, kAutoIncrementKey, notes.AUTOINCREMENT ? "1" : "0", kNotesSettingsFile);
}

void RestoreLastEntry(VersionNotes& notes, Services& svc) {
  if (!notes.lastPosition) return;
  const std::int64_t position = *notes.lastPosition;
  notes.VER = VersionRecord::FromLine("");
  std::string line;
  if (FileError e = notes.file.ReadLine(position, line); e != FileError::None) {
    Say(svc, svc.tr("Error getting last record") + ": " + std::string(ErrorText(e)) + "|Ptr: " +
                 std::to_string(position));
    return;  // a cleared record must never be written over the last entry
  }
  notes.VER = VersionRecord::FromLine(line);
  notes.VER.LABEL = PadTo(kLive, VersionRecord::kLabelWidth);
  std::vector<TextLine> edit{{position, Relabelled(line, kLive)}};
  if (FileError e = notes.file.Rewrite(edit); e != FileError::None)
    Say(svc, svc.tr("Error restoring last record") + ": " + std::string(ErrorText(e)));
}

void RestoreAfterCountdown(VersionNotes& notes, Services& svc) { RestoreLastEntry(notes, svc); }

void CloseVersionFile(VersionNotes& notes) { notes.file.Close(); }

}  // namespace qz
