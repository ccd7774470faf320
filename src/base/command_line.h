// The command line a command receives: the parameter text, the command word and the tokens.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qz {

inline constexpr std::size_t kCommandTextMax = 254;  // the parameter text is held in 255 bytes

// The parameter text of a whole command line: the program's own name, quoted or not, and the blanks
// after it are skipped.
std::string ParameterText(std::string_view commandLine);
// The first parameter as the runtime splits a command line (commas, "/", doubled quotes).
std::string FirstParameter(std::string_view parameterText);

class CommandLine {
 public:
  // wholeLine is the process's command line, the program's name first.
  explicit CommandLine(std::string_view wholeLine);

  // The parameter text, at most 254 characters.
  const std::string& Text() const { return text_; }
  // The command word, upper case; empty when the program was started without parameters.
  const std::string& Word() const { return word_; }
  int TokenCount() const { return static_cast<int>(tokens_.size()); }
  // Token n (1-based; the command word is token 1); empty when there is no such token.
  std::string Token(int n) const;

 private:
  std::string text_, word_;
  std::vector<std::string> tokens_;
};

}  // namespace qz
