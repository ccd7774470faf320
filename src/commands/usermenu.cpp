#include "commands/usermenu.h"

#include <algorithm>

#include "base/ini_file.h"
#include "base/installation.h"
#include "base/list_sections.h"
#include "base/owners.h"
#include "ide/ide_check.h"
#include "ide/reg.h"
#include "text/text.h"

namespace qz {

namespace {

constexpr std::size_t kSortMax = 99;

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

// A numbered entry of "User Menus" and the text it sorts by.
struct MenuEntry {
  std::string text, sortKey;
};

// The whole entry without its "&"s, letter case counting: the order USERMENU has always given the menu, which
// is not the editor's Sort (that one sorts the text alone, in upper case).
std::string SortText(const std::string& entry) {
  std::string sort = entry.substr(0, kSortMax);
  sort.erase(std::remove(sort.begin(), sort.end(), '&'), sort.end());
  return sort;
}

// An entry is the AppRef's own only when the whole text after its last bar is the AppRef: another
// application whose reference merely contains it keeps its entry.
bool IsEntryOf(const std::string& entry, const std::string& appRef) {
  const ListSection& menus = *FindListSection(kUserMenusSection);
  return entry.find('|') != std::string::npos && Upper(Clip(ParseEntry(menus, entry).appRef)) == Upper(Clip(appRef));
}

// Whether an entry of the five list sections still names the application.
bool StillNamed(const IniDocument& doc, const std::string& appRef) {
  for (const ListSection& section : kListSections)
    for (const std::string& entry : EntryValues(doc, section.name))
      if (IsEntryOf(entry, appRef)) return true;
  return false;
}

// The version code of USERMENU and UNMENU: their last argument when it is one. lastArgument receives the
// number of the last argument before the version code.
std::string VersionOf(const CommandLine& line, int& lastArgument) {
  lastArgument = line.TokenCount();
  const std::string version = Cut(line.Token(lastArgument), 3);
  if (IsVersionCode(version)) --lastArgument;
  return version;
}

// An AppRef names the application after the last "|" of a menu entry and is a key of "User Applications":
// a "|" in it would make another AppRef of it, and blanks at either end would match another one's key.
bool RefusesAppRef(Services& svc, const std::string& appRef) {
  const bool padded = !appRef.empty() && (appRef.front() == ' ' || appRef.back() == ' ' || appRef.front() == '\t' ||
                                          appRef.back() == '\t');
  if (appRef.find('|') == std::string::npos && !padded) {
    using K = IniText::Kind;
    return RefusesIniTexts(svc, svc.tr("Incorrect Command Line"), {{K::Key, appRef}, {K::Value, appRef}});
  }
  RefuseText(svc, svc.tr("Incorrect Command Line"),
             Phrase("An AppRef cannot hold \"|\", nor start or end with a blank:"), "\"" + appRef + "\"");
  return true;
}

// The AppRef's entry of "User Menus"; nothing when the list has none.
std::optional<std::string> EntryOf(const IniDocument& doc, const std::string& appRef) {
  for (const std::string& entry : EntryValues(doc, kUserMenusSection))
    if (IsEntryOf(entry, appRef)) return entry;
  return std::nullopt;
}

// Rebuilds the numbered list with own as the AppRef's entry: Accessories/Help entries first, then the others,
// each group in the order of its sort text (equal texts keep their order).
void MenuSet(IniDocument& doc, const std::string& appRef, const std::string& own) {
  std::vector<MenuEntry> help, items;
  bool found = false;
  // Every entry up to the first empty key is read, so that the list written back replaces exactly them.
  for (std::string e : EntryValues(doc, kUserMenusSection)) {
    if (IsEntryOf(e, appRef)) {
      e = own;
      found = true;
    }
    (e.find("A&ccessories/Help/") != std::string::npos ? help : items).push_back({e, SortText(e)});
  }
  // The new entry's group is spelt with the mnemonic elsewhere, as the program always has.
  if (!found) (own.find("Ac&cessories/Help/") != std::string::npos ? help : items).push_back({own, SortText(own)});
  auto bySort = [](const MenuEntry& a, const MenuEntry& b) { return ClipView(a.sortKey) < ClipView(b.sortKey); };
  std::stable_sort(help.begin(), help.end(), bySort);
  std::stable_sort(items.begin(), items.end(), bySort);
  // Keys 1 to the new count take the list in place; every other line stays as it was.
  int k = 0;
  for (const auto* group : {&help, &items})
    for (const MenuEntry& entry : *group) doc.Set(kUserMenusSection, std::to_string(++k), entry.text);
}

// The application's command line as "User Applications" keeps it.
std::string ApplicationValue(const std::string& commandLine, const std::string& parm) {
  std::string program = Clip(commandLine);
  if (program.find(' ') != std::string::npos) program = '"' + program + '"';
  return Clip(program + " " + parm);
}

// The AppRef's two items in the ledger of the installation.
ItemKey MenuKey(const Installation& ide, const std::string& appRef) {
  return {ItemKind::MenuEntry, ide.iniFile, "", "", Clip(appRef)};
}
ItemKey ApplicationKey(const Installation& ide, const std::string& appRef) {
  return {ItemKind::Application, ide.iniFile, "", "", Clip(appRef)};
}

// The menu and the application's command line go to the file in one write, so that neither is ever there without
// the other; with an owner, its claims on both are written first.
void MenuAdd(Services& svc, const Installation& ide, Owners& owners, IniDocument& doc, const std::string& appRef,
             const std::string& own, const std::string& application) {
  const std::optional<std::string> entry = EntryOf(doc, appRef);
  const std::optional<std::string> before = doc.Get(kUserApplicationsSection, Clip(appRef));
  if (!svc.owner.empty() && !owners.Change([&](Ledger& ledger) {
        ledger.AddClaim(MenuKey(ide, appRef), svc.owner, entry.has_value(), svc.adopt, entry, own, false);
        ledger.AddClaim(ApplicationKey(ide, appRef), svc.owner, before.has_value(), svc.adopt, before, application,
                        false);
      }))
    return;
  MenuSet(doc, appRef, own);
  doc.Set(kUserApplicationsSection, Clip(appRef), application);
}

// Takes the AppRef's entries out of "User Menus", the others numbered from 1 again, and its command line out of
// "User Applications" unless another list still names it; or puts back what they were before the owner's
// installer replaced them, or leaves them, as the ledger says. False when the ledger cannot be read.
bool MenuRemove(Services& svc, const Installation& ide, Owners& owners, IniDocument& doc, const std::string& appRef) {
  if (!owners.Read()) return false;
  const std::optional<std::string> entry = EntryOf(doc, appRef);
  const std::optional<std::string> application = doc.Get(kUserApplicationsSection, Clip(appRef));
  const RemovalPlan menu = PlanRemoval(&*owners.ledger, MenuKey(ide, appRef), svc.owner, entry);
  const RemovalPlan app = PlanRemoval(&*owners.ledger, ApplicationKey(ide, appRef), svc.owner, application);
  if (menu.what != Removal::Remove || entry) owners.Note(menu, appRef);
  if (menu.what == Removal::Remove) {
    const std::vector<std::string> entries = EntryValues(doc, kUserMenusSection);
    std::size_t k = 0;
    for (const std::string& e : entries)
      if (!IsEntryOf(e, appRef)) doc.Set(kUserMenusSection, std::to_string(++k), e);
    for (std::size_t gone = k + 1; gone <= entries.size(); ++gone) doc.Remove(kUserMenusSection, std::to_string(gone));
  } else if (menu.what == Removal::Restore) {
    MenuSet(doc, appRef, menu.earlier);
  }
  if (app.what == Removal::Remove && !StillNamed(doc, appRef)) {
    while (doc.Remove(kUserApplicationsSection, Clip(appRef))) {
    }
  } else if (app.what == Removal::Restore) {
    doc.Set(kUserApplicationsSection, Clip(appRef), app.earlier);
  }
  return true;
}

FileTexts IniTexts(std::string caption) {
  return {std::move(caption), Phrase("The IDE's INI file could not be read:"),
          Phrase("The IDE's INI file could not be written:")};
}

}  // namespace

void UserMenu(Services& svc, const CommandLine& line) {
  const std::string appRef = line.Token(2);
  std::string menuDisplay = line.Token(3);
  const std::string commandLine = line.Token(4);
  int n = 0;
  const std::string version = VersionOf(line, n);
  std::string parm;
  for (int i = 5; i <= n; ++i) {
    std::string t = line.Token(i);
    if (t.find(' ') != std::string::npos) t = '"' + t + '"';
    parm = parm.empty() ? t : parm + " " + t;
  }
  if (IsBlank(appRef) || IsBlank(commandLine) || IsBlank(menuDisplay)) {
    svc.Refused(svc.tr("Incorrect Command Line"),
                svc.tr("Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were:") + " " +
                    "|   " + svc.tr("AppRef") + ": " + appRef + "|   " + svc.tr("MenuDisplay") + ": " + menuDisplay +
                    "|   " + svc.tr("CommandLine") + ": " + commandLine + "|   " + svc.tr("Parm") + ": " + parm +
                    "|   " + svc.tr("Version") + ": " + version,
                Icon::Information);
    return;
  }
  menuDisplay = Replaced(Replaced(menuDisplay, '+', ' '), '-', '/');
  parm = Replaced(parm, '+', ' ');
  using K = IniText::Kind;
  if (RefusesAppRef(svc, appRef) ||
      RefusesIniTexts(svc, svc.tr("Incorrect Command Line"),
                      {{K::Value, menuDisplay}, {K::Value, commandLine}, {K::Value, parm}}))
    return;
  const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(version), line.Text());
  if (!ide) return;
  const std::string title = svc.tr("Add Accessories Item");
  if (ClarionIsOpen(svc) && !ClarionMustBeClosed(svc, title)) return;
  RecoverAutoPick(svc, *ide);
  Owners owners{svc, LedgerOfInstallation(*ide)};
  ChangeIni(svc, ide->iniFile, IniTexts(title), [&](IniDocument& doc) {
    MenuAdd(svc, *ide, owners, doc, appRef, FormatEntry(*FindListSection(kUserMenusSection), {menuDisplay, "", appRef}),
            ApplicationValue(commandLine, parm));
  });
  owners.Finish();
}

