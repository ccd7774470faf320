#include "commands/env.h"

#include <optional>
#include <string>

#include "runtime/text.h"
#include "runtime/text_list.h"

namespace qz {

namespace {

constexpr const char* kEnvironmentKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kStartupFile = "C:\\AutoExec.Bat";
constexpr std::size_t kValueMax = 32767;  // the most Windows hands to a program
constexpr std::size_t kLineMax = 255;     // a start-up file line is held in 255 characters
constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  auto start = text.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

// Whether every ";"-separated item of value is already an item of list, letter case not counting.
bool ListHoldsValue(std::string_view list, std::string_view value) {
  for (std::string_view item : SplitList(value))
    if (!IsBlank(item) && !ListHolds(list, item, true)) return false;
  return true;
}

enum class Change { Add, Remove };

void Refuse(Services& svc, Change change, const std::string& name, const std::string& reason) {
  Box box;
  box.caption = svc.tr("Environment Variable");
  box.text = svc.tr(change == Change::Add ? "The value was not added to the environment variable:"
                                          : Phrase("The value was not removed from the environment variable:")) +
             "|" + name + "||" + reason;
  box.icon = Icon::Exclamation;
  box.outcome = Outcome::Error;
  svc.Show(box);
}

// The variable's current value in the machine environment (NT family); nothing, after a box, when it cannot
// be read or is not text. A missing variable reads as an empty text value.
std::optional<RegValue> ReadVariable(Services& svc, Change change, const std::string& name) {
  RegValue current = svc.registry.Read(kEnvironmentKey, name);
  switch (current.result.status) {
    case RegStatus::Ok: break;
    case RegStatus::NotFound: return RegValue{};  // a new variable is plain text, numbers included
    case RegStatus::AccessDenied:
      Refuse(svc, change, name, svc.tr("Access to its current value in the registry was denied."));
      return std::nullopt;
    case RegStatus::TooLarge:
      Refuse(svc, change, name, svc.tr("Its current value is too large to read."));
      return std::nullopt;
    case RegStatus::OtherError:
      Refuse(svc, change, name,
             svc.tr("Its current value could not be read. Windows error:") + " " + std::to_string(current.result.code));
      return std::nullopt;
  }
  if (current.type == RegType::Other) {
    Refuse(svc, change, name, svc.tr("Its current value is not text, so it was left as it is."));
    return std::nullopt;
  }
  return current;
}

// Tells running programs of a change; a change that could not be made is not reported to the user, but an
// unattended run says it in its exit code.
void Changed(Services& svc, const RegResult& result) {
  if (!result.ok()) {
    svc.Fail();
    return;
  }
  svc.registry.BroadcastEnvironmentChange();
}

void AddInRegistry(Services& svc, const std::string& name, const std::string& value) {
  const std::optional<RegValue> current = ReadVariable(svc, Change::Add, name);
  if (!current || ListHoldsValue(current->text, value)) return;
  // The type stays: an expand-string such as PATH must keep expanding its %SystemRoot%.
  std::string updated = IsBlank(current->text) ? value : Clip(current->text) + ";" + value;
  if (updated.size() > kValueMax)
    return Refuse(svc, Change::Add, name,
                  svc.tr("The result would be longer than 32,767 characters, the most Windows allows."));
  Changed(svc, svc.registry.Write(kEnvironmentKey, name, current->type, updated));
}

// Each item of value leaves the list, with one of its ";"; when no item is left, the variable goes.
void RemoveInRegistry(Services& svc, const std::string& name, const std::string& value) {
  const std::optional<RegValue> current = ReadVariable(svc, Change::Remove, name);
  if (!current) return;
  const std::string rest = ListWithout(current->text, value, true);
  if (rest == current->text) return;
  Changed(svc, IsBlank(rest) ? svc.registry.Delete(kEnvironmentKey, name)
                             : svc.registry.Write(kEnvironmentKey, name, current->type, rest));
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

// The start-up file (Windows 95 family).
void AddInStartupFile(Services& svc, const std::string& name, const std::string& value) {
  std::string bytes;
  if (svc.files.ReadAll(kStartupFile, bytes) != FileError::None) {
    svc.Fail();
    return;
  }
  const std::string upperName = Upper(name);
  for (std::string_view line : Lines(bytes)) {
    auto assigned = AssignedText(line.substr(0, kLineMax), upperName);
    if (assigned && ListHoldsValue(*assigned, value)) return;
  }
  std::string added;
  // A last line without its line end is ended first, so the new line never joins it.
  if (!bytes.empty() && bytes.back() != '\n') added += "\r\n";
  added += StartupLine(name, value) + "\r\n";
  if (svc.files.Append(kStartupFile, added) != FileError::None) svc.Fail();
}

// The line ENV appended leaves the start-up file; every other byte stays.
void RemoveInStartupFile(Services& svc, const std::string& name, const std::string& value) {
  const std::string added = Upper(StartupLine(name, value));
  if (RemoveLines(svc.files, kStartupFile, [&](std::string_view l) { return Upper(ClipView(l)) == added; }) !=
      FileError::None)
    svc.Fail();
}

// ENV and UNENV: the name and value, then the start-up file or the registry, by the Windows family.
void ChangeVariable(Services& svc, const CommandLine& line, const char* missing,
                    void (*inStartupFile)(Services&, const std::string&, const std::string&),
                    void (*inRegistry)(Services&, const std::string&, const std::string&)) {
  const std::string name = Clip(line.Token(2));
  const std::string value = Clip(line.Token(3));
  // A value without a name, or nothing to add or remove, is never written.
  if (IsBlank(name) || IsBlank(value)) {
    svc.Missing(svc.tr(missing));
    return;
  }
  (svc.registry.IsWindows95Family() ? inStartupFile : inRegistry)(svc, name, value);
}

}  // namespace

// Silent on success, as installers expect.
void SetEnvironmentVariableCommand(Services& svc, const CommandLine& line) {
  ChangeVariable(svc, line, Phrase("ENV needs a variable name and a value."), AddInStartupFile, AddInRegistry);
}

void RemoveEnvironmentValue(Services& svc, const CommandLine& line) {
  ChangeVariable(svc, line, Phrase("UNENV needs a variable name and a value."), RemoveInStartupFile, RemoveInRegistry);
}

}  // namespace qz
