#include "editor/section_table.h"

#include <algorithm>

#include "app/ini.h"
#include "runtime/text.h"
#include "translator/translation_file.h"

namespace qz {

namespace {

// Fourteen names, each in a slot of nine characters.
constexpr std::string_view kApplets =
    "CWADM    CWADM.2  CWASL.36 CWASL.38 CWASL.54 CWEDT    CWBRW    CWCIF    CWGEN    CWGEN.1  CWGEN.103CWPRJ    "
    "CWSCR    CWTTY    ";
constexpr std::size_t kSlot = 9;
constexpr std::size_t kSortMax = 99;
constexpr std::size_t kFieldMax = 254;

bool Is(std::string_view section, const char* name) { return ClipView(section) == name; }

// Splits text at the last c: the part after it goes to field, text keeps the part before. Without c, field
// gets the whole text and text stays as it is.
void SplitAtLast(std::string& text, std::string& field, char c) {
  auto at = text.rfind(c);
  if (at == std::string::npos) {
    field = text;
    return;
  }
  field = text.substr(at + 1);
  text.resize(at);
}

std::string CommandLineOf(const SectionValues& applications, const std::string& appRef) {
  return Cut(applications.Read(appRef), kIniValueMax);
}

void LoadTranslations(CmdContext& ctx) {
  Services& svc = ctx.svc;
  if (IsBlank(svc.langFile) || !svc.files.Exists(Clip(svc.langFile))) return;
  TranslationFile file(svc.codec);
  file.SetName(Clip(svc.langFile));
  if (file.Open() != FileError::None) return;
  TranslationFile::Reader reader = file.Read();
  std::string source, replacement;
  while (reader.Next(source, replacement)) {
    Item item;
    item.STR = Cut(PadTo(source, 255), kFieldMax);
    item.P2 = Cut(PadTo(replacement, 255), kFieldMax);
    item.SORT = Upper(item.STR);
    ctx.ITEMQ->push_back(std::move(item));
  }
}

}  // namespace

bool IsApplet(std::string_view name) {
  const std::string wanted = Upper(ClipView(name));
  if (wanted.empty()) return false;
  for (std::size_t at = 0; at < kApplets.size(); at += kSlot)
    if (kApplets.substr(at).starts_with(wanted)) return true;
  return false;
}

std::string LoadTimeSortKey(std::string_view text) {
  std::string key = Upper(text);
  for (int i = 0; i < 100; ++i) {
    auto amp = key.find('&');
    if (amp == std::string::npos) break;
    key.erase(amp, 1);
  }
  return Cut(key, kSortMax);
}

void SetEditTimeSortKey(Item& item) {
  if (IsBlank(item.STR)) return;
  std::string key = item.STR;
  if (auto amp = key.find('&'); amp != std::string::npos) key.erase(amp, 1);
  item.SORT = Cut(Upper(key), kSortMax);
}

bool IsSeparator(const Item& item) { return item.STR == "-" || ClipView(item.STR).ends_with("/-"); }

void LoadSection(CmdContext& ctx, std::string_view section) {
  auto& items = *ctx.ITEMQ;
  items.clear();
  Services& svc = ctx.svc;
  if (Is(section, kTranslationsSection)) {
    LoadTranslations(ctx);
    return;
  }
  const bool fileTypes = Is(section, kFileTypesSection);
  // Both sections are read whole: a thousand entries read one by one cost the profile service a
  // thousand lookups of the file.
  const std::string ini = Clip(ctx.CWINIFILE);
  ProfileSection lines = svc.profile.ReadSection(ini, Clip(section));
  ProfileSection applicationLines = svc.profile.ReadSection(ini, kUserApplicationsSection);
  const SectionValues entries(lines), applications(applicationLines);
  // A whole number held in one byte, as the IDE writes it.
  const int allMask = fileTypes ? std::atoi(entries.Read("All").c_str()) & 0xFF : 0;
  for (int n = 1; n <= kMaxSectionEntries; ++n) {
    Item item;
    // Kept whole: a long value must come back unchanged when the section is written again.
    item.STR = entries.Read(std::to_string(n));
    if (item.STR.empty()) break;
    item.NUM = n;
    if (Is(section, kUserMenusSection)) {
      SplitAtLast(item.STR, item.P2, '|');
      item.P3 = LeftJustify(CommandLineOf(applications, item.P2));
      // A command line that lost its opening quote.
      if (Upper(item.P3).find(".EXE\"") != std::string::npos && item.P3.front() != '"') item.P3 = '"' + item.P3;
    } else if (fileTypes || Is(section, kOpenDialogSection) || Is(section, kPickDialogSection)) {
      SplitAtLast(item.STR, item.P3, '|');
      SplitAtLast(item.STR, item.P2, '=');
      if (fileTypes && n == allMask) item.ALLFLAG = 1;
      if (!IsApplet(item.P3)) item.P4 = CommandLineOf(applications, item.P3);
    } else if (Is(section, kSetupMenuSection)) {
      SplitAtLast(item.STR, item.P2, '|');
      if (!IsApplet(item.P2)) item.P3 = CommandLineOf(applications, item.P2);
    }
    item.SORT = item.STR == "-" ? item.STR : LoadTimeSortKey(item.STR);
    items.push_back(std::move(item));
  }
  // A separator carries the key of the item after it, so that sorting keeps it in front of that item.
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].STR != "-") continue;
    items[i].SORT = i + 1 < items.size() ? items[i + 1].SORT : std::string(kSortMax, '\xFF');
  }
}

bool ValidateItem(std::string_view section, const Item& item) {
  if (item.STR.empty()) return false;
  if (item.P2.empty() && !Is(section, kTranslationsSection) && item.P3.empty()) return false;
  if (IsSeparator(item)) return true;
  if (Is(section, kUserMenusSection) || Is(section, kSetupMenuSection))
    return !item.P2.empty() && (IsApplet(item.P2) || !item.P3.empty());
  if (Is(section, kFileTypesSection) || Is(section, kOpenDialogSection) || Is(section, kPickDialogSection))
    return !item.P3.empty() && (IsApplet(item.P3) || !item.P4.empty());
  return true;
}

std::size_t MoveItemUp(std::vector<Item>& items, std::size_t p) {
  if (p <= 1 || p > items.size()) return p;
  Item& a = items[p - 1];
  Item& b = items[p - 2];
  if (IsSeparator(a)) a.SORT = b.SORT;  // b will follow it
  std::swap(a, b);
  return p - 1;
}

std::size_t MoveItemDown(std::vector<Item>& items, std::size_t p) {
  if (p < 1 || p >= items.size()) return p;
  Item& a = items[p - 1];
  if (IsSeparator(a) && p + 2 <= items.size()) a.SORT = items[p + 1].SORT;  // item p+2 will follow it
  std::swap(a, items[p]);
  return p + 1;
}

void SortBySortKey(std::vector<Item>& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const Item& a, const Item& b) { return ClipView(a.SORT) < ClipView(b.SORT); });
}

void SortByNumber(std::vector<Item>& items) {
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.NUM < b.NUM; });
}

}  // namespace qz
