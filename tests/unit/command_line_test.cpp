#include <gtest/gtest.h>

#include "base/command_line.h"

namespace qz {
namespace {

using Tokens = std::vector<std::string>;

Tokens TokensOf(const std::string& wholeLine) {
  const CommandLine line(wholeLine);
  Tokens out;
  for (int i = 1; i <= line.TokenCount(); ++i) out.push_back(line.Token(i));
  return out;
}

TEST(command_line, splits_the_parameter_text_as_installers_write_it) {
  struct Case {
    std::string line;
    Tokens tokens;
  } cases[] = {
      {R"(qzcl.exe RUN "C:\Program Files\x.exe" a)", {"RUN", R"(C:\Program Files\x.exe)", "a"}},
      {"qzcl RED   Common    *.tpl", {"RED", "Common", "*.tpl"}},
      {"qzcl CMD        ", {"CMD"}},
      {R"(qzcl RUN "a b)", {"RUN", "a b"}},                        // unterminated quote: rest of the line
      {R"(qzcl "a b"c d)", {"a b", "c d"}},                          // text after a closing quote runs on
      {R"(qzcl x"y z")", {"y z"}},                                    // text before an opening quote is dropped
      {R"(qzcl RUN "" a)", {"RUN", "", "a"}},                        // empty quotes are an empty token
      {"qzcl USERMENU QZ &Tools+Run-QZ qz.exe", {"USERMENU", "QZ", "&Tools+Run-QZ", "qz.exe"}},
      {R"("C:\Program Files\qzcl.exe"   menu a)", {"menu", "a"}},    // quoted program name skipped
      {"qzcl", {}},
      {"qzcl RUN " + std::string(300, 'x') + " tail", {"RUN", std::string(250, 'x')}},  // cut at 254 characters
  };
  for (const auto& c : cases) EXPECT_EQ(TokensOf(c.line), c.tokens) << c.line;
  const CommandLine line("qzcl RED a b");
  EXPECT_EQ(line.Token(5), "");
  EXPECT_EQ(line.Token(0), "");
}

TEST(command_line, the_word_is_the_first_parameter_as_the_runtime_splits_it) {
  struct Case {
    const char* line;
    const char* word;
  } cases[] = {
      {"qzcl redirect a b c", "REDIRECT"},
      {"qzcl Menu x", "MENU"},
      {"qzcl CMD,EXTRA", "CMD"},            // a comma ends a parameter
      {"qzcl EDIT/6", "EDIT"},              // so does a "/" that is not its first character
      {"qzcl /EDIT", "/EDIT"},
      {R"(qzcl "ed"it x)", "EDIT"},          // quotes group and are dropped
      {R"(qzcl a""b)", "A\"B"},              // doubled quotes give one
      {"qzcl", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLine(c.line).Word(), c.word) << c.line;
}

}  // namespace
}  // namespace qz
