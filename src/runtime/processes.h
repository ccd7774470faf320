// Starting programs.
#pragma once
#include <string>

namespace qz {

inline constexpr int kStartFailed = -4;

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts commandLine (the program found by the system's usual search) without waiting for it.
  // 0 when a process was created; kStartFailed with errorText set otherwise.
  virtual int Start(const std::string& commandLine, std::string& errorText) = 0;
};

}  // namespace qz
