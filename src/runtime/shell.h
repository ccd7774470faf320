// The shell: opens a document or program with its default action.
#pragma once
#include <string>

namespace qz {

class Shell {
 public:
  virtual ~Shell() = default;
  // Does not wait and reports nothing: the shell tells the user itself when it cannot open file.
  virtual void Open(const std::string& file) = 0;
};

}  // namespace qz
