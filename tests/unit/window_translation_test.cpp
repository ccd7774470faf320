#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "translator/translatable_window.h"
#include "unit/harness.h"

namespace qz {
namespace {

using K = ControlKind;
using P = Property;

// A window whose controls are walked in number order.
class FakeWindow : public TranslatableWindow {
 public:
  struct Control {
    ControlKind kind;
    std::map<Property, std::string> texts;
  };
  ControlKind kind = K::Window;
  std::string title = "Edit";
  std::map<int, Control> controls;
  std::vector<std::pair<int, Property>> writes;

  ControlKind Kind() const override { return kind; }
  std::string Title() const override { return title; }
  void SetTitle(std::string_view t) override { title = t; }
  int FirstControl() const override { return controls.empty() ? 0 : controls.begin()->first; }
  int NextControl(int control) const override {
    auto next = controls.upper_bound(control);
    return next == controls.end() ? 0 : next->first;
  }
  ControlKind KindOf(int control) const override {
    return controls.count(control) ? controls.at(control).kind : K::None;
  }
  std::string Get(int control, Property p) const override {
    auto c = controls.find(control);
    return c != controls.end() && c->second.texts.count(p) ? c->second.texts.at(p) : "";
  }
  void Set(int control, Property p, std::string_view value) override {
    writes.emplace_back(control, p);
    controls[control].texts[p] = value;
  }
  // A control with every property: a caption (or picture), a message, a list format and a tooltip.
  void Add(int number, ControlKind k, std::string text) {
    controls[number] = {k, {{P::Text, text}, {P::Msg, "Help"}, {P::Format, "~Menu~"}, {P::Tip, "Tip"}}};
  }
};

class WindowTranslation : public ::testing::Test {
 protected:
  void SetUp() override {
    h.translator.Init("", 0);
    const char* pairs[][2] = {{"Edit", "Bearbeiten"}, {"Name", "Nom"}, {"Help", "Aide"}, {"Menu", "Menü"},
                              {"Tip", "Astuce"},      {"@D2", "@D6"},  {"@S255", "@s9"}, {"@s255", "@s9"},
                              {"Ok", "D'accord"},     {"&No", "&Non"}, {"@D1", "@D17"},  {"@n3", "@n9"}};
    for (auto& [source, replacement] : pairs) h.translator.AddTranslation(source, replacement);
  }
  fake::Harness h;
  FakeWindow window;
};

// An application frame with a control of each kind numbered from 1; of a frame, only controls 1 to 2999 count.
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
  auto picture = [](ControlKind k) { return k == K::Entry || k == K::Spin || k == K::Combo || k == K::PictureString; };
  window.kind = K::Application;
  int n = 0;
  for (const Row& row : rows) window.Add(++n, row.kind, picture(row.kind) ? "@d2" : "Name");
  for (int edge : {-5, 2999, 3000}) window.Add(edge, K::Prompt, "Name");
  h.translator.TranslateWindow(window);
  EXPECT_EQ(window.title, "Bearbeiten");
  EXPECT_EQ(window.Get(-5, P::Text) + window.Get(2999, P::Text) + window.Get(3000, P::Text), "NameNomName");
  n = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.kind));
    const bool pic = picture(row.kind);
    EXPECT_EQ(window.Get(++n, P::Text), row.text ? (pic ? "@D6" : "Nom") : (pic ? "@d2" : "Name"));
    EXPECT_EQ(window.Get(n, P::Msg), row.msg ? "Aide" : "Help");
    EXPECT_EQ(window.Get(n, P::Format), row.format ? "~Menü~" : "~Menu~");
    EXPECT_EQ(window.Get(n, P::Tip), row.tip ? "Astuce" : "Tip");
  }
}

// Texts are looked up as they are, "&" included; a picture with its first two characters upper-cased and
// "@" put in front, except string pictures, which hold a field's size.
TEST_F(WindowTranslation, CaptionsAndPicturesAreLookedUpAsShown) {
  const std::tuple<ControlKind, const char*, const char*> cases[] = {
      {K::Button, "&Ok", "&Ok"},  {K::Button, "&No", "&Non"}, {K::Entry, "@s255", "@s255"}, {K::Entry, "s255", "s255"},
      {K::Entry, "@S20", "@S20"}, {K::Entry, "@d1", "@D17"},  {K::Entry, "d1", "@D17"},     {K::Entry, "@D1", "@D17"},
      {K::Entry, "@n3", "@N3"},   {K::Entry, "", ""},
  };
  int n = 0;
  for (auto [kind, text, expected] : cases) window.controls[++n] = {kind, {{P::Text, text}}};
  h.translator.TranslateWindow(window);
  n = 0;
  for (auto [kind, text, expected] : cases) EXPECT_EQ(window.Get(++n, P::Text), expected) << text;
}

TEST_F(WindowTranslation, NotInitialisedOrOffLeavesWindowAsDesigned) {
  fake::Harness fresh;  // never initialised
  h.translator.SetFlags(StringTranslator::kOff);
  for (StringTranslator* translator : {&fresh.translator, &h.translator}) {
    window.Add(1, K::Entry, "d1");
    window.Add(2, K::List, "Name");
    translator->TranslateWindow(window);
    EXPECT_TRUE(window.writes.empty());
    EXPECT_EQ(window.title, "Edit");
    EXPECT_EQ(translator->TranslateFormat("~Name~@d1@  "), "~Name~@d1@");
  }
}

// A list format translates its headers and its pictures other than string pictures; a "|" list each part.
TEST_F(WindowTranslation, FormatsAndListsAreTranslatedPartByPart) {
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

}  // namespace
}  // namespace qz
