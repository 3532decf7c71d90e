// Checks the two message boxes: the terminal's line on standard error, and the recording one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/stderr_ui.h"
#include "testing/ide/recording_ui.h"
#include "tests/support/visible.h"

namespace {

using host::ShownMessage;

// Sends standard error to a temporary file while it lives; Text() gives what was written so far.
class StderrCapture {
 public:
  StderrCapture() : file_(std::tmpfile()), saved_(::dup(STDERR_FILENO)) {
    if (file_ == nullptr || saved_ < 0) throw std::runtime_error{"cannot capture standard error"};
    std::fflush(stderr);
    if (::dup2(::fileno(file_), STDERR_FILENO) < 0)
      throw std::runtime_error{"cannot redirect standard error"};
  }
  ~StderrCapture() {
    Restore();
    std::fclose(file_);
  }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  std::string Text() {
    Restore();
    std::string text;
    std::rewind(file_);
    char buffer[256];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, n);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
  }

  std::FILE* file_;
  int saved_;
};

struct BoxCase {
  const char* label;
  std::string_view text;
  std::string_view title;
  std::string_view line;  // what StderrUi writes
};

void PrintTo(const BoxCase& c, std::ostream* os) {
  *os << c.label;
}

class StderrUiTest : public testing::TestWithParam<BoxCase> {};

TEST_P(StderrUiTest, WritesOneLineTitleColonText) {
  const BoxCase& c = GetParam();
  StderrCapture capture;
  platform::posix::StderrUi{}.MsgBox(c.text, c.title);
  EXPECT_EQ(test::Visible(capture.Text()), test::Visible(c.line));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, StderrUiTest,
    testing::Values(BoxCase{"TitleAndText", "The module has no routine.", "Insert",
                            "Insert: The module has no routine.\n"},
                    BoxCase{"EmptyTitleIsTheProgramName", "Nothing to do.", "", "Scrivlet: Nothing to do.\n"},
                    BoxCase{"EmptyText", "", "Insert", "Insert: \n"},
                    BoxCase{"BothEmpty", "", "", "Scrivlet: \n"},
                    // Views into longer texts: only the viewed characters are written.
                    BoxCase{"ViewsAreNotNulTerminated", std::string_view{"abcdef", 3},
                            std::string_view{"Titles", 5}, "Title: abc\n"},
                    BoxCase{"Utf8",
                            "Cr\xC3\xA9"
                            "er",
                            "\xC3\x89tat",
                            "\xC3\x89tat: Cr\xC3\xA9"
                            "er\n"}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string{info.param.label}; });

TEST(StderrUiTest, EachBoxIsItsOwnLine) {
  StderrCapture capture;
  platform::posix::StderrUi ui;
  ui.MsgBox("first", "A");
  ui.MsgBox("second", "");
  EXPECT_EQ(test::Visible(capture.Text()), test::Visible("A: first\nScrivlet: second\n"));
}

TEST(RecordingUiTest, RecordsEachBoxAndNamesAnUntitledOneAfterTheProgram) {
  host::RecordingUi ui;
  ui.MsgBox("The module has no routine.", "Insert");
  ui.MsgBox("Nothing to do.", "");
  ui.MsgBox("", "");
  const std::vector<ShownMessage> expected = {
      {"The module has no routine.", "Insert"}, {"Nothing to do.", "Scrivlet"}, {"", "Scrivlet"}};
  EXPECT_EQ(ui.messages(), expected);
  EXPECT_EQ(ui.shown(), 3);
  EXPECT_EQ(ui.dropped(), 0);

  ui.Clear();
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(ui.shown(), 0);
}

TEST(RecordingUiTest, ThroughTheInterface) {
  host::RecordingUi recording;
  host::Ui& ui = recording;
  ui.MsgBox(std::string_view{"abcdef", 2}, std::string_view{"Titles", 5});
  ASSERT_EQ(recording.messages().size(), 1U);
  EXPECT_EQ(recording.messages()[0], (ShownMessage{"ab", "Title"}));
}

}  // namespace