// Extra arguments, as an uninstaller may repeat USERMENU's, are passed over.
void RemoveUserMenu(Services& svc, const CommandLine& line) {
  const std::string appRef = line.Token(2);
  int n = 0;
  const std::string version = VersionOf(line, n);
  if (IsBlank(appRef) || n < 2) {
    svc.Refused(svc.tr("Incorrect Command Line"),
                svc.tr("Command line paramters are: AppRef [Version].  Found were:") + " " + "|   " + svc.tr("AppRef") +
                    ": " + appRef + "|   " + svc.tr("Version") + ": " + version,
                Icon::Information);
    return;
  }
  if (RefusesAppRef(svc, appRef)) return;
  const std::optional<Installation> ide = LocateForRemoval(svc, VersionCode(version));
  if (!ide) return;
  // Read first: with nothing to take out of the file, the IDE need not be closed.
  Owners owners{svc, LedgerOfInstallation(*ide)};
  IniDocument now;
  bool changes = true;
  if (LoadIni(svc, ide->iniFile, now) == FileError::None) {
    if (!MenuRemove(svc, *ide, owners, now, appRef)) return owners.Finish();
    changes = now.Changed();
    if (!changes && owners.notes.empty())
      svc.Quiet(Outcome::Info,
                svc.tr("The IDE's user menu does not name this AppRef, so there is nothing to remove:") + " " + appRef);
  }
  const std::string title = svc.tr("Remove Accessories Item");
  if (changes && ClarionIsOpen(svc) && !ClarionMustBeClosed(svc, title)) return;
  if (changes) RecoverAutoPick(svc, *ide);
  // The claims go once the items are out: a kill between leaves claims on items that are gone, which the next
  // removal drops.
  ChangeIni(
      svc, ide->iniFile, IniTexts(title), [&](IniDocument& doc) { MenuRemove(svc, *ide, owners, doc, appRef); },
      [&] {
        owners.Drop({MenuKey(*ide, appRef), ApplicationKey(*ide, appRef)});
      });
  owners.Finish();
}

}  // namespace qz
