#include "editor/section_table.h"

#include <algorithm>

#include "base/ini_file.h"
#include "base/list_sections.h"
#include "text/text.h"
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

// Whole, however long: it goes back to the file as it was read.
std::string CommandLineOf(const IniDocument& ini, const std::string& appRef) {
  return ini.Get(kUserApplicationsSection, appRef).value_or("");
}

std::vector<Item> LoadTranslations(Services& svc) {
  std::vector<Item> items;
  const std::string name = Clip(svc.langFile);
  if (IsBlank(name) || !svc.files.Exists(name)) return items;
  TranslationFile file(svc.codec);
  file.SetName(name);
  std::optional<TranslationFile::Reader> reader;
  const FileError opened = file.Open();
  if (opened == FileError::None) reader.emplace(file.Read());
  std::string source, replacement;
  while (reader && reader->Next(source, replacement)) {
    Item item;
    item.text = Cut(PadTo(source, 255), kFieldMax);
    item.replacement = Cut(PadTo(replacement, 255), kFieldMax);
    item.sortKey = Upper(item.text);
    items.push_back(std::move(item));
  }
  // A damaged file shows nothing of it: an update would otherwise keep only the rows read before the damage.
  if (!reader || reader->Error() != FileError::None) {
    ShowFileFailure(svc, {svc.tr("QZCL File Error"), Phrase("The translation file could not be read:"), ""}, name,
                    {ChangeResult::Failed, reader ? reader->Error() : opened, ChangeStep::Read});
    items.clear();
  }
  return items;
}

}  // namespace

std::string& FieldOf(Item& item, int field) {
  switch (field) {
    case kMaskField: return item.mask;
    case kAppRefField: return item.appRef;
    case kCommandLineField: return item.commandLine;
    case kReplacementField: return item.replacement;
    default: return item.text;
  }
}

const std::string& FieldOf(const Item& item, int field) { return FieldOf(const_cast<Item&>(item), field); }

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
  if (IsBlank(item.text)) return;
  std::string key = item.text;
  if (auto amp = key.find('&'); amp != std::string::npos) key.erase(amp, 1);
  item.sortKey = Cut(Upper(key), kSortMax);
}

bool IsSeparator(const Item& item) { return ClipView(item.text) == "-" || ClipView(item.text).ends_with("/-"); }

std::vector<Item> LoadSection(Services& svc, const std::string& iniFile, std::string_view section) {
  if (Is(section, kTranslationsSection)) return LoadTranslations(svc);
  // The file is read once, and every entry up to the first empty one: an update then rewrites all of them.
  const std::optional<IniDocument> ini =
      ReadIniFile(svc, Clip(iniFile), {svc.tr("QZCL File Error"), Phrase("The IDE's INI file could not be read:"), ""});
  return ini ? SectionItems(*ini, section) : std::vector<Item>();
}

bool SameEntries(const std::vector<Item>& a, const std::vector<Item>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Item& x, const Item& y) {
    return ClipView(x.text) == ClipView(y.text) && ClipView(x.mask) == ClipView(y.mask) &&
           ClipView(x.appRef) == ClipView(y.appRef) && ClipView(x.commandLine) == ClipView(y.commandLine) &&
           ClipView(x.replacement) == ClipView(y.replacement) && x.allFilesMask == y.allFilesMask;
  });
}

std::vector<Item> SectionItems(const IniDocument& ini, std::string_view section) {
  std::vector<Item> items;
  const ListSection* rule = FindListSection(section);
  const std::string name = Clip(section);
  // A whole number held in one byte, as the IDE writes it.
  const int allMask = rule && rule->allMask ? std::atoi(ini.Get(name, "All").value_or("").c_str()) & 0xFF : 0;
  int n = 0;
  for (std::string& value : EntryValues(ini, name)) {
    Item item;
    item.number = ++n;
    if (!rule) {
      item.text = std::move(value);
    } else {
      Entry entry = ParseEntry(*rule, std::move(value));
      item.text = std::move(entry.text);
      item.mask = std::move(entry.mask);
      item.appRef = std::move(entry.appRef);
      item.allFilesMask = rule->allMask && n == allMask;
      if (rule->userMenu) {
        item.commandLine = LeftJustify(CommandLineOf(ini, item.appRef));
        // A command line that lost its opening quote.
        if (Upper(item.commandLine).find(".EXE\"") != std::string::npos && item.commandLine.front() != '"')
          item.commandLine = '"' + item.commandLine;
      } else if (!IsApplet(item.appRef)) {
        item.commandLine = CommandLineOf(ini, item.appRef);
      }
    }
    item.sortKey = item.text == "-" ? item.text : LoadTimeSortKey(item.text);
    items.push_back(std::move(item));
  }
  // A separator carries the key of the item after it, so that sorting keeps it in front of that item.
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].text != "-") continue;
    items[i].sortKey = i + 1 < items.size() ? items[i + 1].sortKey : std::string(kSortMax, '\xFF');
  }
  return items;
}

// Texts are compared without their trailing blanks: "   " is no text, "- " a separator.
bool ValidateItem(std::string_view section, const Item& item) {
  if (IsBlank(item.text)) return false;
  if (Is(section, kTranslationsSection)) return true;
  const ListSection* rule = FindListSection(section);
  const bool menu = rule && !rule->hasMask;
  // A menu names its application in the column after the text; a file list its mask or extension first.
  if (IsBlank(menu ? item.appRef : item.mask) && IsBlank(menu ? item.commandLine : item.appRef)) return false;
  if (IsSeparator(item)) return true;
  if (rule) return !IsBlank(item.appRef) && (IsApplet(item.appRef) || !IsBlank(item.commandLine));
  return true;
}

std::size_t MoveItemUp(std::vector<Item>& items, std::size_t p) {
  if (p <= 1 || p > items.size()) return p;
  Item& a = items[p - 1];
  Item& b = items[p - 2];
  if (IsSeparator(a)) a.sortKey = b.sortKey;  // b will follow it
  std::swap(a, b);
  return p - 1;
}

std::size_t MoveItemDown(std::vector<Item>& items, std::size_t p) {
  if (p < 1 || p >= items.size()) return p;
  Item& a = items[p - 1];
  if (IsSeparator(a) && p + 2 <= items.size()) a.sortKey = items[p + 1].sortKey;  // item p+2 will follow it
  std::swap(a, items[p]);
  return p + 1;
}

void SortBySortKey(std::vector<Item>& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const Item& a, const Item& b) { return ClipView(a.sortKey) < ClipView(b.sortKey); });
}

void SortByNumber(std::vector<Item>& items) {
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.number < b.number; });
}

}  // namespace qz
