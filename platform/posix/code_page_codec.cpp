// platform/posix/code_page_codec.cpp: iconv in both directions, with code page 1252's five undefined bytes
// carried through by hand.
#include "platform/posix/code_page_codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "host/code_page.h"

namespace platform::posix {
namespace {

// The bytes that code page 1252 does not define; Windows reads each as the C1 control of its value.
constexpr std::string_view kUndefined1252 = "\x81\x8D\x8F\x90\x9D";

bool IsUndefined1252(char byte) {
  return kUndefined1252.find(byte) != std::string_view::npos;
}

// How many bytes from `at` on are ASCII, which every supported code page and UTF-8 write alike.
std::size_t AsciiRun(std::string_view text, std::size_t at) {
  std::size_t end = at;
  // Eight bytes at a time while none has its high bit set.
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  while (end + 8 <= text.size()) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + end, sizeof word);
    if ((word & kHighBits) != 0) break;
    end += 8;
  }
  while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
  return end - at;
}

unsigned CodePointAt(std::string_view text, std::size_t at, std::size_t length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(text[i])); };
  if (length == 1) return byte(at);
  unsigned value = byte(at) & (0xFFU >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) value = (value << 6U) | (byte(at + i) & 0x3FU);
  return value;
}

// Runs `text` through `handle`, appending to `out`. Returns the offset in `text` where conversion
// stopped on an invalid or incomplete sequence, or text.size() when all of it converted.
std::size_t Convert(iconv_t handle, std::string_view text, std::string& out);

}  // namespace

struct CodePageCodec::Converter {
  iconv_t handle;
  ~Converter() { iconv_close(handle); }
};

struct CodePageCodec::ByteTable {
  std::array<std::string, 256> toUtf8;  // empty: the byte is undefined
  std::unordered_map<unsigned, char> fromCodePoint;
};

CodePageCodec::CodePageCodec(int codePage) : codePage_(codePage) {
  if (!host::IsWindowsAnsiCodePage(codePage)) throw host::NotAnsiCodePage(codePage);
}

// Opening a converter loads the C library's conversion modules, which costs more than a whole run on
// a small file; a file and a text that are all ASCII never need one.
void CodePageCodec::OpenConverters() const {
  if (toUtf8_) return;
  const std::string name = "CP" + std::to_string(codePage_);
  const iconv_t toUtf8 = iconv_open("UTF-8", name.c_str());
  if (toUtf8 ==
      reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr): iconv's own failure value
    throw host::UnavailableCodePage(codePage_);
  }
  auto toUtf8Converter =
      std::unique_ptr<Converter>(new Converter{toUtf8});  // NOLINT(cppcoreguidelines-owning-memory)
  const iconv_t fromUtf8 = iconv_open(name.c_str(), "UTF-8");
  if (fromUtf8 == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
    throw host::UnavailableCodePage(codePage_);
  }
  fromUtf8_.reset(new Converter{fromUtf8});  // NOLINT(cppcoreguidelines-owning-memory)
  toUtf8_ = std::move(toUtf8Converter);
  if (codePage_ >= 932 && codePage_ <= 950) return;  // double-byte code pages

  // Asks iconv once for each byte. The table is used only when it is one-to-one and keeps ASCII as
  // it is, which holds for the Windows single-byte code pages.
  auto table = std::make_unique<ByteTable>();
  for (unsigned byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    std::string utf8;
    if (codePage_ == 1252 && IsUndefined1252(one[0])) {
      utf8 = std::string{'\xC2', one[0]};
    } else if (Convert(toUtf8_->handle, one, utf8) != 1) {
      continue;
    }
    const std::size_t length = host::Utf8SequenceLength(utf8, 0);
    if (length == 0 || length != utf8.size()) return;
    const unsigned codePoint = CodePointAt(utf8, 0, length);
    if ((byte < 0x80 && codePoint != byte) || !table->fromCodePoint.emplace(codePoint, one[0]).second) return;
    table->toUtf8[byte] = std::move(utf8);
  }
  table_ = std::move(table);
}

