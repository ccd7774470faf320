// How the five list sections of the IDE's INI file hold their entries: one row per section, by which an entry
// is read (ParseEntry) and written (FormatEntry), for the editor and for USERMENU and UNMENU alike.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/installation.h"
#include "text/ini_document.h"

namespace qz {

struct ListSection {
  const char* name;
  bool hasMask;    // "text=mask|AppRef" (the file lists); a menu entry is "text|AppRef"
  bool clipParts;  // the text and the mask are written without their trailing blanks
  bool allMask;    // its "All" entry names the entry that filters every record (File Types)
  bool userMenu;   // its AppRefs' command lines are read for applets too (User Menus)
};

inline constexpr ListSection kListSections[] = {
    {kUserMenusSection, false, false, false, true},  {kFileTypesSection, true, false, true, false},
    {kOpenDialogSection, true, true, false, false},  {kPickDialogSection, true, true, false, false},
    {kSetupMenuSection, false, false, false, false},
};

// The row of the section (trailing blanks of its name not counting); nullptr for any other section.
const ListSection* FindListSection(std::string_view name);

// An entry's fields: the text, the mask or extension of a file list, and the AppRef after the last "|".
struct Entry {
  std::string text, mask, appRef;
};
// Splits value at its last "|" (without one, the whole value is the AppRef too), then a file list's text at its
// last "=".
Entry ParseEntry(const ListSection& section, std::string value);
// The value that ParseEntry reads back as entry.
std::string FormatEntry(const ListSection& section, const Entry& entry);

// The section's numbered entries, "1" on, up to the first one that is missing or empty: the IDE reads no further.
std::vector<std::string> EntryValues(const IniDocument& doc, std::string_view section);

}  // namespace qz
