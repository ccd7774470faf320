#include "commands/red.h"

#include "base/ini_file.h"
#include "base/installation.h"
#include "base/owners.h"
#include "ide/reg.h"
#include "text/text.h"
#include "text/text_list.h"

namespace qz {

namespace {

// caption and should are fixed phrases: the box's caption and what the command should look like.
void ShowUsage(Services& svc, const CommandLine& line, const Installation& ide, const char* caption,
               const char* should) {
  svc.Refused(svc.tr(caption),
              svc.tr(should) + "|  " + svc.tr("Actual Command:") + " " + line.Text() + "|  " +
                  svc.tr("Redirection File:") + " " + ide.redFile + "|  " + svc.tr("Version") + ": " + ide.version,
              Icon::Information);
}

// The arguments of RED and UNRED, each taken whole.
struct RedArguments {
  std::string section, entry, path, version;
  explicit RedArguments(const CommandLine& line)
      : section(line.Token(2)), entry(line.Token(3)), path(line.Token(4)), version(line.Token(5)) {}
  bool Blank() const { return IsBlank(path) || IsBlank(entry) || IsBlank(section); }
};

// Lets change alter the entry's value in the redirection file (nothing when the entry is absent), which is
// written when the value changed; after runs once it is there, the file still locked. The ledger beside the
// IDE's files keeps who added which directory.
enum class Direction { Add, Remove };

template <typename Change>
void ChangeRedirection(Services& svc, const CommandLine& line, Direction direction, const char* caption,
                       const char* should, Change change) {
  const RedArguments args(line);
  using K = IniText::Kind;
  if (RefusesIniTexts(svc, svc.tr(caption), {{K::Section, args.section}, {K::Key, args.entry}, {K::Value, args.path}}))
    return;
  const bool removal = direction == Direction::Remove;
  const std::optional<Installation> ide = removal && !args.Blank()
                                              ? LocateForRemoval(svc, VersionCode(args.version))
                                              : LocateInstallation(svc, VersionCode(args.version), line.Text());
  if (!ide) return;
  if (args.Blank()) {
    ShowUsage(svc, line, *ide, caption, should);
    return;
  }
  if (removal && !svc.files.Exists(ide->redFile)) {
    svc.Quiet(Outcome::Info,
              svc.tr("The redirection file does not exist, so there is nothing to remove:") + " " + ide->redFile);
    return;
  }
  const FileTexts texts{svc.tr("QZCL File Error"), Phrase("The redirection file could not be read:"),
                        Phrase("The redirection file could not be written:")};
  Owners owners{svc, LedgerOfInstallation(*ide)};
  const std::vector<ItemKey> items =
      ListItemKeys(ItemKind::Redirection, ide->redFile, args.section, args.entry, args.path);
  ChangeIni(
      svc, ide->redFile, texts, [&](IniDocument& red) { change(red, args, items, owners); },
      removal ? AfterChange([&] { owners.Drop(items); }) : nullptr);
  owners.Finish();
}

using Items = std::vector<ItemKey>;

}  // namespace

// "Redirecton" is the program's own spelling, kept because translation files look it up.
void Redirection(Services& svc, const CommandLine& line) {
  ChangeRedirection(svc, line, Direction::Add, Phrase("Redirecton Command Error"),
                    Phrase("Redirection Command should be RED Section Entry Path Version."),
                    [](IniDocument& red, const RedArguments& args, const Items& items, Owners& owners) {
                      // Each item of the path that is not listed yet is added, in the order given; the items
                      // already there keep their text. A whole item must match, in any letter case, as Windows
                      // names folders: C:\Tools is not in C:\Tools2, but c:\tools is C:\Tools.
                      const std::string current = Clip(red.Get(args.section, args.entry).value_or(""));
                      std::string value = current;
                      for (const ItemKey& key : items)
                        if (IsBlank(value) || !ListHolds(value, key.item, true))
                          value = IsBlank(value) ? key.item : value + ";" + key.item;
                      // The claims first: a kill before the file is written leaves a claim that the next run
                      // (or the uninstaller) settles.
                      if (!owners.ClaimListItems(items, current)) return;
                      if (value != current) red.Set(args.section, args.entry, value);
                    });
}

void RemoveRedirection(Services& svc, const CommandLine& line) {
  ChangeRedirection(svc, line, Direction::Remove, Phrase("Remove Redirection Error"),
                    Phrase("The command should be UNRED Section Entry Path Version."),
                    [](IniDocument& red, const RedArguments& args, const Items& items, Owners& owners) {
                      if (!owners.Read()) return;
                      const std::optional<std::string> value = red.Get(args.section, args.entry);
                      const std::string takeOut = owners.ListItemsToRemove(items, value.value_or(""));
                      if (!value || takeOut.empty()) return;
                      const std::string rest = ListWithout(*value, takeOut, true);
                      if (rest == *value) return;
                      if (!IsBlank(rest)) {
                        red.Set(args.section, args.entry, rest);
                        return;
                      }
                      // Nothing left: the entry goes, and a section left without lines with it.
                      red.Remove(args.section, args.entry);
                      red.RemoveSectionIfEmpty(args.section);
                    });
}

void AbcPath(Services& svc, const CommandLine& line) {
  const std::string path = line.Token(2);
  const std::string caption = svc.tr("Set ABC Library Directory");
  if (RefusesIniTexts(svc, caption, {{IniText::Kind::Value, path}})) return;
  const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(line.Token(3)), line.Text());
  if (!ide) return;
  if (IsBlank(path)) {
    svc.Refused(caption, svc.tr("File parameter missing from command line"), Icon::Information);
    return;
  }
  RecoverAutoPick(svc, *ide);
  const FileTexts texts{svc.tr("QZCL File Error"), Phrase("The IDE's INI file could not be read:"),
                        Phrase("The IDE's INI file could not be written:")};
  if (!ChangeIni(svc, ide->iniFile, texts, [&](IniDocument& ini) { ini.Set("Paths", "Libsrc", Upper(Clip(path))); }) ||
      svc.DryRun())
    return;
  const ProgramStart program = IdeProgram(svc, *ide);
  std::string error;
  if (!IsBlank(program.commandLine) && svc.processes.Start(program, error) != 0)
    svc.Error(caption, svc.tr("The library path was set, but the IDE could not be started:") + "|  " +
                           (program.application.empty() ? program.commandLine : program.application) + "|" + error);
}

}  // namespace qz
