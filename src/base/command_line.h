// The command line a command receives: the parameter text, the command word and the tokens.
#pragma once
#include <optional>
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
// The first parameter as the program has always split a command line (commas, "/", doubled quotes).
std::string FirstParameter(std::string_view parameterText);

// The switches that may stand before the command word (after it every token is an argument). Each is one
// token of its own: blanks inside quotes belong to it, and the quotes are dropped ("/LOG=C:\My Logs\x.log").
struct Switches {
  bool unattended = false;           // /UNATTENDED: as QZCL_UNATTENDED=1, for callers that cannot set a variable
  bool user = false;                 // /USER: ENV and UNENV change the current user's environment
  bool version = false;              // /VERSION: alone, the program's version
  bool whatIf = false;               // /WHATIF: a dry run, which shows what the command would change
  std::string log;                   // /LOG=file: the file a block about the run is appended to
  std::optional<std::string> owner;  // /OWNER=name: who claims what the command adds, as given
  bool adopt = false;                // /ADOPT: items already there are claimed as the owner's
  std::string refused;               // the first switch that is not known or not available yet, as given
  bool Any() const {
    return unattended || user || version || whatIf || !log.empty() || owner || adopt || !refused.empty();
  }
};

class CommandLine {
 public:
  // wholeLine is the process's command line, the program's name first.
  explicit CommandLine(std::string_view wholeLine);

  const Switches& Options() const { return switches_; }
  // The parameter text after the switches, whole: nothing of a long path or of the arguments after it is lost.
  const std::string& Text() const { return text_; }
  // The command word, upper case; empty when the program was started without parameters.
  const std::string& Word() const { return word_; }
  int TokenCount() const { return static_cast<int>(tokens_.size()); }
  // Token n (1-based; the command word is token 1); empty when there is no such token.
  std::string Token(int n) const;

 private:
  Switches switches_;
  std::string text_, word_;
  std::vector<std::string> tokens_;
};

}  // namespace qz
