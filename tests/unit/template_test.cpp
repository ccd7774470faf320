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
    for (EditKey key : {EditKey::Tab, EditKey::Esc}) events.OnEditKey(key);
    events.OnAccepted(C::Update);
  }
  events.OnHelp();
  events.OnAccepted(C::Delete);
  events.OnCloseRequest();
}

// Gives the harness the setting the program meets: nothing installed, an installation with a menu, a file type and
// a redirection file, that installation with its IDE running, its files failing or its files and PATH read-only.
const char* const kSettings[] = {"nothing installed", "installed", "IDE running", "files failing", "files read-only"};
void Set(fake::Harness& h, const std::string& setting) {
  if (setting == "nothing installed") return;
  h.InstallVersion6();
  h.files.contents[fake::kIdeIni] =
      "[User Menus]\r\n1=&Tools|MYTOOL\r\n[User Applications]\r\nMYTOOL=C:\\T\\TOOL.EXE\r\n"
      "[File Types]\r\nAll=1\r\n1=All Files=*.*|CWEDT\r\n";
  h.files.contents[fake::kRed] = "[Copy]\r\n*.inc = C:\\x\r\n";
  h.files.contents["t.tpl"] = "#TEMPLATE(T)\r\n";
  if (setting == "IDE running") h.transport.serverUp = [](int) { return true; };
  for (const char* file : {fake::kIdeIni, fake::kRed, "t.tpl"}) {
    if (setting == "files failing") h.files.failing[file] = FileError::AccessDenied;
    if (setting.starts_with("files")) h.files.readOnly.insert(file);
  }
  h.processes.fail = setting == "files failing";
  if (setting == "files read-only") h.registry.readFailures[fake::kEnvKey + "PATH"] = {RegStatus::AccessDenied};
}

TEST(translation_template, holds_every_text_the_program_translates) {
  fake::TempFolder folder;
  fake::Harness probe;
  const std::set<std::string> inTemplate = check::Keys(probe.codec, QZ_TRANSLATION_TEMPLATE);
  ASSERT_FALSE(inTemplate.empty());
  // clang-format off
  const char* const lines[] = {
      "CMD", "FOO", "EDIT", "EDIT 5", "RUN", "RUN notepad.exe", "REG", "REG t.tpl", "REG missing.tpl 6", "USERMENU",
      "USERMENU APP", "USERMENU APP &Tool+&Go C:\\T\\GO.EXE", "USERMENU A=B &Tool C:\\T\\GO.EXE", "UNMENU",
      "UNMENU MYTOOL", "INCLUDE", "INCLUDE t.tpl x.tpw", "UNINCLUDE", "UNINCLUDE t.tpl x.tpw", "ABCPATH",
      "ABCPATH C:\\Lib 6", "ABCPATH C:\\Lib\r\nX", "ENV", "ENV PATH", "ENV PATH C:\\x", "UNENV", "UNENV PATH C:\\x",
      "RED", "RED Copy *.inc", "RED Copy *.inc C:\\y;C:\\z", "RED [x] *.inc C:\\y", "UNRED", "UNRED Copy *.inc C:\\x"};
  // clang-format on
  std::map<std::string, std::string> asked;
  for (const char* setting : kSettings) {
    for (const char* line : lines) {
      for (bool withTranslations : {false, true}) {
        fake::Harness h;
        Set(h, setting);
        h.svc.langFile = withTranslations ? folder / "QZCLLang.str" : "";  // the editor then offers its table too
        if (withTranslations) h.files.existing.insert(h.svc.langFile);
        h.views.editorScript = UseEveryPart;
        const std::string exported = folder / "exported.str";
        std::filesystem::remove(exported);
        h.translator.Init(exported, StringTranslator::kExport);
        h.Run(line);
        h.translator.Kill();
        for (const std::string& text : check::Keys(h.codec, exported))
          asked.emplace(text, std::string(setting) + ": " + line);
      }
    }
  }
  check::ExpectInTemplate(asked, inTemplate);
}

}  // namespace
}  // namespace qz
