// The command-line context handed to every command: the parameter text, its tokens,
// the installation record and the item queues.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/services.h"

namespace qz {

struct Token {
  short left = 0;   // 1-based position of the first character in CMD
  short right = 0;  // position of the last character
};

struct Item {
  std::string STR, P2, P3, P4;  // CSTRING(255) each
  std::string SORT;             // CSTRING(100)
  long NUM = 0;
  std::uint8_t ALLFLAG = 0;
};

inline constexpr std::size_t kCmdMax = 254;  // CSTRING(255)

// The parameter text of a whole command line: the program's own name, quoted or not,
// and the blanks after it are skipped.
std::string ParameterText(std::string_view commandLine);
// The first parameter as the runtime splits a command line (commas, "/", doubled quotes).
std::string FirstParameter(std::string_view parameterText);

class CmdContext {
 public:
  explicit CmdContext(Services& services) : svc(services) {}

  Services& svc;

  std::string CMD;   // the parameter text, at most 254 characters
  std::string CMD1;  // the command word, upper case
  std::string CWVERSION, WINSECTIONEE, WINSECTIONPE, CWINIFILE, COMMANDLINE, CWRED;
  long TOKENS = 0;
  std::string SAVAUTOPIC;
  std::string ROOT, CWEXE;
  std::unique_ptr<std::vector<Token>> TOKENQ;
  std::unique_ptr<std::vector<Item>> HELPQ, ITEMQ;

  // Reads the command line, creates the queues and tokenises; always false, so the caller dispatches.
  bool Init();
  void Kill();
  long TokenCount() const { return TOKENQ ? static_cast<long>(TOKENQ->size()) : 0; }
  // Token n (1-based); empty when there is no such token.
  std::string GetToken(std::uint8_t n) const;

  // The installation locator.
  bool SetVersion(std::string_view text);
  bool LocateInstallation();

 private:
  void Tokenise();
};

}  // namespace qz
