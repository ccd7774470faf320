#include "app/cmd_context.h"

#include "runtime/text.h"

namespace qz {

std::string ParameterText(std::string_view line) {
  std::size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    auto close = line.find('"', 1);
    i = close == std::string_view::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return std::string(line.substr(i));
}

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

bool CmdContext::Init() {
  TOKENQ = std::make_unique<std::vector<Token>>();
  ITEMQ = std::make_unique<std::vector<Item>>();
  HELPQ = std::make_unique<std::vector<Item>>();
  std::string params = ParameterText(svc.commandLine);
  CMD = Cut(params, kCmdMax);
  CMD1 = Cut(Upper(LeftJustify(FirstParameter(params))), kCmdMax);
  Tokenise();
  return false;
}

void CmdContext::Kill() {
  TOKENQ.reset();
  ITEMQ.reset();
  HELPQ.reset();
}

void CmdContext::Tokenise() {
  TOKENS = 0;
  int start = 0;
  bool inQuote = false;
  bool afterBlank = true;
  const int n = static_cast<int>(ClipView(CMD).size());
  int i = 1;
  auto add = [&] {
    if (start != 0) {
      TOKENQ->push_back({static_cast<short>(start), static_cast<short>(i - 1)});
      ++TOKENS;
    }
    inQuote = false;
    start = 0;
    afterBlank = false;
  };
  for (; i <= n; ++i) {
    char c = CMD[static_cast<std::size_t>(i - 1)];
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
}

std::string CmdContext::GetToken(std::uint8_t n) const {
  if (!TOKENQ || n < 1 || n > TOKENQ->size()) return {};
  const Token& t = (*TOKENQ)[n - 1u];
  if (t.right < t.left || static_cast<std::size_t>(t.right) > CMD.size()) return {};
  return CMD.substr(static_cast<std::size_t>(t.left - 1), static_cast<std::size_t>(t.right - t.left + 1));
}

}  // namespace qz
