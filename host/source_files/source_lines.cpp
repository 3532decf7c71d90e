// host/source_files/source_lines.cpp: line splitting with breaks kept, and the reading of a file's hidden
// header.
#include "host/source_files/source_lines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "host/vb_code/code_lines.h"

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

// The end of a Begin block: End alone on its line, blanks around it allowed. Anything more, such as
// the End Sub of a routine, is code, and must not close a block that was never closed.
bool IsBlockEnd(std::string_view line) {
  std::string_view text = TrimLeft(line);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return SameName(text, "End");
}

// Bit i set where byte i of the 64 from `bytes` is a CR or an LF.
std::uint64_t BreakBits(const char* bytes) noexcept {
  std::uint64_t bits = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (std::size_t part = 0; part < 4; ++part) {
    __m128i sixteen;
    std::memcpy(&sixteen, bytes + 16 * part, sizeof sixteen);
    const __m128i found = _mm_or_si128(_mm_cmpeq_epi8(sixteen, cr), _mm_cmpeq_epi8(sixteen, lf));
    bits |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(found))} << (16 * part);
  }
#else
  for (unsigned i = 0; i < 64; ++i) bits |= std::uint64_t{bytes[i] == '\r' || bytes[i] == '\n'} << i;
#endif
  return bits;
}

}  // namespace

void LineCursor::LoadBlock(std::size_t at) noexcept {
  static_assert(kBlock == 64, "a block's breaks are the bits of one 64-bit word");
  block_ = at;
  if (text_.size() - at >= kBlock) {
    breaks_ = BreakBits(text_.data() + at);
  } else {
    std::array<char, kBlock> last{};  // the text's last bytes, then zeros, which are no breaks
    std::memcpy(last.data(), text_.data() + at, text_.size() - at);
    breaks_ = BreakBits(last.data());
  }
}

bool LineCursor::Next(LineView& line) {
  if (start_ >= text_.size()) return false;
  std::size_t end = text_.size();
  for (std::size_t at = start_; at < text_.size(); at = block_ + kBlock) {
    if (at - block_ >= kBlock) LoadBlock(at);
    const std::uint64_t ahead = breaks_ & (~std::uint64_t{0} << (at - block_));
    if (ahead != 0) {
      end = block_ + static_cast<std::size_t>(std::countr_zero(ahead));
      break;
    }
  }
  std::size_t breakLength = 0;
  if (end < text_.size()) {
    breakLength = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1;  // CR LF
  }
  line = {{text_.data() + start_, end - start_}, {text_.data() + end, breakLength}};
  start_ = end + breakLength;
  return true;
}

void EndingTally::Add(std::string_view ending) {
  if (ending == "\r\n") {
    ++counts_[0];
  } else if (ending == "\n") {
    ++counts_[1];
  } else if (ending == "\r") {
    ++counts_[2];
  }
}

std::string EndingTally::Dominant() const {
  static constexpr std::array<std::string_view, 3> kEndings{"\r\n", "\n", "\r"};
  const auto most = std::max_element(counts_.begin(), counts_.end());
  if (std::count(counts_.begin(), counts_.end(), *most) > 1) return "\r\n";
  return std::string{kEndings[static_cast<std::size_t>(most - counts_.begin())]};
}

bool HiddenHeaderReader::Take(std::string_view line) {
  if (ended_) return false;
  ++lines_;
  const bool described = kind_ == SourceKind::kDescribedModule;
  if (depth_ > 0) {
    if (StartsWithWord(line, "Begin")) {
      ++depth_;
    } else if (IsBlockEnd(line)) {
      --depth_;
    }
    return true;
  }
  if (described && StartsWithWord(line, "Begin")) {
    depth_ = 1;
    blockStart_ = lines_;
    return true;
  }
  if (IsVbAttributeLine(line) || (described && (StartsWithWord(line, "VERSION") || IsObjectLine(line)))) {
    return true;
  }
  ended_ = true;
  return false;
}

void HiddenHeaderReader::Finish() const {
  if (depth_ > 0) {
    throw SourceFormatError("line " + std::to_string(blockStart_) + ": Begin without End");
  }
}

void RequireVb6Bytes(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    throw SourceFormatError(
        "starts with a UTF-16 byte-order mark; VB6 saves source files in a Windows code page");
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    throw SourceFormatError(
        "starts with a UTF-8 byte-order mark; VB6 saves source files in a Windows code page");
  }
  if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
    std::size_t line = 1;
    LineCursor cursor{bytes.substr(0, nul)};
    for (LineView view; cursor.Next(view);) line += view.ending.empty() ? 0U : 1U;
    throw SourceFormatError("line " + std::to_string(line) + " holds a NUL byte, which VB6 never saves");
  }
}

std::optional<SourceFileKind> SourceFileKindOfPath(std::string_view path) {
  struct Extension {
    std::string_view extension;
    ComponentType component;
  };
  static constexpr Extension kExtensions[] = {
      {"bas", ComponentType::kStdModule},       {"cls", ComponentType::kClassModule},
      {"ctl", ComponentType::kUserControl},     {"dob", ComponentType::kDocObject},
      {"frm", ComponentType::kVBForm},          {"pag", ComponentType::kPropPage},
      {"dsr", ComponentType::kActiveXDesigner},
  };
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
  const std::string_view extension = path.substr(dot + 1);
  for (const Extension& known : kExtensions) {
    if (!SameName(extension, known.extension)) continue;
    const SourceKind source = known.component == ComponentType::kStdModule ? SourceKind::kStandardModule
                                                                           : SourceKind::kDescribedModule;
    return SourceFileKind{source, known.component};
  }
  return std::nullopt;
}

bool IsModuleNameLine(std::string_view line) {
  if (!IsAttributeLine(line)) return false;
  std::string_view rest = TrimLeft(line.substr(std::string_view{"Attribute"}.size()));
  constexpr std::string_view kName = "VB_Name";
  if (rest.size() < kName.size() || !SameName(rest.substr(0, kName.size()), kName)) return false;
  rest = TrimLeft(rest.substr(kName.size()));
  return rest.starts_with('=');
}

std::string ModuleNameOf(std::string_view line) {
  std::string_view value = TrimLeft(line.substr(line.find('=') + 1));
  while (!value.empty() && IsBlankChar(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return std::string{value};
}

bool IsAttributeLine(std::string_view line) {
  constexpr std::string_view kWord = "Attribute";
  // Every line is asked: the first letter turns nearly all of them away without a call.
  return line.size() > kWord.size() && (line.front() == 'A' || line.front() == 'a') &&
         SameName(line.substr(0, kWord.size()), kWord) && IsBlankChar(line[kWord.size()]);
}

}  // namespace host
