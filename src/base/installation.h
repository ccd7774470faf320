// An installation of the IDE, found through the entries its set-up writes into WIN.INI, and the names in
// its INI file that the program reads and writes.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "base/services.h"
#include "runtime/text.h"

namespace qz {

struct Installation {
  std::string version;               // the version code; its canonical form ("60", "55", ...) once found
  std::string sectionEE, sectionPE;  // the WIN.INI sections of the Enterprise and Professional editions
  std::string root;                  // the installation folder, without a final backslash
  std::string exe;                   // the IDE's program, as its set-up names it
  std::string iniFile;               // the IDE's INI file
  std::string redFile;               // the IDE's redirection file
};

// Whether text (its first three characters) is a version code the program accepts.
bool IsVersionCode(std::string_view text);
// The accepted version code in text, without leading blanks; "6" for anything else.
std::string VersionCode(std::string_view text);

// The installation of version (a version code). When WIN.INI lacks it, shows "Entry Not Found" with
// commandText in it, and returns nothing.
std::optional<Installation> LocateInstallation(Services& svc, std::string_view version, std::string_view commandText);

// Sections of the IDE's INI file.
inline constexpr const char* kUserMenusSection = Phrase("User Menus");
inline constexpr const char* kFileTypesSection = Phrase("File Types");
inline constexpr const char* kOpenDialogSection = Phrase("Open Dialog");
inline constexpr const char* kPickDialogSection = Phrase("Pick Dialog");
inline constexpr const char* kSetupMenuSection = Phrase("Setup Menu");
inline constexpr const char* kUserApplicationsSection = Phrase("User Applications");

}  // namespace qz
