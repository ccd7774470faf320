// The editor's model of one list section of the IDE's INI file (or of the translation table):
// loading it into ITEMQ, the built-in applets, validation, sort keys and moves.
#pragma once
#include <string>
#include <string_view>

#include "app/cmd_context.h"

namespace qz {

// Section names as the editor offers them.
inline constexpr const char* kUserMenusSection = "User Menus";
inline constexpr const char* kFileTypesSection = "File Types";
inline constexpr const char* kOpenDialogSection = "Open Dialog";
inline constexpr const char* kPickDialogSection = "Pick Dialog";
inline constexpr const char* kSetupMenuSection = "Setup Menu";
inline constexpr const char* kTranslationsSection = "Translations";
inline constexpr const char* kUserApplicationsSection = "User Applications";

inline constexpr int kMaxSectionEntries = 1000;

// Whether name (any case, trailing blanks ignored) is a built-in applet of the IDE, or a leading part of one.
bool IsApplet(std::string_view name);

// Empties ITEMQ and fills it with the section from CWINIFILE, or from the translation file LANGFILE.
void LoadSection(CmdContext& ctx, std::string_view section);

// Whether item may be stored in section.
bool ValidateItem(std::string_view section, const Item& item);

// Sort keys: at load time every "&" goes; after an edit only the first.
std::string LoadTimeSortKey(std::string_view text);
void SetEditTimeSortKey(Item& item);

bool IsSeparator(const Item& item);

// The item's field by its number in a list format: 1 STR, 2 P2, 3 P3, 4 P4.
inline std::string& FieldOf(Item& item, int field) {
  switch (field) {
    case 2: return item.P2;
    case 3: return item.P3;
    case 4: return item.P4;
    default: return item.STR;
  }
}
inline const std::string& FieldOf(const Item& item, int field) { return FieldOf(const_cast<Item&>(item), field); }

// Exchanges the item at position p (1-based) with its neighbour; the new position of the item, or p
// when it cannot move.
std::size_t MoveItemUp(std::vector<Item>& items, std::size_t p);
std::size_t MoveItemDown(std::vector<Item>& items, std::size_t p);

// The Sort and Default buttons: by sort key, or back to the order read; equal keys keep their order.
void SortBySortKey(std::vector<Item>& items);
void SortByNumber(std::vector<Item>& items);

}  // namespace qz
