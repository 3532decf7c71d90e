// tests/win32/host_win32_test.cpp: the Windows platform services, run under Wine without the DLL.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/win32/message_box_ui.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/windows_date_formatter.h"
#include "tests/win32/dialog_window.h"
#include "tests/win32/host_errors.h"

namespace {

using host::CivilDate;
using test::ThrowsHostError;

TEST(WindowsDatePicture, QuotesWhatIsNoDateLetter) {
  struct Case {
    const char* pattern;
    const wchar_t* picture;  // nullptr: unsupported
  };
  const Case cases[] = {
      {"dddd dd mmmm yyyy", L"dddd' 'dd' 'MMMM' 'yyyy"},
      {"DDDD DD MMMM YYYY", L"dddd' 'dd' 'MMMM' 'yyyy"},
      {"d/m/yy", L"d'/'M'/'yy"},
      {"ddd mmm", L"ddd' 'MMM"},
      {"mm-dd", L"MM'-'dd"},
      {"it's d", L"'it''s 'd"},  // the letters of "it's" are no date letters: quoted, the quote doubled
      {"", L""},
      {"ddddd", nullptr},
      {"mmmmm", nullptr},
      {"y", nullptr},
      {"yyy", nullptr},
      {"yyyyy", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    if (c.picture == nullptr) {
      EXPECT_TRUE(ThrowsHostError([&] { platform::win32::WindowsDatePicture(c.pattern); },
                                  host::kErrInvalidCall, "Unsupported date pattern"));
    } else {
      EXPECT_EQ(platform::win32::WindowsDatePicture(c.pattern), c.picture);
    }
  }
}

// The wine-tests script runs the programs in the en-US locale.
TEST(WindowsDateFormatter, FormatsInTheUsersLocale) {
  struct Case {
    CivilDate date;
    const char* pattern;
    const char* text;  // nullptr: invalid date
  };
  const Case cases[] = {
      {{2026, 12, 6}, "dddd dd mmmm yyyy", "Sunday 06 December 2026"},
      {{2024, 2, 29}, "dddd dd mmmm yyyy", "Thursday 29 February 2024"},
      {{2024, 2, 29}, "d/m/yy", "29/2/24"},
      {{2000, 1, 1}, "ddd mmm yyyy", "Sat Jan 2000"},
      {{2026, 12, 6}, "'d' at yyyy", "'6' at 2026"},
      {{2027, 2, 29}, "dd", nullptr},
      {{2026, 4, 31}, "dd", nullptr},
      {{2026, 13, 1}, "dd", nullptr},
      {{2026, 0, 1}, "dd", nullptr},
      {{2026, 1, 0}, "dd", nullptr},
      {{1600, 12, 31}, "dd", nullptr},
  };
  const platform::win32::WindowsDateFormatter formatter;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.date.year) + '-' + std::to_string(c.date.month) + '-' +
                 std::to_string(c.date.day) + " \"" + c.pattern + '"');
    if (c.text == nullptr) {
      EXPECT_TRUE(ThrowsHostError([&] { formatter.Format(c.date, c.pattern); }, host::kErrInvalidCall,
                                  "Invalid date"));
    } else {
      EXPECT_EQ(formatter.Format(c.date, c.pattern), c.text);
    }
  }
}

// The values themselves are read by the portable rule, tested with the object model; here, that the
// clock reads the variable each time, and that a value past 9999 is refused on Windows too.
TEST(SystemClock, TakesTheDateOfSourceDateEpoch) {
  // The clock reads the variable from the environment each time.
  const platform::win32::SystemClock clock;
  ::SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", L"951782400");
  EXPECT_TRUE(clock.Today() == (CivilDate{2000, 2, 29}));
  ::SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", L"later");
  EXPECT_TRUE(ThrowsHostError([&] { clock.Today(); }, host::kErrInvalidCall,
                              "SOURCE_DATE_EPOCH is not a number of seconds up to the year 9999: \"later\""));
  ::SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", L"253402300800");
  EXPECT_TRUE(
      ThrowsHostError([&] { clock.Today(); }, host::kErrInvalidCall,
                      "SOURCE_DATE_EPOCH is not a number of seconds up to the year 9999: \"253402300800\""));
  ::SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", nullptr);
}

