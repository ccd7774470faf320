// Finds an IDE installation for a version code through the entries its set-up writes into WIN.INI.
#include <array>

#include "app/cmd_context.h"
#include "app/ini.h"
#include "runtime/text.h"

namespace qz {

namespace {

constexpr std::string_view kAcceptedVersions = "2 4 55 6 5.5 6.0 6.2 6.2 60";
constexpr std::size_t kVersionMax = 3;      // CSTRING(4)
constexpr std::size_t kSectionInUseMax = 79;

struct Installation {
  std::array<std::string_view, 6> codes;
  std::string_view canonical, sectionEE, sectionPE, redBase, rootEntry;
};

// The Enterprise section names really have two blanks before "Enterprise".
constexpr std::array<Installation, 5> kVersions{{
    {{"6", "60", "6.0", "6.1", "6.2", "6.3"}, "60", "Clarion 6.0  Enterprise Edition", "Clarion 6.0", "C60EE", "Root"},
    {{"55", "5.5"}, "55", "Clarion 5.5  Enterprise Edition", "Clarion 5.5", "C55EE", "Root"},
    {{"5"}, "5", "Clarion 5  Enterprise Edition", "Clarion 5", "Clarion5", "Root"},
    {{"4"}, "4", "Clarion 4  Enterprise Edition", "Clarion 4", "Clarion4", "Root"},
    {{"2", "20", "2.0"}, "20", "Clarion for Windows V2.0", "Clarion for Windows V2.0 Standard Edition", "Cw20",
     "WorkDir"},
}};

const Installation* FindVersion(std::string_view code) {
  for (const auto& row : kVersions)
    for (auto c : row.codes)
      if (!c.empty() && c == code) return &row;
  return nullptr;
}

std::string WithoutFinalBackslash(std::string text) {
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

}  // namespace

bool CmdContext::SetVersion(std::string_view text) {
  CWVERSION = Cut(text, kVersionMax);
  if (!CWVERSION.empty() && kAcceptedVersions.find(CWVERSION) != std::string_view::npos) {
    CWVERSION = LeftJustify(CWVERSION);
    return true;
  }
  CWVERSION = "6";
  return false;
}

bool CmdContext::LocateInstallation() {
  std::string redBase, rootEntry;
  if (const Installation* row = FindVersion(ClipView(CWVERSION))) {
    WINSECTIONEE = row->sectionEE;
    WINSECTIONPE = row->sectionPE;
    redBase = row->redBase;
    rootEntry = row->rootEntry;
    CWVERSION = row->canonical;
  }
  Profile& profile = svc.profile;
  std::string section = WINSECTIONEE;
  ROOT = Cut(WithoutFinalBackslash(GETINI(profile, WINSECTIONEE, rootEntry, "", "")), kCmdMax);
  if (IsBlank(ROOT)) {
    ROOT = Cut(WithoutFinalBackslash(GETINI(profile, WINSECTIONPE, rootEntry, "", "")), kCmdMax);
    section = WINSECTIONPE;
  }
  section = Cut(section, kSectionInUseMax);

  if (CWVERSION == "20" && !IsBlank(ROOT)) {
    auto bin = Upper(ROOT).find("\\BIN");
    if (bin != std::string::npos) ROOT.resize(bin);
  }

  bool failed = IsBlank(ROOT);
  if (!failed) {
    CWEXE = Cut(GETINI(profile, section, "ExeName", "", ""), kCmdMax);
    // The final point is ignored by Windows file access: the INI file is named after the executable.
    CWINIFILE = Cut(ROOT + "\\BIN\\" + CWEXE + ".ini.", kCmdMax);
  }
  if (IsBlank(CWEXE)) failed = true;

  // Editions whose redirection file has another name.
  const std::string bin = ROOT + "\\BIN\\";
  CWRED = Cut(bin + redBase + ".RED", kCmdMax);
  if (CWVERSION == "55" && !svc.files.Exists(CWRED)) {
    CWRED = Cut(bin + "C55PE.RED", kCmdMax);
    if (!svc.files.Exists(CWRED)) CWRED = Cut(bin + "CLARION5.RED", kCmdMax);
  } else if (CWVERSION == "60" && !svc.files.Exists(CWRED)) {
    CWRED = Cut(bin + "C60PE.RED", kCmdMax);
  }

  if (!failed) return false;
  Box box;
  box.caption = svc.tr("Entry Not Found");
  box.text = svc.tr("The QZ Command program looks for Clarion information in the WIN.INI file.") + "|" +
             svc.tr("Required information was not found.") + "|" + "|" + svc.tr("Command was:") + " " + CMD +
             "|" + svc.tr("CW Version:") + " " + CWVERSION + "|" + svc.tr("EE File:") + " " + WINSECTIONEE + "|" +
             svc.tr("PE File:") + " " + WINSECTIONPE + "|Root: " + ROOT + "|ExeName: " + CWEXE;
  box.icon = Icon::Information;
  box.outcome = Outcome::Error;
  svc.Show(box);
  return true;
}

}  // namespace qz
