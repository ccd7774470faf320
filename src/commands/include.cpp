#include "commands/include.h"

#include "base/ini_file.h"
#include "runtime/text.h"
#include "runtime/text_list.h"

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
// code why nothing was changed.
void Change(Services& svc, const std::string& file, const Rebuild& rebuild) {
  const FileChange change = ChangeFile(svc.Access(), file, WhenMissing::Fail, rebuild);
  if (change.result == ChangeResult::Busy)
    svc.Quiet(Outcome::Busy, svc.tr("Another run of QZCL is changing this file:") + " " + file);
  else if (!change.Done())
    svc.Quiet(Outcome::Error,
              svc.tr("The template file was not changed:") + " " + file + ": " + svc.tr(FileErrorReason(change.error)));
}

}  // namespace

void IncludeTemplate(Services& svc, const CommandLine& line) {
  const auto args = Arguments(svc, line, Phrase("INCLUDE needs a template file and an include file."));
  if (!args) return;
  const std::string include = IncludeLine(args->second);
  Change(svc, args->first, [&](std::string_view bytes, std::string& next) {
    const std::vector<std::string_view> lines = Lines(bytes);
    for (std::string_view l : lines)
      if (l.find(include) != std::string_view::npos) return FileError::None;
    // On a line of its own, after a blank one; a last line without its line end is ended first.
    if (!bytes.empty() && bytes.back() != '\n') next += bytes.back() == '\r' ? "\n" : "\r\n";
    if (!lines.empty() && !IsBlank(lines.back())) next += "\r\n";
    next += include + "\r\n";
    return FileError::None;
  });
}

// Takes out every line that is just the line INCLUDE writes (the file name in any letter case); blank lines
// stay, since INCLUDE's own cannot be told from the file's.
void RemoveInclude(Services& svc, const CommandLine& line) {
  const auto args = Arguments(svc, line, Phrase("UNINCLUDE needs a template file and an include file."));
  if (!args) return;
  const std::string include = Upper(IncludeLine(args->second));
  if (!svc.files.Exists(args->first)) {
    svc.Quiet(Outcome::Info,
              svc.tr("The template file does not exist, so there is nothing to remove:") + " " + args->first);
    return;
  }
  Change(svc, args->first, [&](std::string_view bytes, std::string& next) {
    next = WithoutLines(bytes, [&](std::string_view l) { return Upper(ClipView(l)) == include; });
    return FileError::None;
  });
}

}  // namespace qz
