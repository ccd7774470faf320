// System-wide locks on Win32: one named mutex per target, shared by every session and user of the machine.
#pragma once
#include <string>

#include "platform/locks.h"

namespace qz {

class Win32Locks : public Locks {
 public:
  LockWait Acquire(LockKind kind, const std::string& target, int timeoutMs, std::unique_ptr<Held>& held) override;
};

// The name of the mutex that locks target, the same for every spelling of it; tests and benchmarks hold it
// to play another run.
std::wstring LockName(LockKind kind, const std::string& target);

}  // namespace qz
