// cli/unified_diff.cpp: unified diffs of a file's lines, from the shortest edit script that dtl
// (Debian's libdtl-dev) finds.
#include "cli/unified_diff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <vector>

namespace cli {
namespace {

// The file's lines, each with its line break (CR LF, LF or CR), the last perhaps without one.
std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '\n' && text[at] != '\r') continue;
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    lines.push_back(text.substr(start, at + 1 - start));
    start = at + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void AppendLine(std::string& out, char mark, std::string_view line) {
  out += mark;
  out += line;
  if (line.empty() || (line.back() != '\n' && line.back() != '\r')) out += "\n\\ No newline at end of file\n";
}

// "@@ -START,COUNT +START,COUNT @@", as diff writes a range: an empty one starts on the line before it.
std::string Range(long long start, long long count) {
  if (count == 0) --start;
  std::string range = std::to_string(start);
  if (count != 1) {
    range += ',';
    range += std::to_string(count);
  }
  return range;
}

}  // namespace

std::string UnifiedDiff(std::string_view path, std::string_view before, std::string_view after) {
  const std::vector<std::string_view> a = LinesOf(before);
  const std::vector<std::string_view> b = LinesOf(after);
  dtl::Diff<std::string_view> diff(a, b);
  diff.compose();
  // The edit script, one entry per line of either file; hunks are cut from it as diff -u cuts them:
  // three lines of context, and changes closer than twice that share a hunk.
  const auto& script = diff.getSes().getSequence();
  constexpr std::size_t kContext = 3;
  std::string out;
  std::size_t at = 0;
  while (at < script.size()) {
    while (at < script.size() && script[at].second.type == dtl::SES_COMMON) ++at;
    if (at == script.size()) break;
    const std::size_t first = at >= kContext ? at - kContext : 0;
    std::size_t last = at;  // one past the hunk's last change
    for (std::size_t next = at; next < script.size(); ++next) {
      if (script[next].second.type != dtl::SES_COMMON) {
        last = next + 1;
      } else if (next - last >= 2 * kContext) {
        break;
      }
    }
    const std::size_t end = std::min(script.size(), last + kContext);
    long long oldStart = 0;
    long long newStart = 0;
    long long oldCount = 0;
    long long newCount = 0;
    std::string lines;
    std::string added;  // the change's new lines, held until its old ones are written
    for (std::size_t i = first; i < end; ++i) {
      const auto& [line, info] = script[i];
      if (info.type != dtl::SES_ADD) {
        if (oldCount++ == 0) oldStart = info.beforeIdx;
      }
      if (info.type != dtl::SES_DELETE) {
        if (newCount++ == 0) newStart = info.afterIdx;
      }
      if (info.type == dtl::SES_COMMON) {
        lines += added;
        added.clear();
        AppendLine(lines, ' ', line);
      } else {
        // Within a change, the lines taken out come before the lines put in, as diff -u writes them.
        AppendLine(info.type == dtl::SES_ADD ? added : lines, info.type == dtl::SES_ADD ? '+' : '-', line);
      }
    }
    lines += added;
    // With context on every side, only an empty file gives a side without lines: diff says "-0,0".
    if (oldCount == 0) oldStart = 1;
    if (newCount == 0) newStart = 1;
    out += "@@ -";
    out += Range(oldStart, oldCount);
    out += " +";
    out += Range(newStart, newCount);
    out += " @@\n";
    out += lines;
    at = end;
  }
  if (out.empty()) return {};
  std::string headed = "--- a/";
  headed += path;
  headed += "\n+++ b/";
  headed += path;
  headed += '\n';
  return headed + out;
}

}  // namespace cli
