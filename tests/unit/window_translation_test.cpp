#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "translator/translatable_window.h"
#include "unit/harness.h"

namespace qz {
namespace {

using K = ControlKind;
using P = Property;

struct FakeControl {
  int number;
  ControlKind kind;
  std::map<Property, std::string> texts;
};

class FakeWindow : public TranslatableWindow {
 public:
  ControlKind kind = K::Window;
  std::string title = "Edit";
  std::vector<FakeControl> controls;
  std::vector<std::pair<int, Property>> writes;

  ControlKind Kind() const override { return kind; }
  std::string Title() const override { return title; }
  void SetTitle(std::string_view t) override { title = t; }
  int FirstControl() const override { return controls.empty() ? 0 : controls.front().number; }
  int NextControl(int control) const override {
    for (std::size_t i = 0; i + 1 < controls.size(); ++i)
      if (controls[i].number == control) return controls[i + 1].number;
    return 0;
  }
  ControlKind KindOf(int control) const override { return Find(control) ? Find(control)->kind : K::None; }
  std::string Get(int control, Property p) const override { return Text(control, p); }
  void Set(int control, Property p, std::string_view value) override {
    writes.emplace_back(control, p);
    const_cast<FakeControl*>(Find(control))->texts[p] = value;
  }
  std::string Text(int control, Property p) const {
    const FakeControl* c = Find(control);
    return c && c->texts.count(p) ? c->texts.at(p) : "";
  }
  const FakeControl* Find(int control) const {
    for (const FakeControl& c : controls)
      if (c.number == control) return &c;
    return nullptr;
  }
  // A control with every property: a caption (or picture), a message, a list format and a tooltip.
  void Add(int number, ControlKind k, std::string text) {
    controls.push_back({number, k, {{P::Text, text}, {P::Msg, "Help"}, {P::Format, "~Menu~"}, {P::Tip, "Tip"}}});
  }
};

class WindowTranslation : public ::testing::Test {
 protected:
  void SetUp() override {
    h.translator.Init("", "", 0);
    const char* pairs[][2] = {{"Edit", "Bearbeiten"}, {"Name", "Nom"}, {"Help", "Aide"}, {"Menu", "Menü"},
                              {"Tip", "Astuce"},      {"@D2", "@D6"},  {"@S255", "@s9"}, {"@s255", "@s9"}};
    for (auto& [source, replacement] : pairs) h.translator.AddTranslation(source, replacement);
  }
  fake::Harness h;
  FakeWindow window;
};

TEST_F(WindowTranslation, EachKindGetsExactlyItsPropertiesTranslated) {
  struct Row {
    ControlKind kind;
    bool text, msg, format, tip;
  };
  const Row rows[] = {
      {K::Button, 1, 1, 0, 1},        {K::Check, 1, 1, 0, 1},  {K::DropList, 1, 0, 1, 0}, {K::Combo, 1, 1, 1, 1},
      {K::Entry, 1, 1, 0, 1},         {K::Group, 1, 1, 0, 1},  {K::List, 0, 1, 1, 1},     {K::Option, 1, 1, 0, 1},
      {K::Prompt, 1, 0, 0, 0},        {K::Radio, 1, 1, 0, 1},  {K::Spin, 1, 1, 0, 1},     {K::String, 1, 0, 0, 0},
      {K::PictureString, 1, 0, 0, 0}, {K::Tab, 1, 1, 0, 1},    {K::Text, 0, 1, 0, 1},     {K::Menu, 1, 1, 0, 1},
      {K::MenuItem, 1, 1, 0, 1},      {K::Region, 0, 0, 0, 1}, {K::Image, 0, 0, 0, 0},    {K::Sheet, 0, 0, 0, 0},
      {K::Box, 0, 0, 0, 0},           {K::Line, 0, 0, 0, 0},
  };
  for (const Row& row : rows) {
    FakeWindow w;
    const bool picture =
        row.kind == K::Entry || row.kind == K::Spin || row.kind == K::Combo || row.kind == K::PictureString;
    w.Add(7, row.kind, picture ? "@d2" : "Name");
    h.translator.TranslateWindow(w);
    SCOPED_TRACE(static_cast<int>(row.kind));
    EXPECT_EQ(w.title, "Bearbeiten");
    EXPECT_EQ(w.Text(7, P::Text), row.text ? (picture ? "@D6" : "Nom") : (picture ? "@d2" : "Name"));
    EXPECT_EQ(w.Text(7, P::Msg), row.msg ? "Aide" : "Help");
    EXPECT_EQ(w.Text(7, P::Format), row.format ? "~Menü~" : "~Menu~");
    EXPECT_EQ(w.Text(7, P::Tip), row.tip ? "Astuce" : "Tip");
  }
}

TEST_F(WindowTranslation, AmpersandIsPartOfTheText) {
  h.translator.AddTranslation("Ok", "D'accord");
  window.controls.push_back({1, K::Button, {{P::Text, "&Ok"}}});
  h.translator.TranslateWindow(window);
  EXPECT_EQ(window.Text(1, P::Text), "&Ok");
  h.translator.AddTranslation("&Ok", "&D'accord");
  h.translator.TranslateWindow(window);
  EXPECT_EQ(window.Text(1, P::Text), "&D'accord");
}

TEST_F(WindowTranslation, PicturesLookedUpWithLeadingTwoUpperCased) {
  h.translator.AddTranslation("@D1", "@D17");
  h.translator.AddTranslation("@n3", "@n9");
  const std::pair<const char*, const char*> cases[] = {
      {"@s255", "@s255"}, {"s255", "s255"}, {"@S20", "@S20"}, {"@d1", "@D17"},
      {"d1", "@D17"},     {"@D1", "@D17"},  {"@n3", "@N3"},   {"", ""},
  };
  for (auto [picture, expected] : cases) {
    FakeWindow w;
    w.controls.push_back({1, K::Entry, {{P::Text, picture}}});
    h.translator.TranslateWindow(w);
    EXPECT_EQ(w.Text(1, P::Text), expected) << picture;
  }
}

// Also shows the order of a control's properties: Text, Msg, Format, Tip.
TEST_F(WindowTranslation, FrameTranslatesOnlyControlsOneTo2999) {
  window.kind = K::Application;
  for (int n : {-5, 1, 2999, 3000}) window.Add(n, n == 1 ? K::Combo : K::Prompt, n == 1 ? "@d2" : "Name");
  h.translator.TranslateWindow(window);
  EXPECT_EQ(window.title, "Bearbeiten");
  const std::vector<std::pair<int, Property>> writes{
      {1, P::Text}, {1, P::Msg}, {1, P::Format}, {1, P::Tip}, {2999, P::Text}};
  EXPECT_EQ(window.writes, writes);
}

TEST_F(WindowTranslation, ControlsByNumberRange) {
  for (int n : {1, 2, 3}) window.controls.push_back({n, K::Prompt, {{P::Text, "Name"}}});
  h.translator.TranslateControls(window, 2, 9);
  h.translator.TranslateOneControl(window, 1);
  EXPECT_EQ(window.Text(1, P::Text) + window.Text(2, P::Text) + window.Text(3, P::Text), "NomNomNom");
  EXPECT_EQ(window.title, "Edit");
}

TEST(WindowTranslationOff, NotInitialisedOrOffLeavesWindowAsDesigned) {
  for (long flags : {-1L, StringTranslator::kOff}) {
    fake::Harness h;
    if (flags >= 0) h.translator.Init("", "", flags);
    h.translator.AddTranslation("Name", "Nom");
    h.translator.AddTranslation("Edit", "Bearbeiten");
    FakeWindow window;
    window.Add(1, K::Entry, "d1");
    window.Add(2, K::List, "Name");
    h.translator.TranslateWindow(window);
    EXPECT_TRUE(window.writes.empty());
    EXPECT_EQ(window.title, "Edit");
    EXPECT_EQ(h.translator.TranslateFormat("~Name~@d1@  "), "~Name~@d1@");
  }
}

TEST_F(WindowTranslation, FormatTranslatesHeadersAndNonStringPictures) {
  h.translator.AddTranslation("129L(2)|_M", "x");
  h.translator.AddTranslation("#1#", "x");
  h.translator.AddTranslation("@d1", "@d6");
  const std::pair<const char*, const char*> cases[] = {
      {"129L(2)|_M~Menu~@s255@#1#", "129L(2)|_M~Menü~@s255@#1#"},
      {"60L~Name~@d1@60L~Help~@S255@  ", "60L~Nom~@d6@60L~Aide~@S255@"},
      {"~Name~~Help~", "~Nom~~Aide~"},
      {"~Menu", "~Menu"},
      {"", ""},
  };
  for (auto [format, expected] : cases) EXPECT_EQ(h.translator.TranslateFormat(format), expected) << format;
  EXPECT_EQ(h.translator.TranslateFormat(std::string(2100, 'f')).size(), 2000u);
}

TEST_F(WindowTranslation, MessagePlaceholders) {
  h.translator.AddTranslation("Template file %1 does not exist.", "Fichier %1 absent.");
  struct Row {
    const char *text, *p1, *p2, *p3, *p4, *expected;
  };
  const Row rows[] = {
      {"Template file %1 does not exist.", "a.tpl", "", "", "", "Fichier a.tpl absent."},
      {"%4%3%2%1", "a", "b", "c", "d", "dcba"},
      {"%2 %1 %1", "a", "b", "", "", "b a %1"},
      {"%1 and %2", "x%2", "y", "", "", "xy and %2"},
      {"[%1] [%2] [%5]", "", "  ", "", "", "[] [] [%5]"},
  };
  for (const Row& r : rows) EXPECT_EQ(h.translator.TranslateMessage(r.text, r.p1, r.p2, r.p3, r.p4), r.expected);
  const std::string a253(253, 'a');
  EXPECT_EQ(h.translator.TranslateMessage("%1%2x", a253, "bcd", "", ""), a253 + "bc");
  EXPECT_EQ(h.translator.TranslateMessage(std::string(300, 'm'), "", "", "", "").size(), 255u);
}

TEST_F(WindowTranslation, ListTranslatesEachPart) {
  EXPECT_EQ(h.translator.TranslateList("Name|Help||Other|Tip"), "Nom|Aide||Other|Astuce");
  EXPECT_EQ(h.translator.TranslateList(std::string(600, 'a') + "|" + std::string(600, 'b')).size(), 1024u);
}

}  // namespace
}  // namespace qz
