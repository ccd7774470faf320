// Who added what: the ledgers in which the adding commands, run with an owner (/OWNER, QZCL_OWNER), claim each
// item they add, so that an uninstaller takes out only what its own installer added and nothing another add-on
// still needs. A ledger lies beside what it protects, in the INI form a person can read.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/installation.h"
#include "base/services.h"

namespace qz {

// An owner's name: letters, digits, ".", "-" and "_", 1 to 64 characters; compared without regard to case.
bool IsOwnerName(std::string_view name);

// What an item is: a directory of a redirection entry, an item of a variable's value, an #INCLUDE line, an
// AppRef's menu entry, or its value in "User Applications".
enum class ItemKind { Redirection, Variable, Include, MenuEntry, Application };

struct ItemKey {
  ItemKind kind = ItemKind::Redirection;
  std::string target;                           // the file, or the variable's name
  std::string section, entry;                   // where in a redirection file
  std::string item;                             // the directory, the value item, the include file's name, the AppRef
  bool operator==(const ItemKey& other) const;  // without regard to case, as the commands compare them
};

struct Claim {
  ItemKey key;
  bool found = false;                  // the item was there before the first claim
  std::optional<std::string> earlier;  // a value item's value before the first claim
  std::optional<std::string> written;  // a value item's value as QZCL last wrote it
  bool blank = false;                  // QZCL put a blank line before the #INCLUDE line
  std::vector<std::string> owners;     // as each first gave its name
  bool ClaimedBy(std::string_view owner) const;
};

class Ledger {
 public:
  // Nothing when the bytes are not a ledger this program wrote (a damaged file is never taken for an empty one).
  static std::optional<Ledger> Parse(std::string_view bytes);
  // Empty when no claim is left: the file goes.
  std::string Bytes() const;
  Claim* Find(const ItemKey& key);
  const std::vector<Claim>& Claims() const { return claims_; }

  // The owner claims the item, which is (present) or is not there now and holds before; an item there that
  // nobody claimed yet was found, unless the owner adopts it. written is the value QZCL writes for it now, and
  // blank whether it puts a blank line before it now.
  void AddClaim(const ItemKey& key, std::string_view owner, bool present, bool adopt,
                const std::optional<std::string>& before, const std::optional<std::string>& written, bool blank);
  // Drops the owner's claim on the item (every claim when the owner is empty); the item's record goes with its
  // last claim.
  void DropClaim(const ItemKey& key, std::string_view owner);

 private:
  std::vector<Claim> claims_;
};

// What a removal does with an item.
enum class Removal {
  Remove,      // take it out
  Keep,        // leave it: another owner claims it, or it was there before
  Restore,     // put its earlier value back
  NotClaimed,  // the owner never claimed it: nothing changes
};
struct RemovalPlan {
  Removal what = Removal::Remove;
  std::string earlier;              // the value to put back
  std::vector<std::string> others;  // the owners that claim it besides the one removing it
};
// With an owner, the item goes only with the last claim, and only when it was not found; a replaced value goes
// back to its earlier one while it is still what QZCL wrote. Without an owner it goes (others names who still
// claimed it). current is a value item's value now.
RemovalPlan PlanRemoval(Ledger* ledger, const ItemKey& key, std::string_view owner,
                        const std::optional<std::string>& current = std::nullopt);

// Where the ledgers lie: beside the IDE's files, beside a template, and for the machine's or the user's
// environment in the program's data folder.
std::string LedgerOfInstallation(const Installation& ide);
std::string LedgerOfTemplate(const std::string& templateFile);
std::string LedgerOfVariables(Services& svc, bool user);

// The ledger as it is (a missing file is an empty ledger); the reason when it is damaged or cannot be read.
FileError ReadLedger(Services& svc, const std::string& path, Ledger& ledger);
// Changes the ledger the one way, under its own lock (always taken after the target's); the folder is made.
FileChange ChangeLedger(Services& svc, const std::string& path, const std::function<void(Ledger&)>& change);
// The box of a command that stopped because of its ledger: the file named, the reason, nothing changed.
void ShowLedgerFailure(Services& svc, const std::string& path, const FileChange& change);

// What one command's owners part needs: the owner, the ledger, and the first failure to show once the
// target's lock is let go.
struct Owners {
  Owners(Services& services, std::string ledgerPath) : svc(services), path(std::move(ledgerPath)) {}
  Services& svc;
  std::string path;              // the ledger
  std::optional<Ledger> ledger;  // read under the target's lock
  FileChange failure{ChangeResult::Unchanged};
  std::vector<std::string> notes;  // said once the lock is let go

  const std::string& Owner() const { return svc.owner; }
  // Reads the ledger afresh (the notes of an earlier read go); false (the failure noted) when it cannot be used.
  bool Read();
  // Writes the ledger's change; false (the failure noted) when it could not be made.
  bool Change(const std::function<void(Ledger&)>& change);
  // After a removal: drops the owner's claims on the items (every claim on them without an owner), when the
  // ledger as read holds any.
  void Drop(const std::vector<ItemKey>& keys);
  // After the target's lock: the failure's box, or the notes in an unattended run's log.
  void Finish();
  // The claims and their owners a removal planned, for the notes: said when an item goes that owners claim,
  // and when the owner never claimed one.
  void Note(const RemovalPlan& plan, const std::string& item);

  // For the ";"-separated lists (a redirection entry, a variable), whose items list is now:
  // the owner claims each item (nothing without an owner); false (the failure noted) when the ledger was not
  // changed, so that the list is not changed either.
  bool ClaimListItems(const std::vector<ItemKey>& items, std::string_view list);
  // The items a removal takes out of list, ";"-separated, with the notes; the ledger must have been read.
  std::string ListItemsToRemove(const std::vector<ItemKey>& items, std::string_view list);
};

// The keys of the non-blank items of a ";"-separated value, as the ledger names them.
std::vector<ItemKey> ListItemKeys(ItemKind kind, const std::string& target, const std::string& section,
                                  const std::string& entry, std::string_view value);

}  // namespace qz
