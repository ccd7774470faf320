#include "commands/env.h"

#include <optional>
#include <string>

#include "base/ini_file.h"
#include "base/owners.h"
#include "text/text.h"
#include "text/text_list.h"

namespace qz {

namespace {

// Where a variable is kept: the machine's environment, or the current user's (/USER).
struct Scope {
  RegRoot root;
  const char* key;
  LockKind lock;
};
constexpr Scope kMachine{RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                         LockKind::MachineVariable};
constexpr Scope kUser{RegRoot::CurrentUser, "Environment", LockKind::UserVariable};
constexpr const char* kStartupFile = "C:\\AutoExec.Bat";
constexpr std::size_t kValueMax = 32767;  // the most Windows hands to a program
constexpr std::string_view kBlanks = " \t";

// list with each ";"-separated item of value that it does not hold yet (letter case not counting) added, in
// the order given, after a ";".
std::string WithItems(std::string list, std::string_view value) {
  for (std::string_view item : SplitList(value)) {
    if (IsBlank(item) || (!IsBlank(list) && ListHolds(list, item, true))) continue;
    list = IsBlank(list) ? Clip(item) : Clip(list) + ";" + Clip(item);
  }
  return list;
}

enum class Change { Add, Remove };

void Refuse(Services& svc, Change change, const std::string& name, const std::string& reason) {
  svc.Error(svc.tr("Environment Variable"),
            svc.tr(change == Change::Add ? "The value was not added to the environment variable:"
                                         : Phrase("The value was not removed from the environment variable:")) +
                "|" + name + "||" + reason);
}

// Said where the machine's environment refused a change for lack of rights.
std::string UserHint(Services& svc, const Scope& scope) {
  return scope.root == RegRoot::LocalMachine ? " " + svc.tr("/USER changes the current user's environment instead.")
                                             : std::string();
}

// The variable's current value (NT family); nothing, with why, when it cannot be read or is not text. A missing
// variable reads as an empty text value.
std::optional<RegValue> ReadVariable(Services& svc, const Scope& scope, const std::string& name, std::string& why) {
  RegValue current = svc.registry.Read(scope.root, scope.key, name);
  switch (current.result.status) {
    case RegStatus::Ok: break;
    case RegStatus::NotFound: return current;  // a new variable is plain text, numbers included
    case RegStatus::AccessDenied:
      why = svc.tr("Access to its current value in the registry was denied.") + UserHint(svc, scope);
      break;
    case RegStatus::TooLarge: why = svc.tr("Its current value is too large to read."); break;
    case RegStatus::OtherError:
      why = svc.tr("Its current value could not be read. Windows error:") + " " + std::to_string(current.result.code);
      break;
  }
  if (current.result.ok() && current.type == RegType::Other)
    why = svc.tr("Its current value is not text, so it was left as it is.");
  return why.empty() ? std::optional(current) : std::nullopt;
}

std::string WriteFailure(Services& svc, const Scope& scope, const RegResult& written) {
  return written.status == RegStatus::AccessDenied ? svc.tr("Access is denied.") + UserHint(svc, scope)
         : !written.ok()                           ? svc.tr("Windows error:") + " " + std::to_string(written.code)
                                                   : svc.tr("It did not read back as written.");
}

// Writes the variable's new value (none: it goes) and reads it back, then tells running programs of the change.
// A value that does not come back as written is put back as it was before. ENV shows nothing, so a failure is
// said in an unattended run's log only. A dry run reports the change and whether it could be written.
bool Store(Services& svc, const Scope& scope, const std::string& name, const RegValue& before,
           const std::optional<std::string>& text) {
  auto report = [&] {
    const bool existed = before.result.status != RegStatus::NotFound;
    svc.Report().Variable(
        (scope.root == RegRoot::LocalMachine ? "HKLM\\" : "HKCU\\") + std::string(scope.key) + "\\" + name,
        existed ? std::optional(before.text) : std::nullopt, text,
        before.type == RegType::ExpandString ? "REG_EXPAND_SZ" : "REG_SZ");
  };
  Registry& registry = svc.registry;
  RegResult written;
  if (svc.DryRun()) {
    report();
    written = registry.CheckWrite(scope.root, scope.key);
    if (written.ok()) return true;
  } else {
    written = text ? registry.Write(scope.root, scope.key, name, before.type, *text)
                   : registry.Delete(scope.root, scope.key, name);
    const RegValue now = registry.Read(scope.root, scope.key, name);
    if (written.ok() && (text ? now.result.ok() && now.type == before.type && now.text == *text
                              : now.result.status == RegStatus::NotFound)) {
      report();
      svc.registry.BroadcastEnvironmentChange();
      return true;
    }
    if (written.ok()) {
      if (before.result.status == RegStatus::NotFound) {
        registry.Delete(scope.root, scope.key, name);
      } else {
        registry.Write(scope.root, scope.key, name, before.type, before.text);
      }
    }
  }
  svc.Quiet(Outcome::Error, svc.tr("The environment variable was not changed:") + " " + name + ": " +
                                WriteFailure(svc, scope, written));
  return false;
}

// Under the variable's lock: the items added or taken out, with their claims in the ledger; why it was refused
// goes to refused, for a box once the lock is let go.
void ChangeItems(Services& svc, const Scope& scope, Change change, const std::string& name, const std::string& value,
                 const RegValue& current, Owners& owners, std::string& refused) {
  const std::vector<ItemKey> items = ListItemKeys(ItemKind::Variable, name, "", "", value);
  std::string next;
  if (change == Change::Add) {
    // The claims before the value: a kill between them leaves a claim that the next run settles.
    next = owners.ClaimListItems(items, current.text) ? WithItems(current.text, value) : current.text;
  } else {
    if (current.result.status == RegStatus::NotFound)
      svc.Quiet(Outcome::Info,
                svc.tr("The environment variable does not exist, so there is nothing to remove:") + " " + name);
    if (!owners.Read()) return;
    next = ListWithout(current.text, owners.ListItemsToRemove(items, current.text), true);
  }
  bool stored = true;
  if (next != current.text) {
    if (next.size() > kValueMax) {
      refused = svc.tr("The result would be longer than 32,767 characters, the most Windows allows.");
      stored = false;
    } else {
      // The type stays: an expand-string such as PATH must keep expanding its %SystemRoot%.
      stored = Store(svc, scope, name, current, IsBlank(next) ? std::nullopt : std::optional(next));
    }
  }
  // The claims go once the items are out, so that a kill between leaves claims on items that are gone, which
  // the next removal drops.
  if (change == Change::Remove && stored) owners.Drop(items);
}

// Adds each item of value that is not listed yet, or takes out each one that is; when no item is left, the
// variable goes. Under the variable's lock, so that two runs never lose each other's items; a box that says
// why nothing was changed waits until the lock is let go.
void ChangeInRegistry(Services& svc, const Scope& scope, Change change, const std::string& name,
                      const std::string& value) {
  std::string refused;
  Owners owners{svc, LedgerOfVariables(svc, scope.root == RegRoot::CurrentUser)};
  {
    std::unique_ptr<Locks::Held> lock;
    // A dry run takes no lock: it must neither wait for nor hold up a run that changes the variable.
    switch (svc.DryRun() ? LockWait::Held : svc.locks.Acquire(scope.lock, name, kLockWaitMs, lock)) {
      case LockWait::Held: break;
      case LockWait::Busy:
        svc.Busy(svc.tr("Environment Variable"), svc.tr("Another run of QZCL is changing this variable:") + "|  " +
                                                     name + "||" +
                                                     svc.tr("Nothing was changed. Try again when it has finished."));
        return;
      case LockWait::Failed: svc.Fail(); return;
    }
    if (const std::optional<RegValue> current = ReadVariable(svc, scope, name, refused))
      ChangeItems(svc, scope, change, name, value, *current, owners, refused);
  }
  owners.Finish();
  if (!refused.empty()) Refuse(svc, change, name, refused);
}

// The text a start-up file line assigns to the variable (upper-case name), or nothing when the line does
// not set it: "NAME=...", "SET NAME=..." and, for PATH, the statement form "PATH ...".
std::optional<std::string_view> AssignedText(std::string_view line, const std::string& name) {
  line = Trim(line);
  std::string upper = Upper(line);
  if (upper.starts_with("REM")) return std::nullopt;
  std::size_t at = 0;
  if (upper.starts_with("SET") && upper.size() > 3 && kBlanks.find(upper[3]) != std::string_view::npos)
    at = upper.find_first_not_of(kBlanks, 3);
  if (at == std::string::npos || upper.compare(at, name.size(), name) != 0) return std::nullopt;
  at += name.size();
  std::size_t sign = upper.find_first_not_of(kBlanks, at);
  if (sign != std::string::npos && upper[sign] == '=') return line.substr(sign + 1);
  if (name == "PATH" && at == 4 && sign != std::string::npos && sign > at) return line.substr(sign);
  return std::nullopt;
}

// The line ENV adds to the start-up file.
std::string StartupLine(const std::string& name, const std::string& value) {
  const std::string upperName = Upper(name);
  return upperName + "=" + Upper(value) + ";%" + upperName + "%";
}

// The start-up file (Windows 95 family), changed the one way; a failure is not reported to the user.
void ChangeStartupFile(Services& svc, const Rebuild& rebuild) {
  if (!ChangeFile(svc.Access(), kStartupFile, WhenMissing::Fail, rebuild).Done()) svc.Fail();
}

void AddInStartupFile(Services& svc, const std::string& name, const std::string& value) {
  ChangeStartupFile(svc, [&](std::string_view bytes, std::string& next) {
    for (std::string_view line : Lines(bytes)) {
      auto assigned = AssignedText(line, Upper(name));
      if (assigned && WithItems(std::string(*assigned), value) == *assigned) return FileError::None;
    }
    // A last line without its line end is ended first, so the new line never joins it.
    if (!bytes.empty() && bytes.back() != '\n') next += "\r\n";
    next += StartupLine(name, value) + "\r\n";
    return FileError::None;
  });
}

// The line ENV appended leaves the start-up file; every other byte stays.
void RemoveInStartupFile(Services& svc, const std::string& name, const std::string& value) {
  const std::string added = Upper(StartupLine(name, value));
  ChangeStartupFile(svc, [&](std::string_view bytes, std::string& next) {
    next = WithoutLines(bytes, [&](std::string_view l) { return Upper(ClipView(l)) == added; });
    return FileError::None;
  });
}

// ENV and UNENV: the name and value, then the start-up file or the registry, by the Windows family.
void ChangeVariable(Services& svc, const CommandLine& line, Change change, const char* missing,
                    void (*inStartupFile)(Services&, const std::string&, const std::string&)) {
  const std::string name = Clip(line.Token(2));
  const std::string value = Clip(line.Token(3));
  // A value without a name, or nothing to add or remove, is never written.
  if (IsBlank(name) || IsBlank(value)) {
    svc.Quiet(Outcome::Usage, svc.tr(missing));
    return;
  }
  // "=" would end the name where Windows builds a program's environment, and a line break or NUL would end
  // the name or the value there.
  constexpr std::string_view kBreaks("\r\n\0", 3);
  const bool badName = name.find_first_of(std::string_view("=\r\n\0", 4)) != std::string::npos;
  if (badName || value.find_first_of(kBreaks) != std::string::npos) {
    RefuseText(svc, svc.tr("Environment Variable"),
               badName ? Phrase("This name cannot be given to an environment variable:")
                       : Phrase("This text cannot be written to an environment variable:"),
               badName ? name : value);
    return;
  }
  const bool user = line.Options().user;
  if (user && svc.registry.RunsAsLocalSystem()) {
    svc.Refused(svc.tr("Environment Variable"),
                svc.tr("/USER cannot be used by a program that runs as LocalSystem: its environment is nobody's.") +
                    "||" + svc.tr("Nothing was changed."));
    return;
  }
  if (svc.registry.IsWindows95Family()) return inStartupFile(svc, name, value);
  ChangeInRegistry(svc, user ? kUser : kMachine, change, name, value);
}

}  // namespace

// Silent on success, as installers expect.
void SetEnvironmentVariableCommand(Services& svc, const CommandLine& line) {
  ChangeVariable(svc, line, Change::Add, Phrase("ENV needs a variable name and a value."), AddInStartupFile);
}

void RemoveEnvironmentValue(Services& svc, const CommandLine& line) {
  ChangeVariable(svc, line, Change::Remove, Phrase("UNENV needs a variable name and a value."), RemoveInStartupFile);
}

}  // namespace qz