CodePageCodec::~CodePageCodec() = default;

namespace {

std::size_t Convert(iconv_t handle, std::string_view text, std::string& out) {
  iconv(handle, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  std::array<char, 4096> buffer{};
  // iconv's input pointer is not const-qualified, but it only reads through it.
  char* in = const_cast<char*>(text.data());  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  std::size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return text.size() - inLeft;
  }
  // Code page 1258 holds back the last character in case a combining mark follows: flush it.
  char* outPtr = buffer.data();
  std::size_t outLeft = buffer.size();
  iconv(handle, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer.data(), buffer.size() - outLeft);
  return text.size() - inLeft;
}

}  // namespace

std::string CodePageCodec::Decode(std::string_view bytes) const {
  if (AsciiRun(bytes, 0) == bytes.size()) return std::string{bytes};
  OpenConverters();
  if (!table_) return DecodeThroughIconv(bytes);
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::size_t ascii = AsciiRun(bytes, i);
    if (ascii > 0) {
      text.append(bytes.substr(i, ascii));
      i += ascii - 1;
      continue;
    }
    const std::string& utf8 = table_->toUtf8[static_cast<unsigned char>(bytes[i])];
    if (utf8.empty()) throw host::UnreadableByte(bytes, i, codePage_);
    text += utf8;
  }
  return text;
}

std::string CodePageCodec::Encode(std::string_view text) const {
  if (AsciiRun(text, 0) == text.size()) return std::string{text};
  OpenConverters();
  if (!table_) return EncodeThroughIconv(text);
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t ascii = AsciiRun(text, i); ascii > 0) {
      bytes.append(text.substr(i, ascii));
      i += ascii;
      continue;
    }
    const std::size_t length = host::Utf8SequenceLength(text, i);
    if (length == 0) throw host::UnwritableCharacter(text, i, codePage_);
    const auto found = table_->fromCodePoint.find(CodePointAt(text, i, length));
    if (found == table_->fromCodePoint.end()) throw host::UnwritableCharacter(text, i, codePage_);
    bytes += found->second;
    i += length;
  }
  return bytes;
}

std::string CodePageCodec::EncodeTaking(std::string&& text) const {
  if (AsciiRun(text, 0) == text.size()) return std::move(text);
  return Encode(std::string_view{text});
}

std::string CodePageCodec::DecodeThroughIconv(std::string_view bytes) const {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  std::size_t start = 0;
  const auto flush = [&](std::size_t end) {
    const std::string_view piece = bytes.substr(start, end - start);
    const std::size_t stopped = Convert(toUtf8_->handle, piece, text);
    if (stopped < piece.size()) throw host::UnreadableByte(bytes, start + stopped, codePage_);
  };
  if (codePage_ == 1252) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (!IsUndefined1252(bytes[i])) continue;
      flush(i);
      text += '\xC2';  // U+0080 to U+00BF: C2 followed by the byte itself
      text += bytes[i];
      start = i + 1;
    }
  }
  flush(bytes.size());
  // A code page with two byte sequences for one character would not write the file back as it was.
  if (EncodeThroughIconv(text) != bytes) throw host::NotWrittenBackUnchanged(codePage_);
  return text;
}

std::string CodePageCodec::EncodeThroughIconv(std::string_view text) const {
  std::string bytes;
  bytes.reserve(text.size());
  std::size_t start = 0;
  const auto flush = [&](std::size_t end) {
    const std::string_view piece = text.substr(start, end - start);
    const std::size_t stopped = Convert(fromUtf8_->handle, piece, bytes);
    if (stopped < piece.size()) throw host::UnwritableCharacter(text, start + stopped, codePage_);
  };
  if (codePage_ == 1252) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != '\xC2' || !IsUndefined1252(text[i + 1])) continue;
      flush(i);
      bytes += text[i + 1];
      start = i + 2;
      ++i;
    }
  }
  flush(text.size());
  return bytes;
}

}  // namespace platform::posix
