#include <gtest/gtest.h>

#include "app/cmd_context.h"
#include "unit/harness.h"

namespace qz {
namespace {

struct Harness : fake::Harness {
  std::vector<std::string> Tokens(const std::string& commandLine) {
    svc.commandLine = commandLine;
    CmdContext ctx(svc);
    EXPECT_FALSE(ctx.Init());
    std::vector<std::string> out;
    for (long i = 1; i <= ctx.TokenCount(); ++i) out.push_back(ctx.GetToken(static_cast<std::uint8_t>(i)));
    EXPECT_EQ(ctx.TOKENS, ctx.TokenCount());
    return out;
  }
};

using Tokens = std::vector<std::string>;

TEST(tokeniser, splits_the_parameter_text_as_installers_write_it) {
  struct Case {
    const char* line;
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
  };
  Harness h;
  for (const auto& c : cases) EXPECT_EQ(h.Tokens(c.line), c.tokens) << c.line;
}

TEST(tokeniser, cuts_a_long_parameter_text_at_254_characters) {
  Harness h;
  std::string longArg(300, 'x');
  Tokens tokens = h.Tokens("qzcl RUN " + longArg + " tail");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[1], std::string(250, 'x'));  // 254 minus "RUN "
}

TEST(tokeniser, get_token_beyond_the_count_is_empty) {
  Harness h;
  h.svc.commandLine = "qzcl RED a b";
  CmdContext ctx(h.svc);
  ctx.Init();
  EXPECT_EQ(ctx.TokenCount(), 3);
  EXPECT_EQ(ctx.GetToken(5), "");
  EXPECT_EQ(ctx.GetToken(0), "");
  ctx.Kill();
  EXPECT_EQ(ctx.TokenCount(), 0);
  EXPECT_EQ(ctx.GetToken(1), "");
}

TEST(command_word, is_the_first_parameter_as_the_runtime_splits_it) {
  struct Case {
    const char* line;
    const char* cmd1;
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
  Harness h;
  for (const auto& c : cases) {
    h.svc.commandLine = c.line;
    CmdContext ctx(h.svc);
    ctx.Init();
    EXPECT_EQ(ctx.CMD1, c.cmd1) << c.line;
  }
}

}  // namespace
}  // namespace qz
