#include "editor/ini_update.h"

#include <algorithm>

#include "base/ini_file.h"
#include "ide/ide_check.h"
#include "runtime/pictures.h"
#include "runtime/text.h"
#include "translator/translation_file.h"

namespace qz {

namespace {

// A name is looked for this many times; between tries the clock moves on to another second.
constexpr int kBackupAttempts = 100;
constexpr int kBackupPauseMs = 20;

// yymmdd hhmmss.
std::string Stamp(const LocalTime& t) { return FormatDate(t, "d11") + " " + FormatTime(t, "t5"); }

// Copies file to a free name made by name(stamp); the name used, or empty when no copy could be made.
template <typename MakeName>
std::string Backup(Services& svc, const std::string& file, MakeName name) {
  for (int attempt = 0; attempt < kBackupAttempts; ++attempt) {
    std::string candidate = name(Stamp(svc.clock.Now()));
    if (!svc.files.Exists(candidate)) return svc.files.Copy(file, candidate) == FileError::None ? candidate : "";
    svc.clock.Wait(kBackupPauseMs);
  }
  return "";
}

void Say(Services& svc, const std::string& text, const std::string& caption, Icon icon, Outcome outcome) {
  Box box;
  box.caption = caption;
  box.text = text;
  box.icon = icon;
  box.outcome = outcome;
  svc.Show(box);
}

bool UpdateIni(Services& svc, const std::string& iniFile, std::string_view sectionName, const std::vector<Item>& items,
               int storedCount) {
  const std::string ini = Clip(iniFile);
  const std::string section = Clip(sectionName);
  using K = IniText::Kind;
  for (const Item& item : items) {
    const bool application = !IsApplet(item.appRef) && !IsBlank(item.commandLine);
    if (RefusesIniTexts(svc, svc.tr("Update File"),
                        {{K::Key, application ? ClipView(item.appRef) : std::string_view()},
                         {K::Value, item.text},
                         {K::Value, item.mask},
                         {K::Value, item.appRef},
                         {K::Value, item.commandLine}}))
      return false;
  }
  // The INI file is written only over a copy that really exists: a completion box must never name a
  // backup that was not made.
  const std::string base = ini.size() >= 5 ? ini.substr(0, ini.size() - 5) : ini;
  const std::string backup = Backup(svc, ini, [&](const std::string& stamp) { return base + " " + stamp + ".ini"; });
  if (backup.empty()) {
    Say(svc, svc.tr("The INI file could not be copied to a backup. Nothing was written.") + "|" + Upper(ini),
        svc.tr("Update File"), Icon::Exclamation, Outcome::Error);
    return false;
  }
  auto failed = [&] {
    Say(svc, svc.tr("The INI file could not be written. The original is in the backup:") + "|" + Upper(backup),
        svc.tr("Update File"), Icon::Exclamation, Outcome::Error);
    return false;
  };
  // The file is read once, the section and the command lines are changed in memory, and the file is written
  // once: lines the list does not own stay as they are, and a kill leaves the old file or the new one.
  std::optional<IniDocument> read = LoadIni(svc.files, ini);
  if (!read) return failed();
  IniDocument& doc = *read;
  auto app = [&](const std::string& appRef, const std::string& commandLine) {
    if (!IsApplet(appRef) && !IsBlank(commandLine)) doc.Set(kUserApplicationsSection, Clip(appRef), Clip(commandLine));
  };
  const int n = static_cast<int>(items.size());
  const int m = std::max(n, storedCount);
  for (int i = 1; i <= m; ++i) {
    const std::string key = std::to_string(i);
    if (i > n) {
      // Entries the list no longer has end it: the IDE reads up to the first empty one.
      if (doc.Get(section, key)) doc.Set(section, key, "");
      continue;
    }
    const Item& item = items[static_cast<std::size_t>(i - 1)];
    std::string value;
    if (section == kUserMenusSection || section == kSetupMenuSection) {
      value = item.text + "|" + item.appRef;
    } else if (section == kFileTypesSection) {
      value = item.text + "=" + item.mask + "|" + item.appRef;
      if (item.allFilesMask) doc.Set(section, "All", key);
    } else {
      value = Clip(item.text) + "=" + Clip(item.mask) + "|" + item.appRef;
    }
    app(item.appRef, item.commandLine);
    doc.Set(section, key, Clip(value));
  }
  if (SaveIni(svc.files, ini, doc) != FileError::None) return failed();
  Say(svc,
      Upper(ini) + "||" + svc.tr("The original INI file has been saved to the date time stamped file:") + "|" +
          Upper(backup),
      svc.tr("Update Completed"), Icon::WinLogo, Outcome::Info);
  return true;
}

bool UpdateTranslations(Services& svc, const std::vector<Item>& items) {
  const std::string file = Clip(svc.langFile);
  const std::string backup = Backup(svc, file, [](const std::string& stamp) { return "QZCLLang " + stamp + ".tps"; });
  auto refuse = [&](const char* text) {
    Say(svc, svc.tr(text), "", Icon::None, Outcome::Error);
    return false;
  };
  // The misspellings are the program's own texts, kept because translation files look them up.
  if (backup.empty()) return refuse(Phrase("The file could not be copies. Update canceled."));
  if (!svc.files.CanOpenExclusively(file))
    return refuse(Phrase("The filel cold not be opened for exclusive access. Update canceled."));
  TranslationFile store(svc.codec);
  store.SetName(file);
  if (store.Open() != FileError::None)
    return refuse(Phrase("The filel cold not be opened for exclusive access. Update canceled."));
  std::vector<TranslationPair> pairs;
  for (const Item& item : items) pairs.push_back({Clip(item.text), Clip(item.replacement)});
  // One transaction: the table is replaced whole or stays as it was.
  if (store.ReplaceAll(pairs) != FileError::None)
    return refuse(Phrase("The filel cold not be opened emptied. Update canceled."));
  store.Close();
  return true;
}

}  // namespace

bool ConfirmUpdate(Services& svc, const Installation& ide, std::string_view section) {
  Box box;
  box.caption = svc.tr("Update File");
  box.icon = Icon::Exclamation;
  box.buttons = Buttons::YesNo;
  box.defaultButton = Button::Yes;
  const bool translations = ClipView(section) == kTranslationsSection;
  box.text = translations
                 ? svc.tr("The Translation file will be copied to a date and time stamped backup and then updated.")
                 : svc.tr("The current INI file will be copied to a date and time stamped backup and then updated.") +
                       "||" + svc.tr("Clarion should be closed.") + " " + svc.tr("Do you want to proceed?");
  if (svc.Show(box) != Button::Yes) return false;
  if (translations) return true;
  return !ClarionIsOpen(svc, ide.exe) || ClarionMustBeClosed(svc, ide.exe, svc.tr("Update Items in Clarion INI File"));
}

bool UpdateSection(Services& svc, const Installation& ide, std::string_view section, const std::vector<Item>& items,
                   int storedCount) {
  return ClipView(section) == kTranslationsSection ? UpdateTranslations(svc, items)
                                                   : UpdateIni(svc, ide.iniFile, section, items, storedCount);
}

}  // namespace qz
