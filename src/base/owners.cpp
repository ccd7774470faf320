#include "base/owners.h"

#include <algorithm>

#include "base/ini_file.h"
#include "text/text.h"
#include "text/text_list.h"

namespace qz {

namespace {

constexpr const char* kLedgerName = "QZCL.owners";
constexpr std::string_view kHeader =
    "; Who added what with QZCL: each item an installer added with /OWNER, whether it was there before the first\r\n"
    "; claim (Found), and the owners that claim it. QZCL's help page describes this file.\r\n";

struct KindName {
  ItemKind kind;
  std::string_view name;
};
constexpr KindName kKinds[] = {{ItemKind::Redirection, "RED"},
                               {ItemKind::Variable, "ENV"},
                               {ItemKind::Include, "INCLUDE"},
                               {ItemKind::MenuEntry, "MENU"},
                               {ItemKind::Application, "APPLICATION"}};

std::string_view NameOf(ItemKind kind) {
  for (const KindName& k : kKinds)
    if (k.kind == kind) return k.name;
  return "";
}

bool Same(std::string_view a, std::string_view b) { return Upper(a) == Upper(b); }

// The keys of a record, in the order they are written; the target's and the item's key names depend on the kind.
const char* TargetKey(ItemKind kind) { return kind == ItemKind::Variable ? "Variable" : "File"; }
const char* ItemName(ItemKind kind) {
  return kind == ItemKind::MenuEntry || kind == ItemKind::Application ? "AppRef" : "Item";
}

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ",") + name;
  return joined;
}

}  // namespace

bool IsOwnerName(std::string_view name) {
  return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
  });
}

bool ItemKey::operator==(const ItemKey& other) const {
  // A directory with or without its final backslash is one directory, as the list functions take it.
  auto itemOf = [](const ItemKey& k) {
    std::string i = Clip(k.item);
    if (k.kind != ItemKind::MenuEntry && k.kind != ItemKind::Application && i.size() > 1 && i.back() == '\\')
      i.pop_back();
    return Upper(i);
  };
  return kind == other.kind && Same(target, other.target) && Same(section, other.section) && Same(entry, other.entry) &&
         itemOf(*this) == itemOf(other);
}

bool Claim::ClaimedBy(std::string_view owner) const {
  return std::any_of(owners.begin(), owners.end(), [&](const std::string& o) { return Same(o, owner); });
}

std::optional<Ledger> Ledger::Parse(std::string_view bytes) {
  Ledger ledger;
  Claim* claim = nullptr;
  for (std::string_view line : Lines(bytes)) {
    if (IsBlank(line) || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']') return std::nullopt;
      claim = &ledger.claims_.emplace_back();
      claim->key.kind = static_cast<ItemKind>(-1);
      continue;
    }
    const std::size_t sign = line.find('=');
    if (!claim || sign == std::string_view::npos) return std::nullopt;
    const std::string key(line.substr(0, sign));
    const std::string value(line.substr(sign + 1));
    if (key == "Kind") {
      for (const KindName& k : kKinds)
        if (k.name == value) claim->key.kind = k.kind;
    } else if (key == "File" || key == "Variable") {
      claim->key.target = value;
    } else if (key == "Section") {
      claim->key.section = value;
    } else if (key == "Entry") {
      claim->key.entry = value;
    } else if (key == "Item" || key == "AppRef") {
      claim->key.item = value;
    } else if (key == "Found" || key == "Blank") {
      if (value != "Yes" && value != "No") return std::nullopt;
      (key == "Found" ? claim->found : claim->blank) = value == "Yes";
    } else if (key == "Earlier") {
      claim->earlier = value;
    } else if (key == "Written") {
      claim->written = value;
    } else if (key == "Owners") {
      std::size_t start = 0;
      for (std::size_t comma; start <= value.size(); start = comma + 1) {
        comma = std::min(value.find(',', start), value.size());
        const std::string owner = value.substr(start, comma - start);
        if (!IsOwnerName(owner)) return std::nullopt;
        claim->owners.push_back(owner);
      }
    } else {
      return std::nullopt;
    }
  }
  for (const Claim& c : ledger.claims_)
    if (NameOf(c.key.kind).empty() || c.key.target.empty() || c.key.item.empty() || c.owners.empty())
      return std::nullopt;
  return ledger;
}

