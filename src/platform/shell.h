// The shell: opens a document or program with its default action.
#pragma once
#include <string>

namespace qz {

class Shell {
 public:
  virtual ~Shell() = default;
  // Does not wait and reports nothing: the shell tells the user itself when it cannot open file.
  virtual void Open(const std::string& file) = 0;
  // The help page at a section: a "file:" address with a "#" part, which the shell would drop, handed to the
  // program that opens HTML pages.
  virtual void OpenHelpPage(const std::string& address) = 0;
};

}  // namespace qz
