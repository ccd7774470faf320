// What a run changed, or in a dry run would change, as a person reads a patch: each file as a unified diff of
// its lines, each environment variable as its old and new value. A dry run prints it; the log keeps it, with
// what the run said in between.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qz {

// The lines of before and after as a unified diff with three lines of context, under the headers given ("---"
// and "+++" lines, each ending with "\n"). Lines are compared with their line ends; a last line without one
// is followed by "\ No newline at end of file".
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view headers);

class ChangeReport {
 public:
  // A file's bytes before and after (nothing: it was not there, or is gone).
  void File(const std::string& path, std::optional<std::string_view> before, std::optional<std::string_view> after);
  // A variable at where (its registry key and name), before and after (nothing: not set), of its registry type.
  void Variable(const std::string& where, const std::optional<std::string>& before,
                const std::optional<std::string>& after, std::string_view type);
  // What the run said (a box, a line for an installer's log), in its place among the changes.
  void Said(std::string_view text);

  // Whether no change was reported (what was said does not count).
  bool Empty() const { return !changed_; }
  // The changes with what was said; each line ends with "\n".
  const std::string& Everything() const { return everything_; }

  // Called with each change as it is reported, so that a dry run shows it before what it says about it.
  std::function<void(const std::string& change)> onChange;

 private:
  void Add(const std::string& change);
  std::string everything_;
  bool changed_ = false;
};

}  // namespace qz
