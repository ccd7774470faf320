#include "commands/include.h"

#include "runtime/text.h"
#include "runtime/text_list.h"

namespace qz {

namespace {
constexpr std::size_t kLineMax = 255;  // a line is held in 255 characters
}

// Silent in every case, as installers expect; an unattended run still says in its exit code that nothing
// could be added.
void IncludeTemplate(CmdContext& ctx) {
  Services& svc = ctx.svc;
  const std::string file = Cut(ctx.GetToken(2), 255);
  const std::string name = Cut(ctx.GetToken(3), 254);
  if (IsBlank(name) || IsBlank(file)) return;
  const std::string line = "#INCLUDE('" + name + "')";

  std::string bytes;
  if (svc.files.ReadAll(Clip(file), bytes) != FileStatus::Ok) {
    svc.Fail();
    return;
  }
  std::string_view last;
  for (std::string_view text : Lines(bytes)) {
    text = text.substr(0, kLineMax);
    if (text.find(line) != std::string_view::npos) return;
    last = text;
  }
  std::string added;
  // A last line without its line end is ended first, so the new line never joins it.
  if (!bytes.empty() && bytes.back() != '\n') added += "\r\n";
  if (!IsBlank(last)) added += "\r\n";
  added += line + "\r\n";
  if (svc.files.Append(Clip(file), added) != FileStatus::Ok) svc.Fail();
}

}  // namespace qz
