// cli/unified_diff.h: what an edit would change in a file, as the unified diff that "diff -u" and
// version control print and "patch" applies.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// The unified diff from `before` to `after`, both the file's bytes, with three lines of context, under
// the headers "--- a/PATH" and "+++ b/PATH". Lines keep their own line breaks, so that the diff
// applies to the file byte for byte; a last line without one is marked as "diff -u" marks it. Empty
// when the two are the same.
std::string UnifiedDiff(std::string_view path, std::string_view before, std::string_view after);

}  // namespace cli
