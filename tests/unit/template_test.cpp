// The translation template holds every text the program passes through its translator: the commands,
// the editor's presenter and the boxes are run over fakes with a translator that exports every text it
// looked up, and each exported text must be in the template the build extracted from the sources.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "template_check.h"
#include "unit/harness.h"

namespace qz {
namespace {

using C = EditorControl;

// Plays the editor as a person would: each section, a change, Update File, Close.
void UseEveryPart(fake::FakeEditorView& view, EditorEvents& events) {
  for (const auto& [shown, value] : std::vector(view.sections)) {
    events.OnSectionChosen(value);
    events.OnNewSelection(1, 1);
    for (C control : {C::Delete, C::Add}) events.OnAccepted(control);
    events.OnEditKey(EditKey::Tab);
    events.OnEditKey(EditKey::Esc);
    events.OnAccepted(C::Update);
  }
  events.OnHelp();
  events.OnAccepted(C::Delete);
  events.OnCloseRequest();
}

struct Setting {
  const char* name;
  std::function<void(fake::Harness&)> set;
};

TEST(translation_template, holds_every_text_the_program_translates) {
  fake::TempFolder folder;
  fake::Harness probe;
  const std::set<std::string> inTemplate = check::Keys(probe.codec, QZ_TRANSLATION_TEMPLATE);
  ASSERT_FALSE(inTemplate.empty());

  const auto installed = [](fake::Harness& h) {
    h.InstallVersion6();
    h.SetIni(fake::kIdeIni, "User Menus", "1", "&Tools|MYTOOL");
    h.SetIni(fake::kIdeIni, "User Applications", "MYTOOL", "C:\\T\\TOOL.EXE");
    h.SetIni(fake::kIdeIni, "File Types", "All", "1");
    h.SetIni(fake::kIdeIni, "File Types", "1", "All Files=*.*|CWEDT");
    h.files.contents["C:\\C6\\BIN\\C60EE.RED"] = "[Copy]\r\n*.inc = C:\\x\r\n";
    h.files.contents["t.tpl"] = "#TEMPLATE(T)\r\n";
  };
  const Setting settings[] = {
      {"nothing installed", [](fake::Harness&) {}},
      {"installed", installed},
      {"the IDE running",
       [&](fake::Harness& h) {
         installed(h);
         h.transport.serverUp = [](int) { return true; };
       }},
      {"files failing",
       [&](fake::Harness& h) {
         installed(h);
         for (const char* file : {fake::kIdeIni, "C:\\C6\\BIN\\C60EE.RED", "t.tpl"}) {
           h.files.failing[file] = FileError::AccessDenied;
           h.files.readOnly.insert(file);
         }
         h.processes.fail = true;
       }},
      {"files read-only",
       [&](fake::Harness& h) {
         installed(h);
         for (const char* file : {fake::kIdeIni, "C:\\C6\\BIN\\C60EE.RED", "t.tpl"}) h.files.readOnly.insert(file);
         h.registry.readFailures["SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\\PATH"] = {
             RegStatus::AccessDenied};
       }},
  };
  // clang-format off
  const char* const lines[] = {
      "CMD", "FOO", "EDIT", "EDIT 5", "RUN", "RUN notepad.exe",
      "REG", "REG t.tpl", "REG missing.tpl 6",
      "USERMENU", "USERMENU APP", "USERMENU APP &Tool+&Go C:\\T\\GO.EXE", "USERMENU A=B &Tool C:\\T\\GO.EXE",
      "UNMENU", "UNMENU MYTOOL",
      "INCLUDE", "INCLUDE t.tpl x.tpw", "UNINCLUDE", "UNINCLUDE t.tpl x.tpw",
      "ABCPATH", "ABCPATH C:\\Lib 6", "ABCPATH C:\\Lib\r\nX",
      "ENV", "ENV PATH", "ENV PATH C:\\x", "UNENV", "UNENV PATH C:\\x",
      "RED", "RED Copy *.inc", "RED Copy *.inc C:\\y;C:\\z", "RED [x] *.inc C:\\y", "UNRED", "UNRED Copy *.inc C:\\x"};
  // clang-format on

  std::map<std::string, std::string> asked;
  for (const Setting& setting : settings) {
    for (const char* line : lines) {
      for (bool withTranslations : {false, true}) {
        fake::Harness h;
        setting.set(h);
        if (withTranslations) {  // the editor then offers the translation table as well
          h.svc.langFile = folder / "QZCLLang.str";
          h.files.existing.insert(h.svc.langFile);
        }
        h.views.editorScript = UseEveryPart;
        const std::string exported = folder / "exported.str";
        std::filesystem::remove(exported);
        h.translator.Init(exported, StringTranslator::kExport);
        h.Run(line);
        h.translator.Kill();
        for (const std::string& text : check::Keys(h.codec, exported))
          asked.emplace(text, std::string(setting.name) + ": " + line);
      }
    }
  }
  check::ExpectInTemplate(asked, inTemplate);
}

}  // namespace
}  // namespace qz
