#include "commands/usermenu.h"

#include <algorithm>

#include "ide/ide_check.h"
#include "commands/file_error.h"
#include "editor/section_table.h"
#include "runtime/text.h"

namespace qz {

namespace {

constexpr std::size_t kTextMax = 254;
constexpr std::size_t kSortMax = 99;

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

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
void MenuAdd(CmdContext& ctx, const std::string& appRef, const std::string& menuDisplay, const std::string& parm) {
  Services& svc = ctx.svc;
  const std::string& ini = ctx.CWINIFILE;
  std::string bytes;
  FileStatus status = svc.files.ReadAll(ini, bytes);
  if (status != FileStatus::Ok && status != FileStatus::NotFound) {
    ShowFileError(svc, svc.tr("Add Accessories Item"), "The IDE's INI file could not be read:", ini);
    return;
  }
  auto& help = *ctx.HELPQ;
  auto& items = *ctx.ITEMQ;
  help.clear();
  items.clear();
  // The section is read and written whole: a thousand entries read one by one, or written one by one,
  // would cost a rewrite of the file each.
  ProfileSection section = svc.profile.ReadSection(ini, kUserMenusSection);
  SectionValues entries(section);
  const std::string own = menuDisplay + "|" + appRef;
  bool found = false;
  // The editor shows at most this many items; reading on to the first empty key means the rewrite never
  // writes over an entry it did not read.
  for (int i = 1; i <= kMaxSectionEntries; ++i) {
    const std::string* stored = entries.Find(std::to_string(i));
    std::string e = stored ? Clip(*stored) : std::string();
    if (e.empty()) break;
    if (IsEntryOf(e, appRef)) {
      e = own;
      found = true;
    }
    (e.find("A&ccessories/Help/") != std::string::npos ? help : items).push_back({e, "", "", "", SortText(e), 0, 0});
  }
  if (!found) (own.find("Ac&cessories/Help/") != std::string::npos ? help : items).push_back({own, "", "", "", SortText(own), 0, 0});

  std::string commandLine = Clip(ctx.COMMANDLINE);
  if (commandLine.find(' ') != std::string::npos) commandLine = '"' + commandLine + '"';
  auto bySort = [](const Item& a, const Item& b) { return ClipView(a.SORT) < ClipView(b.SORT); };
  std::stable_sort(help.begin(), help.end(), bySort);
  std::stable_sort(items.begin(), items.end(), bySort);
  // Keys 1 to the new count take the list in place; every other line of the section stays as it was.
  int k = 0;
  bool changed = false;
  for (const auto* group : {&help, &items})
    for (const Item& item : *group) changed = entries.Write(std::to_string(++k), item.STR) || changed;
  if (changed && !svc.profile.WriteSection(ini, kUserMenusSection, section)) {
    ShowFileError(svc, svc.tr("Add Accessories Item"), "The IDE's INI file could not be written:", ini);
    return;
  }
  if (!svc.profile.Write(ini, kUserApplicationsSection, Clip(appRef), Clip(commandLine + " " + parm)))
    ShowFileError(svc, svc.tr("Add Accessories Item"), "The IDE's INI file could not be written:", ini);
  help.clear();
  items.clear();
}

}  // namespace

void UserMenu(CmdContext& ctx) {
  Services& svc = ctx.svc;
  const std::string appRef = Cut(ctx.GetToken(2), kTextMax);
  std::string menuDisplay = Cut(ctx.GetToken(3), kTextMax);
  ctx.COMMANDLINE = Cut(ctx.GetToken(4), kTextMax);
  long n = ctx.TokenCount();
  const std::string version = Cut(ctx.GetToken(static_cast<std::uint8_t>(n)), 3);
  if (ctx.SetVersion(version)) --n;
  std::string parm;
  for (long i = 5; i <= n; ++i) {
    std::string t = ctx.GetToken(static_cast<std::uint8_t>(i));
    if (t.find(' ') != std::string::npos) t = '"' + t + '"';
    parm = Cut(parm.empty() ? t : parm + " " + t, kTextMax);
  }
  if (IsBlank(appRef) || IsBlank(ctx.COMMANDLINE) || IsBlank(menuDisplay)) {
    Box box;
    box.caption = svc.tr("Incorrect Command Line");
    box.text = svc.tr("Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were:") + " " +
               "|   " + svc.tr("AppRef") + ": " + appRef + "|   " + svc.tr("MenuDisplay") + ": " + menuDisplay +
               "|   " + svc.tr("CommandLine") + ": " + ctx.COMMANDLINE + "|   " + svc.tr("Parm") + ": " + parm +
               "|   " + svc.tr("Version") + ": " + version;
    box.icon = Icon::Information;
    box.outcome = Outcome::Usage;
    svc.Show(box);
    return;
  }
  menuDisplay = Replaced(Replaced(menuDisplay, '+', ' '), '-', '/');
  parm = Replaced(parm, '+', ' ');
  if (ctx.LocateInstallation()) return;
  if (ClarionIsOpen(ctx) && !ClarionMustBeClosed(ctx, svc.tr("Add Accessories Item"))) return;
  MenuAdd(ctx, appRef, menuDisplay, parm);
}

}  // namespace qz
