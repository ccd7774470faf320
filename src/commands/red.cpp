#include "commands/red.h"

#include "base/file_error_box.h"
#include "base/installation.h"
#include "runtime/text.h"
#include "runtime/text_list.h"

namespace qz {

namespace {

constexpr std::size_t kSectionMax = 79;
constexpr std::size_t kTextMax = 254;

void ShowUsage(Services& svc, const CommandLine& line, const Installation& ide) {
  Box box;
  // "Redirecton" is the program's own spelling, kept because translation files look it up.
  box.caption = svc.tr("Redirecton Command Error");
  box.text = svc.tr("Redirection Command should be RED Section Entry Path Version.") + "|  " +
             svc.tr("Actual Command:") + " " + line.Text() + "|  " + svc.tr("Redirection File:") + " " + ide.redFile +
             "|  " + svc.tr("Version") + ": " + ide.version;
  box.icon = Icon::Information;
  box.outcome = Outcome::Usage;
  svc.Show(box);
}

}  // namespace

void Redirection(Services& svc, const CommandLine& line) {
  const std::string section = Cut(line.Token(2), kSectionMax);
  const std::string entry = Cut(line.Token(3), kTextMax);
  const std::string version = Cut(line.Token(5), 3);
  const std::string path = Cut(line.Token(4), kTextMax);
  const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(version), line.Text());
  if (!ide) return;
  if (IsBlank(path) || IsBlank(entry) || IsBlank(section)) {
    ShowUsage(svc, line, *ide);
    return;
  }
  // A file that exists but cannot be read would read as empty, and writing "empty plus the path"
  // would throw away every directory it lists.
  std::string bytes;
  const FileError read = svc.files.ReadAll(ide->redFile, bytes);
  if (read != FileError::None && !IsMissing(read)) {
    ShowFileError(svc, svc.tr("QZCL File Error"), "The redirection file could not be read:", ide->redFile);
    return;
  }
  // Read and written whole: the value is never cut to a buffer's size.
  const std::string current = Clip(svc.profile.Read(ide->redFile, Clip(section), Clip(entry), ""));
  // A whole item must match, in the same letter case: C:\Tools is not in C:\Tools2.
  if (!IsBlank(current) && ListHolds(current, path, false)) return;
  const std::string value = IsBlank(current) ? Clip(path) : current + ";" + Clip(path);
  if (!svc.profile.Write(ide->redFile, Clip(section), Clip(entry), value))
    ShowFileError(svc, svc.tr("QZCL File Error"), "The redirection file could not be written:", ide->redFile);
}

void AbcPath(Services& svc, const CommandLine& line) {
  const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(Cut(line.Token(3), 3)), line.Text());
  if (!ide) return;
  const std::string path = Cut(line.Token(2), kTextMax);
  if (IsBlank(path)) {
    Box box;
    box.caption = svc.tr("Set ABC Library Directory");
    box.text = svc.tr("File parameter missing from command line");
    box.icon = Icon::Information;
    box.outcome = Outcome::Usage;
    svc.Show(box);
    return;
  }
  if (!svc.profile.Write(ide->iniFile, "Paths", "Libsrc", Upper(Clip(path)))) {
    ShowFileError(svc, svc.tr("QZCL File Error"), "The IDE's INI file could not be written:", ide->iniFile);
    return;
  }
  std::string error;
  if (!IsBlank(ide->exe) && svc.processes.Start(Clip(ide->exe), error) != 0) svc.Fail();
}

}  // namespace qz