std::string Ledger::Bytes() const {
  if (claims_.empty()) return {};
  std::string bytes(kHeader);
  int n = 0;
  for (const Claim& c : claims_) {
    const ItemKind kind = c.key.kind;
    bytes += "\r\n[Item " + std::to_string(++n) + "]\r\nKind=" + std::string(NameOf(kind)) + "\r\n" + TargetKey(kind) +
             "=" + c.key.target + "\r\n";
    if (kind == ItemKind::Redirection) bytes += "Section=" + c.key.section + "\r\nEntry=" + c.key.entry + "\r\n";
    bytes += std::string(ItemName(kind)) + "=" + c.key.item + "\r\nFound=" + (c.found ? "Yes" : "No") + "\r\n";
    if (kind == ItemKind::Include) bytes += std::string("Blank=") + (c.blank ? "Yes" : "No") + "\r\n";
    if (c.earlier) bytes += "Earlier=" + *c.earlier + "\r\n";
    if (c.written) bytes += "Written=" + *c.written + "\r\n";
    bytes += "Owners=" + Joined(c.owners) + "\r\n";
  }
  return bytes;
}

Claim* Ledger::Find(const ItemKey& key) {
  auto it = std::find_if(claims_.begin(), claims_.end(), [&](const Claim& c) { return c.key == key; });
  return it == claims_.end() ? nullptr : &*it;
}

void Ledger::AddClaim(const ItemKey& key, std::string_view owner, bool present, bool adopt,
                      const std::optional<std::string>& before, const std::optional<std::string>& written, bool blank) {
  Claim* claim = Find(key);
  if (!claim) {
    claim = &claims_.emplace_back();
    claim->key = key;
    claim->found = present && !adopt;
    if (present) claim->earlier = before;
  } else if (!present) {
    // Taken out by hand since: QZCL adds it again, and it was not there before this claim.
    claim->found = false;
    claim->earlier.reset();
  }
  if (written) claim->written = written;
  if (!present) claim->blank = blank;
  if (!claim->ClaimedBy(owner)) claim->owners.emplace_back(owner);
}

void Ledger::DropClaim(const ItemKey& key, std::string_view owner) {
  Claim* claim = Find(key);
  if (!claim) return;
  std::erase_if(claim->owners, [&](const std::string& o) { return owner.empty() || Same(o, owner); });
  if (claim->owners.empty()) std::erase_if(claims_, [&](const Claim& c) { return &c == claim; });
}

RemovalPlan PlanRemoval(Ledger* ledger, const ItemKey& key, std::string_view owner,
                        const std::optional<std::string>& current) {
  RemovalPlan plan;
  const Claim* claim = ledger ? ledger->Find(key) : nullptr;
  if (claim)
    for (const std::string& o : claim->owners)
      if (!Same(o, owner)) plan.others.push_back(o);
  if (owner.empty()) return plan;
  if (!claim || !claim->ClaimedBy(owner)) {
    plan.what = Removal::NotClaimed;
  } else if (!plan.others.empty()) {
    plan.what = Removal::Keep;
  } else if (claim->found) {
    // The user's own item stays; a value QZCL replaced goes back, unless someone changed it since.
    const bool replaced = claim->earlier && claim->written && *claim->earlier != *claim->written;
    plan.what = replaced && current == claim->written ? Removal::Restore : Removal::Keep;
    if (plan.what == Removal::Restore) plan.earlier = *claim->earlier;
  }
  return plan;
}

std::string LedgerOfInstallation(const Installation& ide) { return ide.root + "\\BIN\\" + kLedgerName; }

std::string LedgerOfTemplate(const std::string& templateFile) {
  const std::size_t slash = templateFile.find_last_of("\\/:");
  return (slash == std::string::npos ? std::string() : templateFile.substr(0, slash + 1)) + kLedgerName;
}

std::string LedgerOfVariables(Services& svc, bool user) {
  return svc.files.DataFolder(user) + "\\QZCL\\" + (user ? "user.owners" : "machine.owners");
}

