#include "commands/where.h"

#include "base/installation.h"
#include "text/text.h"

namespace qz {

namespace {

// One line a value, as an installer reads them: name=value.
std::string Block(const Installation& ide) {
  std::string ini = ide.iniFile;
  if (!ini.empty() && ini.back() == '.') ini.pop_back();  // the point only Windows file access passes over
  return "Root=" + ide.root + "\nExe=" + ide.ExePath() + "\nIni=" + ini + "\nRedirection=" + ide.redFile +
         "\nVersion=" + ide.version;
}

}  // namespace

// WHERE [version]: the installation the other commands would use for that version; WHERE *: every installed
// version, a block each, separated by an empty line.
void Where(Services& svc, const CommandLine& line) {
  const std::string caption = svc.tr("Where Is The IDE");
  const std::string code = line.Token(2);
  if (code != "*") {
    // Unlike the other commands, an unknown code is not taken for version 6: an installer asked for another.
    if (!code.empty() && !IsListedVersion(code)) {
      svc.Refused(caption, svc.tr("This is not a version code (2, 4, 5, 55 or 6):") + " " + code);
      return;
    }
    if (const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(code), line.Text()))
      svc.Tell(caption, Block(*ide));
    return;
  }
  std::string blocks;
  for (const std::string& version : ListedVersions()) {
    const Installation ide = FindInstallation(svc, version);
    if (ide.Complete()) blocks += (blocks.empty() ? "" : "\n\n") + Block(ide);
  }
  if (blocks.empty()) {
    svc.Error(caption, svc.tr("WIN.INI names no installation of the IDE."), Icon::Information);
    return;
  }
  svc.Tell(caption, blocks);
}

}  // namespace qz
