#include "text/change_report.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "text/text_list.h"

namespace qz {

namespace {

constexpr std::size_t kContext = 3;
// Past this many cells the middle of two files is shown as taken out and put in whole, rather than spending
// the memory of a finer comparison (the changes of a command are a few lines).
constexpr std::size_t kMaxCells = std::size_t{1} << 22;
constexpr std::string_view kMissing = "NUL";  // the name Windows gives to nothing

// Each line with its line end.
std::vector<std::string_view> SplitKeepingEnds(std::string_view text) {
  std::vector<std::string_view> lines;
  for (const LineView& line : SplitLines(text)) lines.push_back(line.Whole());
  return lines;
}

enum class Op : char { Same = ' ', Out = '-', In = '+' };
struct Step {
  Op op;
  std::string_view line;
  std::size_t oldLine, newLine;  // 1-based numbers the line has (had) before and after
};

// The shortest edit from a to b, as a longest common subsequence finds it, between their common first and last
// lines.
std::vector<Step> Edit(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
  const std::size_t n = a.size() - head - tail, m = b.size() - head - tail;
  std::vector<Step> steps;
  for (std::size_t i = 0; i < head; ++i) steps.push_back({Op::Same, a[i], i + 1, i + 1});
  std::size_t i = 0, j = 0;
  auto out = [&] { steps.push_back({Op::Out, a[head + i], head + i + 1, head + j}), ++i; };
  auto in = [&] { steps.push_back({Op::In, b[head + j], head + i, head + j + 1}), ++j; };
  if (n * m <= kMaxCells) {
    // lcs[i][j]: the longest common subsequence of the middles from i and j on.
    std::vector<std::uint16_t> lcs((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t r, std::size_t c) -> std::uint16_t& { return lcs[r * (m + 1) + c]; };
    for (std::size_t r = n; r-- > 0;)
      for (std::size_t c = m; c-- > 0;)
        at(r, c) = a[head + r] == b[head + c] ? static_cast<std::uint16_t>(at(r + 1, c + 1) + 1)
                                              : std::max(at(r + 1, c), at(r, c + 1));
    while (i < n && j < m) {
      if (a[head + i] == b[head + j]) {
        steps.push_back({Op::Same, a[head + i], head + i + 1, head + j + 1});
        ++i, ++j;
      } else if (at(i + 1, j) >= at(i, j + 1)) {
        out();
      } else {
        in();
      }
    }
  }
  while (i < n) out();
  while (j < m) in();
  for (std::size_t k = 0; k < tail; ++k)
    steps.push_back({Op::Same, a[a.size() - tail + k], a.size() - tail + k + 1, b.size() - tail + k + 1});
  return steps;
}

// "-start,count" as a unified diff writes a range; an empty range names the line before it.
std::string Range(char sign, std::size_t first, std::size_t count) {
  std::string range = sign + std::to_string(count == 0 ? first - 1 : first);
  return count == 1 ? range : range + "," + std::to_string(count);
}

std::string Shown(char sign, std::string_view line) {
  std::string shown(1, sign);
  if (line.ends_with('\n')) {
    line.remove_suffix(line.ends_with("\r\n") ? 2 : 1);
    return shown.append(line) + "\n";
  }
  return shown.append(line) + "\n\\ No newline at end of file\n";
}

}  // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view headers) {
  const std::vector<Step> steps = Edit(SplitKeepingEnds(before), SplitKeepingEnds(after));
  std::string diff(headers);
  std::size_t k = 0;
  while (k < steps.size()) {
    while (k < steps.size() && steps[k].op == Op::Same) ++k;
    if (k == steps.size()) break;
    // A hunk: the changes with their context, joined while no more than twice the context lies between them.
    const std::size_t start = k - std::min(k, kContext);
    std::size_t last = k;
    for (std::size_t s = k + 1; s < steps.size() && s - last - 1 <= 2 * kContext; ++s)
      if (steps[s].op != Op::Same) last = s;
    const std::size_t end = std::min(steps.size(), last + 1 + kContext);
    std::size_t oldCount = 0, newCount = 0;
    for (std::size_t s = start; s < end; ++s) {
      oldCount += steps[s].op != Op::In;
      newCount += steps[s].op != Op::Out;
    }
    const Step& first = steps[start];
    const std::size_t oldFirst = first.op == Op::In ? first.oldLine + 1 : first.oldLine;
    const std::size_t newFirst = first.op == Op::Out ? first.newLine + 1 : first.newLine;
    diff += "@@ " + Range('-', oldFirst, oldCount) + " " + Range('+', newFirst, newCount) + " @@\n";
    for (std::size_t s = start; s < end; ++s) diff += Shown(static_cast<char>(steps[s].op), steps[s].line);
    k = end;
  }
  return diff;
}

void ChangeReport::File(const std::string& path, std::optional<std::string_view> before,
                        std::optional<std::string_view> after) {
  const std::string headers =
      "--- " + (before ? path : std::string(kMissing)) + "\n" + "+++ " + (after ? path : std::string(kMissing)) + "\n";
  Add(UnifiedDiff(before.value_or(""), after.value_or(""), headers));
}

void ChangeReport::Variable(const std::string& where, const std::optional<std::string>& before,
                            const std::optional<std::string>& after, std::string_view type) {
  const std::string typed = where + " (" + std::string(type) + ")";
  std::string change =
      "--- " + (before ? typed : std::string(kMissing)) + "\n+++ " + (after ? typed : std::string(kMissing)) + "\n";
  if (before) change += "-" + *before + "\n";
  if (after) change += "+" + *after + "\n";
  Add(change);
}

void ChangeReport::Said(std::string_view text) {
  everything_ += text;
  if (!text.empty() && text.back() != '\n') everything_ += '\n';
}

void ChangeReport::Add(const std::string& change) {
  changed_ = true;
  everything_ += change;
  if (onChange) onChange(change);
}

}  // namespace qz
