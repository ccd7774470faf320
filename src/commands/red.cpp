#include "commands/red.h"

#include "app/ini.h"
#include "commands/file_error.h"
#include "runtime/text.h"
#include "runtime/text_list.h"

namespace qz {

namespace {

constexpr std::size_t kSectionMax = 79;
constexpr std::size_t kTextMax = 254;

void ShowUsage(CmdContext& ctx) {
  Services& svc = ctx.svc;
  Box box;
  box.caption = svc.tr("Redirecton Command Error");
  box.text = svc.tr("Redirection Command should be RED Section Entry Path Version.") + "|  " +
             svc.tr("Actual Command:") + " " + ctx.CMD + "|  " + svc.tr("Redirection File:") + " " + ctx.CWRED +
             "|  " + svc.tr("Version") + ": " + ctx.CWVERSION;
  box.icon = Icon::Information;
  box.outcome = Outcome::Usage;
  svc.Show(box);
}

}  // namespace

void Redirection(CmdContext& ctx) {
  Services& svc = ctx.svc;
  const std::string section = Cut(ctx.GetToken(2), kSectionMax);
  const std::string entry = Cut(ctx.GetToken(3), kTextMax);
  const std::string version = Cut(ctx.GetToken(5), 3);
  const std::string path = Cut(ctx.GetToken(4), kTextMax);
  ctx.SetVersion(version);
  if (ctx.LocateInstallation()) return;
  if (IsBlank(path) || IsBlank(entry) || IsBlank(section)) {
    ShowUsage(ctx);
    return;
  }
  // A file that exists but cannot be read would read as empty, and writing "empty plus the path"
  // would throw away every directory it lists.
  std::string bytes;
  FileStatus status = svc.files.ReadAll(ctx.CWRED, bytes);
  if (status != FileStatus::Ok && status != FileStatus::NotFound) {
    ShowFileError(svc, svc.tr("QZCL File Error"), "The redirection file could not be read:", ctx.CWRED);
    return;
  }
  // Read and written whole: the value is never cut to a buffer's size.
  const std::string current = Clip(svc.profile.Read(ctx.CWRED, Clip(section), Clip(entry), ""));
  // A whole item must match, in the same letter case: C:\Tools is not in C:\Tools2.
  if (!IsBlank(current) && ListHolds(current, path, false)) return;
  const std::string value = IsBlank(current) ? Clip(path) : current + ";" + Clip(path);
  if (!svc.profile.Write(ctx.CWRED, Clip(section), Clip(entry), value))
    ShowFileError(svc, svc.tr("QZCL File Error"), "The redirection file could not be written:", ctx.CWRED);
}

void AbcPath(CmdContext& ctx) {
  Services& svc = ctx.svc;
  ctx.SetVersion(Cut(ctx.GetToken(3), 3));
  if (ctx.LocateInstallation()) return;
  ctx.COMMANDLINE = Cut(ctx.GetToken(2), kTextMax);
  if (IsBlank(ctx.COMMANDLINE)) {
    Box box;
    box.caption = svc.tr("Set ABC Library Directory");
    box.text = svc.tr("File parameter missing from command line");
    box.icon = Icon::Information;
    box.outcome = Outcome::Usage;
    svc.Show(box);
    return;
  }
  if (!svc.profile.Write(ctx.CWINIFILE, "Paths", "Libsrc", Upper(Clip(ctx.COMMANDLINE)))) {
    ShowFileError(svc, svc.tr("QZCL File Error"), "The IDE's INI file could not be written:", ctx.CWINIFILE);
    return;
  }
  std::string error;
  if (!IsBlank(ctx.CWEXE) && svc.processes.Start(Clip(ctx.CWEXE), error) != 0) svc.Fail();
}

}  // namespace qz
