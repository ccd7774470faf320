// An installation of the IDE, found through the entries its set-up writes into WIN.INI, and the names in
// its INI file that the program reads and writes.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/services.h"
#include "text/text.h"

namespace qz {

struct Installation {
  std::string version;               // the version code; its canonical form ("60", "55", ...) once found
  std::string sectionEE, sectionPE;  // the WIN.INI sections of the Enterprise and Professional editions
  std::string root;                  // the installation folder, without a final backslash
  std::string exe;                   // the IDE's program, as its set-up names it
  std::string iniFile;               // the IDE's INI file
  std::string redFile;               // the IDE's redirection file
  // Whether WIN.INI names its folder and program.
  bool Complete() const { return !IsBlank(root) && !IsBlank(exe); }
  // The IDE's program as a path, which it has when the set-up put it in its usual place.
  std::string ExePath() const { return root + "\\BIN\\" + exe + ".exe"; }
};

// How the IDE is started: by its path when it is in its usual place, else by its name through the system's
// search. It works in its BIN folder either way: a folder a program works in cannot be deleted while it runs,
// and the folder an installer ran us from is one its uninstaller deletes.
ProgramStart IdeProgram(Services& svc, const Installation& ide);

// Whether text (its first three characters) is a version code the program accepts.
bool IsVersionCode(std::string_view text);
// The accepted version code in text, without leading blanks; "6" for anything else.
std::string VersionCode(std::string_view text);

// Whether code is one of the version codes of the installations' table, exactly ("55", "5.5", "6", ...).
bool IsListedVersion(std::string_view code);
// One code of each version, newest first.
std::vector<std::string> ListedVersions();
// The installation of version (a version code) as WIN.INI names it, Complete() or not; no box.
Installation FindInstallation(Services& svc, std::string_view version);
// The installation of version (a version code). When WIN.INI lacks it, shows "Entry Not Found" with
// commandText in it, and returns nothing.
std::optional<Installation> LocateInstallation(Services& svc, std::string_view version, std::string_view commandText);
// For a removal command: an installation that is gone (the IDE was uninstalled first) leaves nothing to remove,
// which is said in an unattended run's log only.
std::optional<Installation> LocateForRemoval(Services& svc, std::string_view version);

// Sections of the IDE's INI file.
inline constexpr const char* kUserMenusSection = Phrase("User Menus");
inline constexpr const char* kFileTypesSection = Phrase("File Types");
inline constexpr const char* kOpenDialogSection = Phrase("Open Dialog");
inline constexpr const char* kPickDialogSection = Phrase("Pick Dialog");
inline constexpr const char* kSetupMenuSection = Phrase("Setup Menu");
inline constexpr const char* kUserApplicationsSection = Phrase("User Applications");

}  // namespace qz