std::wstring RawText(const std::wstring& path, const wchar_t* name, DWORD* type) {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  *type = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, type, data, &size) != ERROR_SUCCESS) {
    return L"<absent>";
  }
  std::wstring text{data, size / sizeof(wchar_t)};
  if (!text.empty() && text.back() == L'\0') text.pop_back();  // the stored terminator
  return text;
}

TEST(RegistrySettingsStore, KeepsTextSettingsWhereVbDoes) {
  const std::wstring root = L"Software\\Scrivlet tests";
  platform::win32::RegistrySettingsStore store{root};
  const std::string embeddedNul{"a\0b", 3};
  const std::string accented =
      "Zo\xC3\xAB \xC3\x98"
      "deg\xC3\xA5rd ";
  const std::string values[] = {accented, "", "  blanks  ", "line\r\nbreak", embeddedNul, "\xF0\x9F\x98\x80"};
  for (const std::string& value : values) {
    store.SaveSetting("Scrivlet", "Identification", "Programmer", value);
    EXPECT_EQ(store.GetSetting("Scrivlet", "Identification", "Programmer", "My name"), value);
  }
  // Addresses compare without regard to case, as the registry's keys and value names do.
  EXPECT_EQ(store.GetSetting("SCRIVLET", "identification", "PROGRAMMER", "My name"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Identification", "Missing", "My name"), "My name");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Missing", "Programmer", "0"), "0");
  EXPECT_EQ(store.GetSetting("Scrivlet", "", "Programmer", "0"), "0");
  EXPECT_TRUE(ThrowsHostError([&] { store.SaveSetting("Scrivlet", "", "Programmer", "x"); },
                              host::kErrInvalidCall, "Invalid procedure call or argument"));
  EXPECT_TRUE(ThrowsHostError([&] { store.SaveSetting("Scrivlet", "Settings", "", "x"); },
                              host::kErrInvalidCall, "Invalid procedure call or argument"));

  // A value of another type is no text setting.
  HKEY key = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, (root + L"\\Scrivlet\\Settings").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
  const DWORD one = 1;
  ::RegSetValueExW(key, L"DisplayOnConnect", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  ::RegCloseKey(key);
  EXPECT_EQ(store.GetSetting("Scrivlet", "Settings", "DisplayOnConnect", "0"), "0");
  store.SaveSetting("Scrivlet", "Settings", "DisplayOnConnect", "1");
  DWORD type = 0;
  EXPECT_EQ(RawText(root + L"\\Scrivlet\\Settings", L"DisplayOnConnect", &type), L"1");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  ::RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str());

  // By default the settings live where VB's SaveSetting keeps them.
  const std::wstring vbPath = L"Software\\VB and VBA Program Settings\\Scrivlet\\Identification";
  platform::win32::RegistrySettingsStore vbStore;
  vbStore.SaveSetting("Scrivlet", "Identification", "Programmer", "Ren\xC3\xA9");
  EXPECT_EQ(RawText(vbPath, L"Programmer", &type), L"Ren\u00e9");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Scrivlet");
}

// The box as it opens on screen, read back through the test's window hook.
TEST(MessageBoxUi, ShowsTheTextUnderItsTitle) {
  const test::BoxCatcher catcher;
  ASSERT_TRUE(catcher.installed());
  test::CaughtBoxes().clear();
  platform::win32::MessageBoxUi ui;
  ui.MsgBox("Permission denied", "EcrireCode");
  ui.MsgBox(
      "Donn\xC3\xA9"
      "es",
      "");
  EXPECT_EQ(test::CaughtBoxes(),
            (std::vector<test::Box>{{L"EcrireCode", L"Permission denied"}, {L"Scrivlet", L"Donn\u00e9es"}}))
      << "an empty title shows the program's title";
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("COM cannot be initialised\n");
    return 1;
  }
  const int status = RUN_ALL_TESTS();
  ::CoUninitialize();
  return status;
}
