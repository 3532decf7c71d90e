// host/wide_text.h: lossless conversion between the host's 16-bit texts and the system's UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace host {

// The host hands over texts of 16-bit units (BSTR, wchar_t on Windows) that need not be valid UTF-16:
// a lone surrogate is a legal BSTR character. So that every text comes back unit for unit, a lone
// surrogate is written as the three bytes UTF-8 would give its code point (the WTF-8 convention).
// A pair of surrogates becomes one four-byte sequence; embedded NUL characters are kept.
template <class Unit>
std::string Utf8FromUtf16(std::basic_string_view<Unit> units) {
  static_assert(sizeof(Unit) == 2, "16-bit units only");
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t c = static_cast<std::uint16_t>(units[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size()) {
      const std::uint32_t next = static_cast<std::uint16_t>(units[i + 1]);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The reverse of Utf8FromUtf16. A byte that starts no well-formed sequence (a stray continuation
// byte, a truncated or overlong sequence, a code point above U+10FFFF) becomes U+FFFD, one for each
// such byte, and decoding goes on with the next byte.
template <class Unit>
std::basic_string<Unit> Utf16FromUtf8(std::string_view bytes) {
  static_assert(sizeof(Unit) == 2, "16-bit units only");
  constexpr std::uint32_t kReplacement = 0xFFFD;
  std::basic_string<Unit> out;
  out.reserve(bytes.size());
  const auto byteAt = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
  };
  for (std::size_t i = 0; i < bytes.size();) {
    const std::uint32_t lead = byteAt(i);
    std::size_t length = 0;
    std::uint32_t c = 0;
    std::uint32_t least = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      c = lead & 0x1F;
      least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      c = lead & 0x0F;
      least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      c = lead & 0x07;
      least = 0x10000;
    }
    bool wellFormed = length != 0 && i + length <= bytes.size();
    for (std::size_t k = 1; wellFormed && k < length; ++k) {
      const std::uint32_t next = byteAt(i + k);
      wellFormed = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (!wellFormed || c < least || c > 0x10FFFF) {
      out += static_cast<Unit>(kReplacement);
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      out += static_cast<Unit>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<Unit>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<Unit>(c);
    }
    i += length;
  }
  return out;
}

}  // namespace host
