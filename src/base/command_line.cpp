#include "base/command_line.h"

#include "text/text.h"

namespace qz {

namespace {

// Blanks separate tokens and quotes enclose them; a quote always ends a token, "" is an empty one.
std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::size_t start = 0;  // 1-based position of the current token's first character; 0 when none
  bool inQuote = false;
  bool afterBlank = true;
  const std::size_t n = ClipView(text).size();
  std::size_t i = 1;
  auto add = [&] {
    if (start != 0) tokens.push_back(i - 1 >= start ? text.substr(start - 1, i - start) : std::string());
    inQuote = false;
    start = 0;
    afterBlank = false;
  };
  for (; i <= n; ++i) {
    const char c = text[i - 1];
    if (c == ' ') {
      if (inQuote) continue;
      if (afterBlank && start != 0) add();
      afterBlank = true;
    } else if (c == '"') {
      if (inQuote) {
        add();
      } else {
        // Unquoted text pending before the quote is dropped.
        start = i + 1;
        inQuote = true;
      }
    } else if (start == 0) {
      start = i;
    }
  }
  add();
  return tokens;
}

// Reads the switches at the start of text; the rest of text, without the blanks before it.
std::string ReadSwitches(std::string_view text, Switches& switches) {
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const bool quoted = i + 1 < text.size() && text[i] == '"' && text[i + 1] == '/';
    if (i >= text.size() || (text[i] != '/' && !quoted)) return std::string(text.substr(i));
    std::string token;
    for (bool inQuote = false; i < text.size() && (inQuote || (text[i] != ' ' && text[i] != '\t')); ++i) {
      if (text[i] == '"') {
        inQuote = !inQuote;
      } else {
        token += text[i];
      }
    }
    const std::string name = Upper(token.substr(0, token.find('=')));
    if (name == "/UNATTENDED" && name == Upper(token)) {
      switches.unattended = true;
    } else if (name == "/USER" && name == Upper(token)) {
      switches.user = true;
    } else if (name == "/VERSION" && name == Upper(token)) {
      switches.version = true;
    } else if (name == "/WHATIF" && name == Upper(token)) {
      switches.whatIf = true;
    } else if (name == "/LOG" && token.size() > name.size() + 1 && switches.log.empty()) {
      switches.log = token.substr(name.size() + 1);
    } else if (name == "/OWNER" && token.size() > name.size() && !switches.owner) {
      switches.owner = token.substr(name.size() + 1);
    } else if (name == "/ADOPT" && name == Upper(token)) {
      switches.adopt = true;
    } else if (switches.refused.empty()) {
      switches.refused = token;
    }
  }
}

}  // namespace

std::string FirstParameter(std::string_view text) {
  auto isSeparator = [](char c) { return c == ' ' || static_cast<unsigned char>(c) < 32 || c == ','; };
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || static_cast<unsigned char>(text[i]) < 32)) ++i;
  std::string out;
  bool inQuote = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      if (i + 1 < text.size() && text[i + 1] == '"') {
        out += '"';
        ++i;
      } else {
        inQuote = !inQuote;
      }
      continue;
    }
    if (!inQuote && (isSeparator(c) || (c == '/' && !out.empty()))) break;
    out += c;
  }
  return out;
}

CommandLine::CommandLine(std::string_view wholeLine) {
  text_ = ReadSwitches(ParameterText(wholeLine), switches_);
  word_ = Upper(LeftJustify(FirstParameter(text_)));
  tokens_ = Tokens(text_);
}

std::string CommandLine::Token(int n) const {
  if (n < 1 || n > TokenCount()) return {};
  return tokens_[static_cast<std::size_t>(n - 1)];
}

}  // namespace qz
