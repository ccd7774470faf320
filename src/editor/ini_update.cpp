#include "editor/ini_update.h"

#include <algorithm>
#include <optional>

#include "base/ini_file.h"
#include "base/list_sections.h"
#include "ide/ide_check.h"
#include "ide/reg.h"
#include "text/pictures.h"
#include "text/text.h"
#include "translator/translation_file.h"

namespace qz {

namespace {

// A name is looked for this many times; between tries the clock moves on to another second.
constexpr int kBackupAttempts = 100;
constexpr int kBackupPauseMs = 20;

// yymmdd hhmmss.
std::string Stamp(const LocalTime& t) { return FormatDate(t, "d11") + " " + FormatTime(t, "t5"); }

// Copies file to a free name made by name(stamp): the name used, or empty with the reason when no whole copy
// could be made.
template <typename MakeName>
std::string Backup(Services& svc, const std::string& file, MakeName name, FileError& error) {
  error = FileError::AlreadyLocked;  // every name taken
  for (int attempt = 0; attempt < kBackupAttempts; ++attempt) {
    std::string candidate = name(Stamp(svc.clock.Now()));
    if (!svc.files.Exists(candidate)) {
      error = svc.files.Copy(file, candidate);
      return error == FileError::None ? candidate : "";
    }
    svc.clock.Wait(kBackupPauseMs);
  }
  return "";
}

void WriteSection(IniDocument& doc, const std::string& section, const std::vector<Item>& items, int storedCount) {
  // Any other section is written as the file lists with blanks dropped are.
  static constexpr ListSection kOther{"", true, true, false, false};
  const ListSection* found = FindListSection(section);
  const ListSection& rule = found ? *found : kOther;
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
    if (rule.allMask && item.allFilesMask) doc.Set(section, "All", key);
    if (!IsApplet(item.appRef) && !IsBlank(item.commandLine))
      doc.Set(kUserApplicationsSection, Clip(item.appRef), Clip(item.commandLine));
    doc.Set(section, key, FormatEntry(rule, {item.text, item.mask, item.appRef}));
  }
}

// Asked, without a lock held, when the file holds another section than the one loaded: Yes writes the list over
// the other program's change; No, the default, writes nothing and loads the section again.
bool WriteOverOtherChange(Services& svc, const std::string& file) {
  return svc.Ask(svc.tr("Update File"),
                 svc.tr("Another program changed this list in the file after it was loaded:") + "|  " + Upper(file) +
                     "||" + svc.tr("Write your list over that change? No writes nothing and loads the list again."),
                 Buttons::YesNo, Button::No) == Button::Yes;
}

namespace {

// True, after a box, when an item holds a text the INI file cannot hold.
bool RefusesItems(Services& svc, const std::string& caption, const std::vector<Item>& items) {
  using K = IniText::Kind;
  for (const Item& item : items) {
    const bool application = !IsApplet(item.appRef) && !IsBlank(item.commandLine);
    if (RefusesIniTexts(svc, caption,
                        {{K::Key, application ? ClipView(item.appRef) : std::string_view()},
                         {K::Value, item.text},
                         {K::Value, item.mask},
                         {K::Value, item.appRef},
                         {K::Value, item.commandLine}}))
      return true;
  }
  return false;
}

// Under the file's lock: a backup of the file as read, then the section and the command lines changed in memory
// and the file written once. The INI file is written only over a copy that really exists: a completion box must
// never name a backup that was not made. Nothing, when the user chose to load the list again rather than write
// it over another program's change.
std::optional<FileChange> WriteWithBackup(Services& svc, const std::string& ini, const std::string& section,
                                          const std::vector<Item>& items, std::vector<Item>& loaded, int storedCount,
                                          std::string& backup) {
  const std::string base = ini.size() >= 5 ? ini.substr(0, ini.size() - 5) : ini;
  FileError backupError = FileError::None;
  FileChange change;
  for (bool overOtherChange : {false, true}) {
    bool otherChange = false;
    change = ChangeFile(svc.Access(), ini, WhenMissing::Fail, [&](std::string_view bytes, std::string& next) {
      IniDocument doc(bytes, &svc.codec);
      if (!overOtherChange && !SameEntries(SectionItems(doc, section), loaded)) {
        otherChange = true;  // nothing is written: the question waits until the lock is let go
        return FileError::None;
      }
      backup = Backup(
          svc, ini, [&](const std::string& stamp) { return base + " " + stamp + ".ini"; }, backupError);
      if (backup.empty()) return backupError;
      // Entries another program added meanwhile go too when the list is written over them.
      WriteSection(doc, section, items, std::max(storedCount, static_cast<int>(SectionItems(doc, section).size())));
      loaded = SectionItems(doc, section);
      if (doc.Changed()) next = doc.Bytes();
      return FileError::None;
    });
    if (!otherChange) break;
    if (!WriteOverOtherChange(svc, ini)) return std::nullopt;
  }
  return change;
}

// The box that says how the update went.
UpdateResult TellHowItWent(Services& svc, const std::string& caption, const std::string& ini, const FileChange& change,
                           const std::string& backup) {
  if (change.result == ChangeResult::Busy) {
    svc.Busy(caption, svc.tr("Another run of QZCL is changing this file:") + "|  " + Upper(ini) + "||" +
                          svc.tr("Nothing was changed. Try again when it has finished."));
    return UpdateResult::NotWritten;
  }
  if (!change.Done() && backup.empty()) {
    svc.Error(caption, svc.tr("The INI file could not be copied to a backup. Nothing was written.") + "|" + Upper(ini) +
                           "|" + svc.tr(FileErrorReason(change.error)));
    return UpdateResult::NotWritten;
  }
  if (!change.Done()) {
    svc.Error(caption, svc.tr("The INI file could not be written. The original is in the backup:") + "|" +
                           Upper(backup) + "|" + svc.tr(FileErrorReason(change.error)));
    return UpdateResult::NotWritten;
  }
  svc.Inform(svc.tr("Update Completed"),
             Upper(ini) + "||" + svc.tr("The original INI file has been saved to the date time stamped file:") + "|" +
                 Upper(backup),
             Icon::WinLogo);
  return UpdateResult::Written;
}

}  // namespace

UpdateResult UpdateIni(Services& svc, const Installation& ide, std::string_view sectionName,
                       const std::vector<Item>& items, std::vector<Item>& loaded, int storedCount) {
  const std::string ini = Clip(ide.iniFile);
  const std::string caption = svc.tr("Update File");
  if (RefusesItems(svc, caption, items)) return UpdateResult::NotWritten;
  RecoverAutoPick(svc, ide);
  std::string backup;
  const std::optional<FileChange> change =
      WriteWithBackup(svc, ini, Clip(sectionName), items, loaded, storedCount, backup);
  return change ? TellHowItWent(svc, caption, ini, *change, backup) : UpdateResult::Reload;
}

UpdateResult UpdateTranslations(Services& svc, const std::vector<Item>& items, std::vector<Item>& loaded) {
  const std::string file = Clip(svc.langFile);
  // Under the file's lock, as the IDE's INI file, and with the same question when another program changed it.
  std::unique_ptr<Locks::Held> lock;
  for (bool overOtherChange : {false, true}) {
    if (svc.locks.Acquire(LockKind::File, file, kLockWaitMs, lock) != LockWait::Held) {
      svc.Busy(svc.tr("Update File"), svc.tr("Another run of QZCL is changing this file:") + "|  " + Upper(file) +
                                          "||" + svc.tr("Nothing was changed. Try again when it has finished."));
      return UpdateResult::NotWritten;
    }
    if (overOtherChange || SameEntries(LoadSection(svc, "", kTranslationsSection), loaded)) break;
    lock.reset();
    if (!WriteOverOtherChange(svc, file)) return UpdateResult::Reload;
  }
  FileError copyError = FileError::None;
  const std::string backup = Backup(
      svc, file, [](const std::string& stamp) { return "QZCLLang " + stamp + ".tps"; }, copyError);
  auto refuse = [&](const char* text) {
    svc.Error("", svc.tr(text), Icon::None);
    return UpdateResult::NotWritten;
  };
  // The misspellings are the program's own texts, kept because translation files look them up.
  if (backup.empty()) {
    svc.Error("", svc.tr("The file could not be copies. Update canceled.") + "|" + svc.tr(FileErrorReason(copyError)),
              Icon::None);
    return UpdateResult::NotWritten;
  }
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
  loaded = items;
  return UpdateResult::Written;
}

}  // namespace

bool ConfirmUpdate(Services& svc, std::string_view section) {
  const bool translations = ClipView(section) == kTranslationsSection;
  const std::string text =
      translations ? svc.tr("The Translation file will be copied to a date and time stamped backup and then updated.")
                   : svc.tr("The current INI file will be copied to a date and time stamped backup and then updated.") +
                         "||" + svc.tr("Clarion should be closed.") + " " + svc.tr("Do you want to proceed?");
  if (svc.Ask(svc.tr("Update File"), text, Buttons::YesNo, Button::Yes) != Button::Yes) return false;
  if (translations) return true;
  return !ClarionIsOpen(svc) || ClarionMustBeClosed(svc, svc.tr("Update Items in Clarion INI File"));
}

UpdateResult UpdateSection(Services& svc, const Installation& ide, std::string_view section,
                           const std::vector<Item>& items, std::vector<Item>& loaded, int storedCount) {
  return ClipView(section) == kTranslationsSection ? UpdateTranslations(svc, items, loaded)
                                                   : UpdateIni(svc, ide, section, items, loaded, storedCount);
}

}  // namespace qz
