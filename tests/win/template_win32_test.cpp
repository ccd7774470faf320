// The translation template holds the texts of the translated windows too: their titles and the texts
// of their controls, which only the real windows hold.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/ports_win32.h"
#include "e2e/driver_win32.h"
#include "editor/editor_view_win32.h"
#include "ide/please_wait_win32.h"
#include "template_check.h"

namespace qz {
namespace {

class NoEditorEvents : public EditorEvents {
 public:
  void OnAccepted(EditorControl) override {}
  void OnSectionChosen(const std::string&) override {}
  void OnNewSelection(int, int) override {}
  void OnActivate() override {}
  void OnEditKey(EditKey) override {}
  void OnEditAccepted() override {}
  void OnCloseRequest() override {}
  void OnHelp() override {}
};

TEST(translation_template, holds_the_texts_of_the_translated_windows) {
  e2e::TempDirectory dir;
  std::ostringstream boxes;
  Win32Ports ports(false, boxes, boxes);
  const Ports all = ports.Get();
  StringTranslator translator(all.platform.profile, all.platform.files, all.platform.clock, all.platform.codec,
                              all.loading);
  const std::string exported = dir.Path() + "\\exported.str";
  translator.Init(exported, StringTranslator::kExport);
  const auto translate = [&](TranslatableWindow* window) {
    ASSERT_NE(window, nullptr);
    translator.TranslateWindow(*window);
  };
  Win32EditorView editor;
  NoEditorEvents events;
  translate(editor.Open(events));
  editor.Close();
  Win32PleaseWait wait;
  translate(wait.Open("a.tpl"));
  wait.Close();
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  SetCurrentDirectoryA(dir.Path().c_str());  // where the translator logs its export
  translator.Kill();
  SetCurrentDirectoryA(before);  // so that the folder can go

  const std::set<std::string> inTemplate = check::Keys(all.platform.codec, QZ_TRANSLATION_TEMPLATE);
  std::map<std::string, std::string> asked;
  for (const std::string& text : check::Keys(all.platform.codec, exported)) asked.emplace(text, "a window");
  EXPECT_GT(asked.size(), 20u);  // the windows' texts did reach the translator
  check::ExpectInTemplate(asked, inTemplate);
}

}  // namespace
}  // namespace qz
