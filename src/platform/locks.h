// System-wide locks, one per target the program changes, so that two runs never interleave their reading,
// changing and writing of one file or variable.
#pragma once
#include <memory>
#include <string>

namespace qz {

// Registration: one REG at a time for an installation (the target names its folder), held for its whole run.
enum class LockKind { File, MachineVariable, UserVariable, Registration };
enum class LockWait { Held, Busy, Failed };

// How long a run waits for another run's change of the same target before it gives up.
inline constexpr int kLockWaitMs = 30000;
// A registration may wait 30 seconds for the IDE to start: another one waits for that and more.
inline constexpr int kRegistrationWaitMs = 60000;

class Locks {
 public:
  // The lock is held while this object lives.
  class Held {
   public:
    virtual ~Held() = default;
  };
  virtual ~Locks() = default;
  // Waits up to timeoutMs for the lock of target (a file's path, or a variable's name) and gives it to held.
  // Busy when another program held it all that time; Failed when the lock could not be made at all. One
  // target has one lock however its name is spelt (letter case, a relative path, a short name).
  virtual LockWait Acquire(LockKind kind, const std::string& target, int timeoutMs, std::unique_ptr<Held>& held) = 0;
};

}  // namespace qz
