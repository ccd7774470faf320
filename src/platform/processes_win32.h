#pragma once
#include "platform/processes.h"

namespace qz {

// CreateProcessA with no handles inherited and an environment block without the QZCL_ variables.
class Win32Processes : public Processes {
 public:
  int Start(const ProgramStart& program, std::string& errorText) override;
};

}  // namespace qz
