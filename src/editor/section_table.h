// The editor's model of one list section of the IDE's INI file (or of the translation table): its items,
// loading them, the built-in applets, validation, sort keys and moves.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/installation.h"
#include "text/ini_document.h"
#include "base/services.h"

namespace qz {

inline constexpr const char* kTranslationsSection = Phrase("Translations");

// One row of the list. The sections use the fields they have: a menu its text, AppRef and command line; a
// file list also its mask (File Types) or extension (Open and Pick Dialog); a translation its text and
// replacement.
struct Item {
  std::string text;
  std::string mask;
  std::string appRef;
  std::string commandLine;  // of a user application; empty for a built-in applet
  std::string replacement;
  std::string sortKey;        // at most 99 characters
  long number = 0;            // the numbered entry it was read from: the order Default restores
  bool allFilesMask = false;  // the File Types entry that "All" names
};

// The fields by the numbers that the list formats give them ("#3#" shows the AppRef).
enum ItemField : int { kTextField = 1, kMaskField = 2, kAppRefField = 3, kCommandLineField = 4, kReplacementField = 5 };
std::string& FieldOf(Item& item, int field);
const std::string& FieldOf(const Item& item, int field);

// Whether name (any case, trailing blanks ignored) is a built-in applet of the IDE, or a leading part of one.
bool IsApplet(std::string_view name);

// The section's items, from the IDE's INI file, or from the translation file svc.langFile.
std::vector<Item> LoadSection(Services& svc, const std::string& iniFile, std::string_view section);
// The items of a list section of an INI document.
std::vector<Item> SectionItems(const IniDocument& ini, std::string_view section);
// Whether two lists hold the same entries, in the same order (blanks at their ends not counting).
bool SameEntries(const std::vector<Item>& a, const std::vector<Item>& b);

// Whether item may be stored in section.
bool ValidateItem(std::string_view section, const Item& item);

// Sort keys: at load time every "&" goes; after an edit only the first.
std::string LoadTimeSortKey(std::string_view text);
void SetEditTimeSortKey(Item& item);

bool IsSeparator(const Item& item);

// Exchanges the item at position p (1-based) with its neighbour; the new position of the item, or p
// when it cannot move.
std::size_t MoveItemUp(std::vector<Item>& items, std::size_t p);
std::size_t MoveItemDown(std::vector<Item>& items, std::size_t p);

// The Sort and Default buttons: by sort key, or back to the order read; equal keys keep their order.
void SortBySortKey(std::vector<Item>& items);
void SortByNumber(std::vector<Item>& items);

}  // namespace qz
