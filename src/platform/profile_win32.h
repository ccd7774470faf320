#pragma once
#include "platform/profile.h"

namespace qz {

// The Windows profile API (GetProfileStringA, GetPrivateProfileStringA and the Write family).
class Win32Profile : public Profile {
 public:
  std::string Read(const std::string& file, const std::string& section, const std::string& entry,
                   const std::string& def) override;
  bool Write(const std::string& file, const std::string& section, const std::string& entry,
             const std::string& value) override;
};

}  // namespace qz