FileError ReadLedger(Services& svc, const std::string& path, Ledger& ledger) {
  std::string bytes;
  const FileError error = svc.files.ReadAll(path, bytes);
  if (error != FileError::None && !IsMissing(error)) return error;
  std::optional<Ledger> read = Ledger::Parse(bytes);
  if (!read) return FileError::InvalidData;
  ledger = std::move(*read);
  return FileError::None;
}

FileChange ChangeLedger(Services& svc, const std::string& path, const std::function<void(Ledger&)>& change) {
  return ChangeFile(svc.Access(), path, WhenMissing::UntilEmpty, [&](std::string_view bytes, std::string& next) {
    std::optional<Ledger> ledger = Ledger::Parse(bytes);
    if (!ledger) return FileError::InvalidData;
    change(*ledger);
    next = ledger->Bytes();
    // The program's data folder is made with its first ledger.
    const std::size_t slash = path.find_last_of('\\');
    if (bytes.empty() && !next.empty() && !svc.DryRun() && slash != std::string::npos)
      svc.files.MakeFolder(path.substr(0, slash));
    return FileError::None;
  });
}

void ShowLedgerFailure(Services& svc, const std::string& path, const FileChange& change) {
  ShowFileFailure(svc,
                  {svc.tr("QZCL Owners"), Phrase("The owners file could not be read:"),
                   Phrase("The owners file could not be written:")},
                  path, change);
}

bool Owners::Read() {
  notes.clear();
  Ledger read;
  const FileError error = ReadLedger(svc, path, read);
  if (error != FileError::None) {
    failure = {ChangeResult::Failed, error, ChangeStep::Read};
    return false;
  }
  ledger = std::move(read);
  return true;
}

bool Owners::Change(const std::function<void(Ledger&)>& change) {
  const FileChange done = ChangeLedger(svc, path, change);
  if (!done.Done() && failure.Done()) failure = done;
  return done.Done();
}

void Owners::Drop(const std::vector<ItemKey>& keys) {
  if (!ledger || std::none_of(keys.begin(), keys.end(), [&](const ItemKey& key) { return ledger->Find(key); })) return;
  Change([&](Ledger& changed) {
    for (const ItemKey& key : keys) changed.DropClaim(key, Owner());
  });
}

void Owners::Finish() {
  if (!failure.Done()) {
    ShowLedgerFailure(svc, path, failure);
    return;
  }
  for (const std::string& note : notes) svc.Quiet(Outcome::Info, note);
}

bool Owners::ClaimListItems(const std::vector<ItemKey>& items, std::string_view list) {
  if (Owner().empty()) return true;
  return Change([&](Ledger& changed) {
    for (const ItemKey& key : items)
      changed.AddClaim(key, Owner(), ListHolds(list, key.item, true), svc.adopt, std::nullopt, std::nullopt, false);
  });
}

std::string Owners::ListItemsToRemove(const std::vector<ItemKey>& items, std::string_view list) {
  std::string takeOut;
  for (const ItemKey& key : items) {
    const RemovalPlan plan = PlanRemoval(&*ledger, key, Owner());
    if (plan.what == Removal::Remove) takeOut += (takeOut.empty() ? "" : ";") + key.item;
    if (plan.what != Removal::Remove || ListHolds(list, key.item, true)) Note(plan, key.item);
  }
  return takeOut;
}

std::vector<ItemKey> ListItemKeys(ItemKind kind, const std::string& target, const std::string& section,
                                  const std::string& entry, std::string_view value) {
  std::vector<ItemKey> keys;
  for (std::string_view item : SplitList(value))
    if (!IsBlank(item)) keys.push_back({kind, target, section, entry, Clip(item)});
  return keys;
}

void Owners::Note(const RemovalPlan& plan, const std::string& item) {
  if (plan.what == Removal::NotClaimed)
    notes.push_back(svc.tr("This owner never claimed the item, so it was left:") + " " + Owner() + ": " + item);
  else if (plan.what == Removal::Remove && !plan.others.empty())
    notes.push_back(svc.tr("Taken out, though these owners claimed it:") + " " + Joined(plan.others) + ": " + item);
}

}  // namespace qz
