// The command line a command receives: the parameter text, the command word and the tokens.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qz {

// The parameter text of a whole command line, in the ANSI code page or in UTF-16 as Windows holds it: the
// program's own name, quoted or not, and the blanks after it are skipped.
template <typename Char>
std::basic_string_view<Char> ParameterText(std::basic_string_view<Char> line) {
  std::size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    const auto close = line.find('"', 1);
    i = close == line.npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return line.substr(i);
}
// The first parameter as the runtime splits a command line (commas, "/", doubled quotes).
std::string FirstParameter(std::string_view parameterText);

class CommandLine {
 public:
  // wholeLine is the process's command line, the program's name first.
  explicit CommandLine(std::string_view wholeLine);

  // The parameter text, whole: nothing of a long path or of the arguments after it is lost.
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
