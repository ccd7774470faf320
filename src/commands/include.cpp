#include "commands/include.h"

#include "runtime/text.h"
#include "runtime/text_file.h"

namespace qz {

namespace {
constexpr std::size_t kLineMax = 255;  // a line is held in 255 characters
}

// Silent in every case, as installers expect; an unattended run still says in its exit code that nothing
// could be added.
void IncludeTemplate(Services& svc, const CommandLine& line) {
  const std::string file = Cut(line.Token(2), 255);
  const std::string name = Cut(line.Token(3), 254);
  if (IsBlank(name) || IsBlank(file)) return;
  const std::string include = "#INCLUDE('" + name + "')";

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

}  // namespace qz
