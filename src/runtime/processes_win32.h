#pragma once
#include "runtime/processes.h"

namespace qz {

// CreateProcessA with the command line alone, so the system searches for the program as usual.
class Win32Processes : public Processes {
 public:
  int Start(const std::string& commandLine, std::string& errorText) override;
};

}  // namespace qz
