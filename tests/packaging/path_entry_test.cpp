// The user's PATH through an install and a removal of the package: its folder at the end, no separator
// doubled, and the value given back as it was; an entry the user moved is taken out where it stands.
#include "packaging/path_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(PathEntry, FolderAddedAtTheEndAndTakenOutAgain) {
  constexpr std::wstring_view kFolder = L"C:\\S\\";
  struct Case {
    const wchar_t* before;
    const wchar_t* installed;
    const wchar_t* removed;
  };
  const Case cases[] = {
      {L"", L"C:\\S\\", L""},
      {L"C:\\Tools", L"C:\\Tools;C:\\S\\", L"C:\\Tools"},
      {L"C:\\Tools;", L"C:\\Tools;C:\\S\\;", L"C:\\Tools;"},
      {L"C:\\Tools;;", L"C:\\Tools;;C:\\S\\;", L"C:\\Tools;;"},
      {L"C:\\S\\;C:\\Tools", L"C:\\S\\;C:\\Tools", L"C:\\Tools"},
      {L"A;C:\\S\\;B;C:\\S\\", L"A;C:\\S\\;B;C:\\S\\", L"A;B"},
      {L"C:\\S;C:\\S\\x", L"C:\\S;C:\\S\\x;C:\\S\\", L"C:\\S;C:\\S\\x"},
  };
  for (const Case& c : cases) {
    const std::wstring installed = packaging::WithFolder(c.before, kFolder);
    EXPECT_EQ(installed, c.installed) << testing::PrintToString(std::wstring{c.before});
    EXPECT_EQ(packaging::WithoutFolder(installed, kFolder), c.removed) << testing::PrintToString(installed);
  }
}

}  // namespace
