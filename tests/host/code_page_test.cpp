// Checks the test for ASCII text, which lets a file skip conversion: a byte with its high bit set is
// seen wherever it stands, in the eight-byte words and in the bytes after them.
#include "host/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IsAsciiTest, AHighByteAnywhereMakesTextNotAscii) {
  EXPECT_TRUE(host::IsAscii(""));
  const std::string ascii = "Sub A()\r\n\t' \x7F\x01~ End Sub";
  EXPECT_TRUE(host::IsAscii(ascii));
  for (std::size_t length = 1; length <= 19; ++length) {
    for (std::size_t at = 0; at < length; ++at) {
      for (const char high : {'\x80', '\xC3', '\xFF'}) {
        std::string text = ascii.substr(0, length);
        text[at] = high;
        EXPECT_FALSE(host::IsAscii(text)) << "length " << length << ", byte " << at;
      }
    }
  }
}

}  // namespace
