// File services the program needs from the platform.
#pragma once
#include <string>

namespace qz {

class Files {
 public:
  virtual ~Files() = default;
  virtual bool Exists(const std::string& path) = 0;
  // The current directory, as the platform spells it (no trailing backslash except at a drive root).
  virtual std::string CurrentDirectory() = 0;
  // The short (8.3) form of an existing path; the path itself when there is none.
  virtual std::string ShortPath(const std::string& path) = 0;
};

}  // namespace qz
