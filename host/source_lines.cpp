// host/source_lines.cpp: line splitting with breaks kept, and the reading of a file's hidden header.
#include "host/source_lines.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "host/code_lines.h"

namespace host {
namespace {

bool IsBlankChar(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  return text;
}

// The first word of a line, its leading blanks skipped; a word ends at a blank or an equals sign.
std::string_view FirstWord(std::string_view line) {
  const std::string_view text = TrimLeft(line);
  std::size_t end = 0;
  while (end < text.size() && !IsBlankChar(text[end]) && text[end] != '=') ++end;
  return text.substr(0, end);
}

bool StartsWithWord(std::string_view line, std::string_view word) {
  return SameName(FirstWord(line), word);
}

bool IsVbAttributeLine(std::string_view line) {
  if (!IsAttributeLine(line)) return false;
  const std::string_view rest = TrimLeft(line.substr(std::string_view{"Attribute"}.size()));
  return rest.size() >= 3 && SameName(rest.substr(0, 3), "VB_");
}

// "Object = ..." (blanks around the equals sign optional).
bool IsObjectLine(std::string_view line) {
  if (!StartsWithWord(line, "Object")) return false;
  const std::string_view rest = TrimLeft(TrimLeft(line).substr(std::string_view{"Object"}.size()));
  return !rest.empty() && rest.front() == '=';
}

// The index just past the End that closes the Begin block opening at `first`.
std::size_t SkipBeginBlock(std::span<const PhysicalLine> lines, std::size_t first) {
  std::size_t depth = 0;
  for (std::size_t i = first; i < lines.size(); ++i) {
    if (StartsWithWord(lines[i].text, "Begin")) {
      ++depth;
    } else if (StartsWithWord(lines[i].text, "End") && --depth == 0) {
      return i + 1;
    }
  }
  throw SourceFormatError("the form description that starts on line " + std::to_string(first + 1) +
                          " has no closing End line");
}

}  // namespace

std::vector<PhysicalLine> SplitPhysicalLines(std::string_view text) {
  std::vector<PhysicalLine> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    const std::size_t breakLength = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    lines.push_back({std::string{text.substr(start, i - start)}, std::string{text.substr(i, breakLength)}});
    i += breakLength - 1;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back({std::string{text.substr(start)}, std::string{}});
  return lines;
}

std::string DominantEnding(std::span<const PhysicalLine> lines) {
  static constexpr std::array<std::string_view, 3> kEndings{"\r\n", "\n", "\r"};
  std::array<std::size_t, 3> counts{};
  for (const PhysicalLine& line : lines) {
    for (std::size_t i = 0; i < kEndings.size(); ++i) {
      if (line.ending == kEndings[i]) ++counts[i];
    }
  }
  const auto most = std::max_element(counts.begin(), counts.end());
  const bool tied = std::count(counts.begin(), counts.end(), *most) > 1;
  if (tied) return "\r\n";
  return std::string{kEndings[static_cast<std::size_t>(most - counts.begin())]};
}

std::optional<SourceKind> SourceKindOfPath(std::string_view path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
  const std::string_view extension = path.substr(dot + 1);
  if (SameName(extension, "bas")) return SourceKind::kStandardModule;
  for (const std::string_view described : {"cls", "ctl", "frm", "pag", "dsr"}) {
    if (SameName(extension, described)) return SourceKind::kDescribedModule;
  }
  return std::nullopt;
}

bool IsAttributeLine(std::string_view line) {
  constexpr std::string_view kWord = "Attribute";
  return line.size() > kWord.size() && SameName(line.substr(0, kWord.size()), kWord) &&
         IsBlankChar(line[kWord.size()]);
}

std::size_t HiddenHeaderLength(std::span<const PhysicalLine> lines, SourceKind kind) {
  std::size_t i = 0;
  while (i < lines.size()) {
    const std::string_view text = lines[i].text;
    const bool described = kind == SourceKind::kDescribedModule;
    if (described && StartsWithWord(text, "Begin")) {
      i = SkipBeginBlock(lines, i);
    } else if (IsVbAttributeLine(text) ||
               (described && (StartsWithWord(text, "VERSION") || IsObjectLine(text)))) {
      ++i;
    } else {
      break;
    }
  }
  return i;
}

}  // namespace host
