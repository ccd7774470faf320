#include "commands/run.h"

#include "text/text.h"

namespace qz {

void OpenWithShell(Services& svc, const CommandLine& line) {
  std::string joined;
  for (int k = 2; k <= line.TokenCount(); ++k) {
    std::string token = line.Token(k);
    // Leading blanks move to the end, and a token with a blank goes in quotes again.
    const std::size_t lead = token.find_first_not_of(' ') == std::string::npos ? 0 : token.find_first_not_of(' ');
    token = token.substr(lead) + std::string(lead, ' ');
    if (token.find(' ') != std::string::npos) token = '"' + token + '"';
    joined = joined.empty() ? token : joined + " " + token;
  }
  if (!joined.empty()) {
    // The whole text goes to the shell as the thing to open: no command interpreter sees it.
    svc.shell.Open(joined);
    return;
  }
  svc.Refused(svc.tr("Run Command Error"),
              svc.tr("The Run command Should be RUN CommandLine.") + "|  " + svc.tr("The Actuall Command is:") + " " +
                  line.Text(),
              Icon::WinLogo);
}

}  // namespace qz
