// The version equate file that the notes window keeps: one live line declaring the equate Version with a
// version and a four-digit build, older lines commented out, each with date, time and note; and the
// settings file that remembers the window's setup.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/services.h"
#include "platform/held_file.h"
#include "platform/text_file.h"

namespace qz {

inline constexpr const char* kNotesSettingsFile = ".\\QZCL60.ini";
inline constexpr const char* kStatusSection = "Status";
inline constexpr const char* kOnKey = "On";
inline constexpr const char* kAutoIncrementKey = "Auto Increment";
inline constexpr const char* kFileNameSection = "FileName";
inline constexpr const char* kFileNameKey = "Name";
inline constexpr const char* kDefaultVersionFile = "Version.qzi";

inline constexpr std::size_t kFileNameMax = 119;  // CSTRING(120)

// One line of the version file: fixed-width fields side by side, 241 characters in all.
struct VersionRecord {
  static constexpr std::size_t kLabelWidth = 20, kOpenWidth = 8, kVersionWidth = 5, kSpaceWidth = 1, kBuildWidth = 4,
                               kCloseWidth = 3, kAddedWidth = 20, kNoteWidth = 180;
  static constexpr std::size_t kWidth = 241;

  // Each holds its field's text; FromLine gives them blank-padded to their widths.
  std::string label, open, version, space, build, close, added, note;

  // A line as read: padded with blanks (or cut) to the record's width, then split into its fields.
  static VersionRecord FromLine(std::string_view line);
  // The line to write: each field blank-padded or cut to its width, without trailing blanks.
  std::string Line() const;
};

// What the notes window holds of the version file and its settings.
struct VersionNotes {
  explicit VersionNotes(HeldFile& held) : file(held) {}

  bool updatesOn = false;
  bool autoIncrement = false;    // the build goes up by one at each opening
  std::string fileName;          // the version file, relative to the current directory unless a full path
  std::string startingFileName;  // fileName as read when the window opened
  bool updatesOnAtOpening = false;
  bool autoAtOpening = false;
  std::optional<std::int64_t> lastPosition;  // of the file's last line; none when the file had no lines
  VersionRecord entry;                       // the new entry, edited by the window
  TextFile file;
  FileError openError = FileError::None;  // why the version file is not open, when it is not
};

// Reads the three settings from the settings file; stores the default file name when none was set.
void ReadSettings(VersionNotes& notes, Services& svc);
// Opens (or creates) the version file and leaves it open with writes denied to others, comments out its
// live lines, and prepares the new entry from the last line: its version, and its build raised by one when
// auto increment is on.
void LoadVersionFile(VersionNotes& notes, Services& svc);
// Ok: appends the new entry (to a newly named file when fileName was changed) and stores the setup.
void SaveEntry(VersionNotes& notes, Services& svc);
// Cancel, and the updates-off countdown: the last line of the file becomes live again, so that the project
// keeps a live Version equate.
void RestoreLastEntry(VersionNotes& notes, Services& svc);
// Harmless when the file is already closed.
void CloseVersionFile(VersionNotes& notes);

}  // namespace qz
