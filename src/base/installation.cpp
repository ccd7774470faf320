#include "base/installation.h"

#include <array>

#include "base/command_line.h"
#include "text/text.h"

namespace qz {

namespace {

constexpr std::string_view kAcceptedVersions = "2 4 55 6 5.5 6.0 6.2 6.2 60";
constexpr std::string_view kDefaultVersion = "6";
constexpr std::size_t kVersionMax = 3;  // held in 4 bytes

struct Edition {
  std::array<std::string_view, 6> codes;
  std::string_view canonical, sectionEE, sectionPE, redBase, rootEntry;
};

// The Enterprise section names really have two blanks before "Enterprise".
constexpr std::array<Edition, 5> kVersions{{
    {{"6", "60", "6.0", "6.1", "6.2", "6.3"}, "60", "Clarion 6.0  Enterprise Edition", "Clarion 6.0", "C60EE", "Root"},
    {{"55", "5.5"}, "55", "Clarion 5.5  Enterprise Edition", "Clarion 5.5", "C55EE", "Root"},
    {{"5"}, "5", "Clarion 5  Enterprise Edition", "Clarion 5", "Clarion5", "Root"},
    {{"4"}, "4", "Clarion 4  Enterprise Edition", "Clarion 4", "Clarion4", "Root"},
    {{"2", "20", "2.0"},
     "20",
     "Clarion for Windows V2.0",
     "Clarion for Windows V2.0 Standard Edition",
     "Cw20",
     "WorkDir"},
}};

const Edition* FindVersion(std::string_view code) {
  for (const auto& row : kVersions)
    for (auto c : row.codes)
      if (!c.empty() && c == code) return &row;
  return nullptr;
}

std::string WithoutFinalBackslash(std::string text) {
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

// A WIN.INI value, whole: a path is never shortened into another one.
std::string WinIni(Services& svc, const std::string& section, std::string_view entry) {
  return Clip(svc.profile.Read("", section, std::string(entry), ""));
}

}  // namespace

// Accepted where it stands anywhere in the list, as a search of the list's text finds it.
bool IsVersionCode(std::string_view text) {
  const std::string code = Cut(text, kVersionMax);
  return !code.empty() && kAcceptedVersions.find(code) != std::string_view::npos;
}

std::string VersionCode(std::string_view text) {
  return IsVersionCode(text) ? LeftJustify(Cut(text, kVersionMax)) : std::string(kDefaultVersion);
}

bool IsListedVersion(std::string_view code) { return FindVersion(code) != nullptr; }

std::vector<std::string> ListedVersions() {
  std::vector<std::string> codes;
  for (const auto& row : kVersions) codes.emplace_back(row.codes[0]);
  return codes;
}

Installation FindInstallation(Services& svc, std::string_view version) {
  Installation found;
  found.version = Cut(version, kVersionMax);
  std::string redBase, rootEntry;
  if (const Edition* row = FindVersion(ClipView(found.version))) {
    found.sectionEE = row->sectionEE;
    found.sectionPE = row->sectionPE;
    redBase = row->redBase;
    rootEntry = row->rootEntry;
    found.version = row->canonical;
  }
  std::string section = found.sectionEE;
  found.root = WithoutFinalBackslash(WinIni(svc, found.sectionEE, rootEntry));
  if (IsBlank(found.root)) {
    found.root = WithoutFinalBackslash(WinIni(svc, found.sectionPE, rootEntry));
    section = found.sectionPE;
  }

  if (found.version == "20" && !IsBlank(found.root)) {
    auto bin = Upper(found.root).find("\\BIN");
    if (bin != std::string::npos) found.root.resize(bin);
  }

  if (!IsBlank(found.root)) {
    found.exe = WinIni(svc, section, "ExeName");
    // The final point is ignored by Windows file access: the INI file is named after the executable.
    found.iniFile = found.root + "\\BIN\\" + found.exe + ".ini.";
  }

  // Editions whose redirection file has another name.
  const std::string bin = found.root + "\\BIN\\";
  found.redFile = bin + redBase + ".RED";
  if (found.version == "55" && !svc.files.Exists(found.redFile)) {
    found.redFile = bin + "C55PE.RED";
    if (!svc.files.Exists(found.redFile)) found.redFile = bin + "CLARION5.RED";
  } else if (found.version == "60" && !svc.files.Exists(found.redFile)) {
    found.redFile = bin + "C60PE.RED";
  }
  return found;
}

ProgramStart IdeProgram(Services& svc, const Installation& ide) {
  const std::string path = ide.ExePath();
  const std::string bin = ide.root + "\\BIN";
  if (svc.files.Exists(path)) return {path, '"' + path + '"', bin};
  return {"", Clip(ide.exe), bin};
}

std::optional<Installation> LocateForRemoval(Services& svc, std::string_view version) {
  const Installation found = FindInstallation(svc, version);
  if (found.Complete()) return found;
  svc.Quiet(Outcome::Info, svc.tr("WIN.INI names no installation of this version, so there is nothing to remove:") +
                               " " + found.version);
  return std::nullopt;
}

std::optional<Installation> LocateInstallation(Services& svc, std::string_view version, std::string_view commandText) {
  const Installation found = FindInstallation(svc, version);
  if (found.Complete()) return found;
  svc.Error(svc.tr("Entry Not Found"),
            svc.tr("The QZ Command program looks for Clarion information in the WIN.INI file.") + "|" +
                svc.tr("Required information was not found.") + "|" + "|" + svc.tr("Command was:") + " " +
                std::string(commandText) + "|" + svc.tr("CW Version:") + " " + found.version + "|" +
                svc.tr("EE File:") + " " + found.sectionEE + "|" + svc.tr("PE File:") + " " + found.sectionPE +
                "|Root: " + found.root + "|ExeName: " + found.exe,
            Icon::Information);
  return std::nullopt;
}

}  // namespace qz
