#include "commands/red.h"

#include "base/ini_file.h"
#include "base/installation.h"
#include "runtime/text.h"
#include "runtime/text_list.h"

namespace qz {

namespace {

constexpr std::size_t kSectionMax = 79;
constexpr std::size_t kTextMax = 254;

// caption and should are fixed phrases: the box's caption and what the command should look like.
void ShowUsage(Services& svc, const CommandLine& line, const Installation& ide, const char* caption,
               const char* should) {
  Box box;
  box.caption = svc.tr(caption);
  box.text = svc.tr(should) + "|  " + svc.tr("Actual Command:") + " " + line.Text() + "|  " +
             svc.tr("Redirection File:") + " " + ide.redFile + "|  " + svc.tr("Version") + ": " + ide.version;
  box.icon = Icon::Information;
  box.outcome = Outcome::Usage;
  svc.Show(box);
}

// The arguments of RED and UNRED.
struct RedArguments {
  std::string section, entry, path, version;
  explicit RedArguments(const CommandLine& line)
      : section(Cut(line.Token(2), kSectionMax)),
        entry(Cut(line.Token(3), kTextMax)),
        path(Cut(line.Token(4), kTextMax)),
        version(Cut(line.Token(5), 3)) {}
  bool Blank() const { return IsBlank(path) || IsBlank(entry) || IsBlank(section); }
};

// Reads the redirection file and lets change alter the entry's value (nothing when the entry is absent);
// writes the file when the value changed.
template <typename Change>
void ChangeRedirection(Services& svc, const CommandLine& line, const char* caption, const char* should, Change change) {
  const RedArguments args(line);
  using K = IniText::Kind;
  if (RefusesIniTexts(svc, svc.tr(caption), {{K::Section, args.section}, {K::Key, args.entry}, {K::Value, args.path}}))
    return;
  const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(args.version), line.Text());
  if (!ide) return;
  if (args.Blank()) {
    ShowUsage(svc, line, *ide, caption, should);
    return;
  }
  const FileTexts texts{svc.tr("QZCL File Error"), Phrase("The redirection file could not be read:"),
                        Phrase("The redirection file could not be written:")};
  std::optional<IniDocument> red = ReadIniFile(svc, ide->redFile, texts);
  if (!red) return;
  change(*red, args);
  WriteIniFile(svc, ide->redFile, *red, texts);
}

}  // namespace

// "Redirecton" is the program's own spelling, kept because translation files look it up.
void Redirection(Services& svc, const CommandLine& line) {
  ChangeRedirection(svc, line, Phrase("Redirecton Command Error"),
                    Phrase("Redirection Command should be RED Section Entry Path Version."),
                    [](IniDocument& red, const RedArguments& args) {
                      // Each item of the path that is not listed yet is added, in the order given; the items
                      // already there keep their text. A whole item must match, in the same letter case:
                      // C:\Tools is not in C:\Tools2.
                      const std::string current = Clip(red.Get(args.section, args.entry).value_or(""));
                      std::string value = current;
                      for (std::string_view item : SplitList(args.path)) {
                        if (IsBlank(item) || (!IsBlank(value) && ListHolds(value, item, false))) continue;
                        value = IsBlank(value) ? Clip(item) : value + ";" + Clip(item);
                      }
                      if (value != current) red.Set(args.section, args.entry, value);
                    });
}

void RemoveRedirection(Services& svc, const CommandLine& line) {
  ChangeRedirection(svc, line, Phrase("Remove Redirection Error"),
                    Phrase("The command should be UNRED Section Entry Path Version."),
                    [](IniDocument& red, const RedArguments& args) {
                      const std::optional<std::string> value = red.Get(args.section, args.entry);
                      if (!value) return;
                      const std::string rest = ListWithout(*value, args.path, false);
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
  const std::string path = Cut(line.Token(2), kTextMax);
  if (RefusesIniTexts(svc, svc.tr("Set ABC Library Directory"), {{IniText::Kind::Value, path}})) return;
  const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(Cut(line.Token(3), 3)), line.Text());
  if (!ide) return;
  if (IsBlank(path)) {
    Box box;
    box.caption = svc.tr("Set ABC Library Directory");
    box.text = svc.tr("File parameter missing from command line");
    box.icon = Icon::Information;
    box.outcome = Outcome::Usage;
    svc.Show(box);
    return;
  }
  const FileTexts texts{svc.tr("QZCL File Error"), Phrase("The IDE's INI file could not be read:"),
                        Phrase("The IDE's INI file could not be written:")};
  std::optional<IniDocument> ini = ReadIniFile(svc, ide->iniFile, texts);
  if (!ini) return;
  ini->Set("Paths", "Libsrc", Upper(Clip(path)));
  if (!WriteIniFile(svc, ide->iniFile, *ini, texts)) return;
  std::string error;
  if (!IsBlank(ide->exe) && svc.processes.Start(Clip(ide->exe), error) != 0) svc.Fail();
}

}  // namespace qz
