#pragma once
#include "platform/registry.h"

namespace qz {

// The registry API (RegOpenKeyExA, RegQueryValueExA, RegSetValueExA, RegDeleteValueA), WM_SETTINGCHANGE and
// GetVersion.
class Win32Registry : public Registry {
 public:
  RegValue Read(RegRoot root, const std::string& key, const std::string& name) override;
  RegResult Write(RegRoot root, const std::string& key, const std::string& name, RegType type,
                  const std::string& text) override;
  RegResult Delete(RegRoot root, const std::string& key, const std::string& name) override;
  RegResult CheckWrite(RegRoot root, const std::string& key) override;
  bool RunsAsLocalSystem() override;
  void BroadcastEnvironmentChange() override;
  bool IsWindows95Family() override;
};

}  // namespace qz
