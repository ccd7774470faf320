#include "commands/include.h"

#include <algorithm>

#include "base/ini_file.h"
#include "base/owners.h"
#include "text/text.h"
#include "text/text_list.h"

namespace qz {

namespace {

std::string IncludeLine(std::string_view name) { return "#INCLUDE('" + std::string(name) + "')"; }

// The template file and the include name of INCLUDE and UNINCLUDE, taken whole; nothing, after a line for an
// unattended run's log, when one is missing or the name cannot stand in the line between its quotes.
std::optional<std::pair<std::string, std::string>> Arguments(Services& svc, const CommandLine& line,
                                                             const char* missing) {
  std::string file = Clip(line.Token(2)), name = line.Token(3);
  if (IsBlank(name) || IsBlank(file)) {
    svc.Quiet(Outcome::Usage, svc.tr(missing));
    return std::nullopt;
  }
  if (name.find_first_of(std::string_view("\r\n\0'", 4)) != std::string::npos) {
    svc.Quiet(Outcome::Usage,
              svc.tr("An include file name cannot hold a line break, NUL or a quote:") + " " + Visible(name));
    return std::nullopt;
  }
  return std::pair{std::move(file), std::move(name)};
}

// Silent in every case, as installers expect: an unattended run says in a line of its log and in its exit
// code why nothing was changed. after runs once the change is there, the file still locked.
void Change(Services& svc, const std::string& file, const Rebuild& rebuild, const AfterChange& after = nullptr) {
  const FileChange change = ChangeFile(svc.Access(), file, WhenMissing::Fail, rebuild, after);
  if (change.result == ChangeResult::Busy)
    svc.Quiet(Outcome::Busy, svc.tr("Another run of QZCL is changing this file:") + " " + file);
  else if (!change.Done())
    svc.Quiet(Outcome::Error,
              svc.tr("The template file was not changed:") + " " + file + ": " + svc.tr(FileErrorReason(change.error)));
}

bool IsIncludeLine(std::string_view line, const std::string& upperInclude) {
  return Upper(ClipView(line)) == upperInclude;
}

}  // namespace

void IncludeTemplate(Services& svc, const CommandLine& line) {
  const auto args = Arguments(svc, line, Phrase("INCLUDE needs a template file and an include file."));
  if (!args) return;
  const std::string include = IncludeLine(args->second);
  Owners owners{svc, LedgerOfTemplate(args->first)};
  const ItemKey key{ItemKind::Include, args->first, "", "", args->second};
  Change(svc, args->first, [&](std::string_view bytes, std::string& next) {
    const std::vector<std::string_view> lines = Lines(bytes);
    const bool present = std::any_of(lines.begin(), lines.end(),
                                     [&](std::string_view l) { return l.find(include) != std::string_view::npos; });
    // On a line of its own, after a blank one; a last line without its line end is ended first.
    const bool blank = !lines.empty() && !IsBlank(lines.back());
    // The claim first: a kill before the file is written leaves a claim that the next run settles.
    if (!svc.owner.empty() && !owners.Change([&](Ledger& ledger) {
          ledger.AddClaim(key, svc.owner, present, svc.adopt, std::nullopt, std::nullopt, !present && blank);
        }))
      return FileError::None;
    if (present) return FileError::None;
    if (!bytes.empty() && bytes.back() != '\n') next += bytes.back() == '\r' ? "\n" : "\r\n";
    if (blank) next += "\r\n";
    next += include + "\r\n";
    return FileError::None;
  });
  owners.Finish();
}

// Takes out every line that is just the line INCLUDE writes (the file name in any letter case). The blank line
// before it goes too when INCLUDE put it there for the owner that takes it out; other blank lines stay, since
// INCLUDE's own cannot be told from the file's.
void RemoveInclude(Services& svc, const CommandLine& line) {
  const auto args = Arguments(svc, line, Phrase("UNINCLUDE needs a template file and an include file."));
  if (!args) return;
  const std::string include = Upper(IncludeLine(args->second));
  if (!svc.files.Exists(args->first)) {
    svc.Quiet(Outcome::Info,
              svc.tr("The template file does not exist, so there is nothing to remove:") + " " + args->first);
    return;
  }
  Owners owners{svc, LedgerOfTemplate(args->first)};
  const ItemKey key{ItemKind::Include, args->first, "", "", args->second};
  Change(
      svc, args->first,
      [&](std::string_view bytes, std::string& next) {
        if (!owners.Read()) return FileError::None;
              const RemovalPlan plan = PlanRemoval(&*owners.ledger, key, svc.owner);
        const Claim* claim = owners.ledger->Find(key);
        const std::vector<std::string_view> lines = Lines(bytes);
        const bool present =
            std::any_of(lines.begin(), lines.end(), [&](std::string_view l) { return IsIncludeLine(l, include); });
        if (plan.what != Removal::Remove || present) owners.Note(plan, args->second);
        if (plan.what != Removal::Remove) return FileError::None;
        const bool ownBlank = !svc.owner.empty() && claim && claim->blank;
        next.clear();
        std::size_t blankAt = std::string::npos;  // where the last line kept starts, when it is blank
        bool first = true;
        for (const LineView& l : SplitLines(bytes)) {
          if (IsIncludeLine(l.text, include)) {
            if (first && ownBlank && blankAt != std::string::npos) next.erase(blankAt);
            first = false;
            continue;
          }
          blankAt = l.text.empty() ? next.size() : std::string::npos;
          next += l.Whole();
        }
        return FileError::None;
      },
      [&] { owners.Drop({key}); });
  owners.Finish();
}

}  // namespace qz
