#include "commands/usermenu.h"

#include <algorithm>

#include "base/file_error_box.h"
#include "base/installation.h"
#include "ide/ide_check.h"
#include "runtime/text.h"

namespace qz {

namespace {

constexpr std::size_t kTextMax = 254;
constexpr std::size_t kSortMax = 99;

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

// A numbered entry of "User Menus" and the text it sorts by.
struct MenuEntry {
  std::string text, sortKey;
};

std::string SortText(const std::string& entry) {
  std::string sort = entry.substr(0, kSortMax);
  sort.erase(std::remove(sort.begin(), sort.end(), '&'), sort.end());
  return sort;
}

// An entry is the AppRef's own only when the whole text after its last bar is the AppRef: another
// application whose reference merely contains it keeps its entry.
bool IsEntryOf(const std::string& entry, const std::string& appRef) {
  auto bar = entry.rfind('|');
  return bar != std::string::npos && Upper(Clip(std::string_view(entry).substr(bar + 1))) == Upper(Clip(appRef));
}

// Rebuilds the numbered list: Accessories/Help entries first, then the others, each group in the
// order of its sort text (equal texts keep their order), and writes the application's command line.
void MenuAdd(Services& svc, const std::string& ini, const std::string& appRef, const std::string& menuDisplay,
             const std::string& commandLine, const std::string& parm) {
  std::string bytes;
  const FileError read = svc.files.ReadAll(ini, bytes);
  if (read != FileError::None && !IsMissing(read)) {
    ShowFileError(svc, svc.tr("Add Accessories Item"), "The IDE's INI file could not be read:", ini);
    return;
  }
  std::vector<MenuEntry> help, items;
  // The section is read and written whole: a thousand entries read one by one, or written one by one,
  // would cost a rewrite of the file each.
  ProfileSection section = svc.profile.ReadSection(ini, kUserMenusSection);
  SectionValues entries(section);
  const std::string own = menuDisplay + "|" + appRef;
  bool found = false;
  // The editor shows at most this many items; reading on to the first empty key means the rewrite never
  // writes over an entry it did not read.
  for (int i = 1; i <= kMaxListEntries; ++i) {
    const std::string* stored = entries.Find(std::to_string(i));
    std::string e = stored ? Clip(*stored) : std::string();
    if (e.empty()) break;
    if (IsEntryOf(e, appRef)) {
      e = own;
      found = true;
    }
    (e.find("A&ccessories/Help/") != std::string::npos ? help : items).push_back({e, SortText(e)});
  }
  // The new entry's group is spelt with the mnemonic elsewhere, as the program always has.
  if (!found) (own.find("Ac&cessories/Help/") != std::string::npos ? help : items).push_back({own, SortText(own)});

  std::string program = Clip(commandLine);
  if (program.find(' ') != std::string::npos) program = '"' + program + '"';
  auto bySort = [](const MenuEntry& a, const MenuEntry& b) { return ClipView(a.sortKey) < ClipView(b.sortKey); };
  std::stable_sort(help.begin(), help.end(), bySort);
  std::stable_sort(items.begin(), items.end(), bySort);
  // Keys 1 to the new count take the list in place; every other line of the section stays as it was.
  int k = 0;
  bool changed = false;
  for (const auto* group : {&help, &items})
    for (const MenuEntry& entry : *group) changed = entries.Write(std::to_string(++k), entry.text) || changed;
  if (changed && !svc.profile.WriteSection(ini, kUserMenusSection, section)) {
    ShowFileError(svc, svc.tr("Add Accessories Item"), "The IDE's INI file could not be written:", ini);
    return;
  }
  if (!svc.profile.Write(ini, kUserApplicationsSection, Clip(appRef), Clip(program + " " + parm)))
    ShowFileError(svc, svc.tr("Add Accessories Item"), "The IDE's INI file could not be written:", ini);
}

}  // namespace

void UserMenu(Services& svc, const CommandLine& line) {
  const std::string appRef = Cut(line.Token(2), kTextMax);
  std::string menuDisplay = Cut(line.Token(3), kTextMax);
  const std::string commandLine = Cut(line.Token(4), kTextMax);
  int n = line.TokenCount();
  const std::string version = Cut(line.Token(n), 3);
  if (IsVersionCode(version)) --n;
  std::string parm;
  for (int i = 5; i <= n; ++i) {
    std::string t = line.Token(i);
    if (t.find(' ') != std::string::npos) t = '"' + t + '"';
    parm = Cut(parm.empty() ? t : parm + " " + t, kTextMax);
  }
  if (IsBlank(appRef) || IsBlank(commandLine) || IsBlank(menuDisplay)) {
    Box box;
    box.caption = svc.tr("Incorrect Command Line");
    box.text = svc.tr("Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were:") + " " +
               "|   " + svc.tr("AppRef") + ": " + appRef + "|   " + svc.tr("MenuDisplay") + ": " + menuDisplay +
               "|   " + svc.tr("CommandLine") + ": " + commandLine + "|   " + svc.tr("Parm") + ": " + parm + "|   " +
               svc.tr("Version") + ": " + version;
    box.icon = Icon::Information;
    box.outcome = Outcome::Usage;
    svc.Show(box);
    return;
  }
  menuDisplay = Replaced(Replaced(menuDisplay, '+', ' '), '-', '/');
  parm = Replaced(parm, '+', ' ');
  const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(version), line.Text());
  if (!ide) return;
  if (ClarionIsOpen(svc, ide->exe) && !ClarionMustBeClosed(svc, ide->exe, svc.tr("Add Accessories Item"))) return;
  MenuAdd(svc, ide->iniFile, appRef, menuDisplay, commandLine, parm);
}

}  // namespace qz
