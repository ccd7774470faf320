#include "commands/include.h"

#include "runtime/text.h"
#include "runtime/text_file.h"

namespace qz {

namespace {

constexpr std::size_t kLineMax = 255;  // a line is held in 255 characters

std::string IncludeLine(std::string_view name) { return "#INCLUDE('" + std::string(name) + "')"; }

}  // namespace

// Silent in every case, as installers expect; an unattended run still says in its exit code that nothing
// could be added.
void IncludeTemplate(Services& svc, const CommandLine& line) {
  const std::string file = Cut(line.Token(2), 255);
  const std::string name = Cut(line.Token(3), 254);
  if (IsBlank(name) || IsBlank(file)) {
    svc.Missing(svc.tr("INCLUDE needs a template file and an include file."));
    return;
  }
  const std::string include = IncludeLine(name);

  // Held while it is read and written, so that nobody writes between the two.
  TextFile text(svc.heldFile);
  const bool ok = [&] {
    std::vector<TextLine> lines;
    if (text.Open(Clip(file)) != FileError::None || text.ReadLines(lines) != FileError::None) return false;
    for (const TextLine& l : lines)
      if (std::string_view(l.text).substr(0, kLineMax).find(include) != std::string_view::npos) return true;
    // On a line of its own, after a blank one; a last line without its line end is ended first.
    if (!lines.empty() && !IsBlank(std::string_view(lines.back().text).substr(0, kLineMax)) &&
        text.Append("") != FileError::None)
      return false;
    return text.Append(include) == FileError::None;
  }();
  text.Close();
  if (!ok) svc.Fail();
}

// Takes out every line that is just the line INCLUDE writes (the file name in any letter case); blank lines
// stay, since INCLUDE's own cannot be told from the file's. Silent in every case, as INCLUDE is.
void RemoveInclude(Services& svc, const CommandLine& line) {
  const std::string file = Clip(Cut(line.Token(2), 255));
  const std::string name = Cut(line.Token(3), 254);
  if (IsBlank(name) || IsBlank(file)) {
    svc.Missing(svc.tr("UNINCLUDE needs a template file and an include file."));
    return;
  }
  const std::string include = Upper(IncludeLine(name));
  if (RemoveLines(svc.files, file, [&](std::string_view l) { return Upper(ClipView(l)) == include; }) !=
      FileError::None)
    svc.Fail();
}

}  // namespace qz
