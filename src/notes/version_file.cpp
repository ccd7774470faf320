#include "notes/version_file.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "text/pictures.h"
#include "text/text.h"

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

// A bare message box: nothing but its text.
void Say(Services& svc, const std::string& text) { svc.Error("", text, Icon::None); }

// Opens the version file for updating, creating it first when it cannot be opened. A failure is not shown here:
// the reads that follow find nothing, and an append says why.
void OpenVersionFile(VersionNotes& notes) {
  const std::string name = Clip(notes.fileName);
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
  r.label = next(kLabelWidth);
  r.open = next(kOpenWidth);
  r.version = next(kVersionWidth);
  r.space = next(kSpaceWidth);
  r.build = next(kBuildWidth);
  r.close = next(kCloseWidth);
  r.added = next(kAddedWidth);
  r.note = next(kNoteWidth);
  return r;
}

std::string VersionRecord::Line() const {
  return Clip(PadTo(label, kLabelWidth) + PadTo(open, kOpenWidth) + PadTo(version, kVersionWidth) +
              PadTo(space, kSpaceWidth) + PadTo(build, kBuildWidth) + PadTo(close, kCloseWidth) +
              PadTo(added, kAddedWidth) + PadTo(note, kNoteWidth));
}

void ReadSettings(VersionNotes& notes, Services& svc) {
  notes.updatesOn = ByteOf(ReadIni(svc.profile, kNotesSettingsFile, kStatusSection, kOnKey, "1")) != 0;
  if (!notes.updatesOn) notes.entry.note = svc.tr("Update is turned off!");
  notes.updatesOnAtOpening = notes.updatesOn;
  notes.autoIncrement = ByteOf(ReadIni(svc.profile, kNotesSettingsFile, kStatusSection, kAutoIncrementKey, "1")) != 0;
  notes.autoAtOpening = notes.autoIncrement;
  notes.fileName = Cut(ReadIni(svc.profile, kNotesSettingsFile, kFileNameSection, kFileNameKey, ""), kFileNameMax);
  if (IsBlank(notes.fileName)) {
    notes.fileName = kDefaultVersionFile;
    WriteIni(svc.profile, kNotesSettingsFile, kFileNameSection, kFileNameKey, kDefaultVersionFile);
  }
  notes.startingFileName = notes.fileName;
}

void LoadVersionFile(VersionNotes& notes, Services& svc) {
  OpenVersionFile(notes);
  notes.lastPosition.reset();
  notes.entry = VersionRecord::FromLine("");

  std::vector<TextLine> lines;
  if (notes.file.ReadLines(lines) != FileError::None || lines.empty()) {
    notes.entry.version = PadTo("1.00", VersionRecord::kVersionWidth);
    notes.entry.build = "0001";
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

    notes.entry = VersionRecord::FromLine(lines.back().text);
    double build = NumberOf(notes.entry.build);
    if (notes.autoIncrement) build += 1;
    notes.entry.build = PadTo(DecimalText(build), VersionRecord::kBuildWidth);
  }

  const LocalTime now = svc.clock.Now();
  notes.entry.label = PadTo(kLive, VersionRecord::kLabelWidth);
  notes.entry.open = "EQUATE('";
  notes.entry.close = PadTo("')", VersionRecord::kCloseWidth);
  notes.entry.added =
      PadTo(" ! " + FormatDate(now, "d1") + " " + FormatTime(now, "t2") + " -- ", VersionRecord::kAddedWidth);
  notes.entry.note = notes.updatesOn ? "" : "Update is turned off";
}

void SaveEntry(VersionNotes& notes, Services& svc) {
  notes.entry.build = FormatNumber(NumberOf(notes.entry.build), "n04");
  notes.entry.version = FormatNumber(NumberOf(notes.entry.version), "n4.2");
  notes.entry.space.assign(1, ' ');

  const std::string name = Clip(notes.fileName);
  if (!name.empty() && name != Clip(notes.startingFileName)) {
    notes.file.Close();
    WriteIni(svc.profile, kNotesSettingsFile, kFileNameSection, kFileNameKey, name);
    OpenVersionFile(notes);  // the new file's own lines stay as they are
  }

  FileError e = notes.file.IsOpen() ? notes.file.Append(notes.entry.Line()) : notes.openError;
  if (e == FileError::None && !notes.file.IsOpen()) e = FileError::NotOpen;
  if (e != FileError::None) Say(svc, std::string(ErrorText(e)));

  WriteIni(svc.profile, kNotesSettingsFile, kStatusSection, kOnKey, notes.updatesOn ? "1" : "0");
  WriteIni(svc.profile, kNotesSettingsFile, kStatusSection, kAutoIncrementKey, notes.autoIncrement ? "1" : "0");
}

void RestoreLastEntry(VersionNotes& notes, Services& svc) {
  if (!notes.lastPosition) return;
  const std::int64_t position = *notes.lastPosition;
  notes.entry = VersionRecord::FromLine("");
  std::string line;
  if (FileError e = notes.file.ReadLine(position, line); e != FileError::None) {
    Say(svc,
        svc.tr("Error getting last record") + ": " + std::string(ErrorText(e)) + "|Ptr: " + std::to_string(position));
    return;  // a cleared record must never be written over the last entry
  }
  notes.entry = VersionRecord::FromLine(line);
  notes.entry.label = PadTo(kLive, VersionRecord::kLabelWidth);
  std::vector<TextLine> edit{{position, Relabelled(line, kLive)}};
  if (FileError e = notes.file.Rewrite(edit); e != FileError::None)
    Say(svc, svc.tr("Error restoring last record") + ": " + std::string(ErrorText(e)));
}

void CloseVersionFile(VersionNotes& notes) { notes.file.Close(); }

}  // namespace qz
