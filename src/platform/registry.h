// The Windows registry, as far as the machine environment needs it, and which Windows family runs.
#pragma once
#include <string>

namespace qz {

enum class RegStatus { Ok, NotFound, AccessDenied, TooLarge, OtherError };

// How a value is stored; Other covers every non-text type (numbers, binary, lists).
enum class RegType { String, ExpandString, Other };

struct RegResult {
  RegStatus status = RegStatus::Ok;
  unsigned long code = 0;  // the Windows error code behind OtherError
  bool ok() const { return status == RegStatus::Ok; }
};

struct RegValue {
  RegResult result;
  RegType type = RegType::String;
  std::string text;  // the whole text of a String or ExpandString value; empty otherwise
};

// The machine's keys, or those of the user the program runs as.
enum class RegRoot { LocalMachine, CurrentUser };

// Values of the environment, the machine's or the user's: the only places the program reads or writes.
class Registry {
 public:
  virtual ~Registry() = default;
  virtual RegValue Read(RegRoot root, const std::string& key, const std::string& name) = 0;
  // Writes text as a String or ExpandString value, creating the key when it is missing.
  virtual RegResult Write(RegRoot root, const std::string& key, const std::string& name, RegType type,
                          const std::string& text) = 0;
  // Removes the value; a value that is not there is no error.
  virtual RegResult Delete(RegRoot root, const std::string& key, const std::string& name) = 0;
  // Whether a value could be written under key now, found without writing: AccessDenied without the rights.
  virtual RegResult CheckWrite(RegRoot root, const std::string& key) = 0;
  // The LocalSystem account's user environment is nobody's: no person logs on with it.
  virtual bool RunsAsLocalSystem() = 0;
  // Tells running programs that the environment changed, so programs started afterwards see it.
  virtual void BroadcastEnvironmentChange() = 0;
  // The Windows 95 family keeps the machine environment in the start-up file, not in the registry.
  virtual bool IsWindows95Family() = 0;
};

}  // namespace qz
