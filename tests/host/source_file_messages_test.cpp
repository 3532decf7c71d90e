// tests/host/source_file_messages_test.cpp: the blanks of the shared file messages filled in their
// places, and names that look like blanks left as they are.
#include "host/source_file_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* label;
  host::FileMessage message;
  host::FileMessageDetails details;
  const char* expected;
};

// The platforms' own tests give each step's message whole; these are the blanks they do not reach.
const Case kCases[] = {
    {"three_blanks_in_order",
     host::FileMessage::kReplaceHalfDone,
     {.reason = "Access is denied.", .kept = R"(C:\p\~old)", .newFile = R"(C:\p\~new)"},
     R"(cannot be replaced: Access is denied.; the file is now C:\p\~old, and the new text is in C:\p\~new)"},
    {"place_then_reason",
     host::FileMessage::kSameExtendedAttribute,
     {.reason = "Operation not supported", .place = "user.origin"},
     "cannot give the new file the extended attribute user.origin: Operation not supported; nothing was "
     "written"},
    {"blank_at_the_end",
     host::FileMessage::kWriteInPlaceKeptAside,
     {.reason = "Input/output error", .kept = "/p/.T.bas.kept"},
     "cannot be written: Input/output error, nor put back as it was: the file as it was is kept in "
     "/p/.T.bas.kept"},
    {"a_folder_named_like_a_blank",
     host::FileMessage::kCreateTemporary,
     {.reason = "{place}", .place = "/p/{reason}"},
     "cannot create a temporary file in /p/{reason}: {place}"},
    {"details_a_message_has_no_blank_for",
     host::FileMessage::kNoSuchFile,
     {.reason = "No such file or directory", .place = "/p"},
     "no such file"},
};

class FileMessageTest : public testing::TestWithParam<Case> {};

TEST_P(FileMessageTest, FillsEachBlankOnce) {
  EXPECT_EQ(host::FileMessageText(GetParam().message, GetParam().details), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(SourceFileMessages, FileMessageTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string{info.param.label}; });

}  // namespace
