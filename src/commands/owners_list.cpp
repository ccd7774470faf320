#include "commands/owners_list.h"

#include <algorithm>

#include "base/installation.h"
#include "base/owners.h"
#include "text/text.h"

namespace qz {

namespace {

// One line a claim: owner, kind, target, item, and whether the item was there before ("found") or was added.
std::string Line(const std::string& owner, const Claim& claim, bool userLedger) {
  const ItemKey& key = claim.key;
  std::string kind, target = key.target;
  switch (key.kind) {
    case ItemKind::Redirection:
      kind = "RED";
      target += " [" + key.section + "] " + key.entry;
      break;
    case ItemKind::Variable: kind = userLedger ? "ENV /USER" : "ENV"; break;
    case ItemKind::Include: kind = "INCLUDE"; break;
    case ItemKind::MenuEntry: kind = "USERMENU"; break;
    case ItemKind::Application: kind = "USERMENU [User Applications]"; break;
  }
  return owner + "\t" + kind + "\t" + target + "\t" + key.item + "\t" + (claim.found ? "found" : "added");
}

}  // namespace

// The ledgers it reads: each installation's that WIN.INI names, the machine's and the user's environment's, and
// the one of the templates in the current folder (a template's ledger lies beside it).
void ListOwners(Services& svc, const CommandLine& line) {
  const std::string caption = svc.tr("QZCL Owners");
  const std::string only = line.Token(2);
  if (!only.empty() && !IsOwnerName(only)) {
    svc.Refused(caption, svc.tr("An owner name is 1 to 64 letters, digits, \".\", \"-\" or \"_\":") + " " + only);
    return;
  }
  std::vector<std::pair<std::string, bool>> ledgers;  // path, whether it is the user's
  auto add = [&](const std::string& path, bool user) {
    if (std::none_of(ledgers.begin(), ledgers.end(), [&](const auto& l) { return Upper(l.first) == Upper(path); }))
      ledgers.push_back({path, user});
  };
  for (const std::string& version : ListedVersions())
    if (const Installation ide = FindInstallation(svc, version); ide.Complete()) add(LedgerOfInstallation(ide), false);
  add(LedgerOfVariables(svc, false), false);
  add(LedgerOfVariables(svc, true), true);
  add(LedgerOfTemplate(svc.files.CurrentDirectory() + "\\x"), false);
  std::string lines;
  for (const auto& [path, user] : ledgers) {
    Ledger ledger;
    if (const FileError error = ReadLedger(svc, path, ledger); error != FileError::None) {
      ShowLedgerFailure(svc, path, {ChangeResult::Failed, error, ChangeStep::Read});
      continue;
    }
    for (const Claim& claim : ledger.Claims())
      for (const std::string& owner : claim.owners)
        if (only.empty() || Upper(owner) == Upper(only))
          lines += (lines.empty() ? "" : "\n") + Line(owner, claim, user);
  }
  svc.Tell(caption, lines.empty() ? svc.tr("No owner claims anything.") : lines);
}

}  // namespace qz
