// packaging/path_entry.h: the package's folder put at the end of a list of folders such as the user's
// PATH, and taken out again, so that the list comes back as it was.
#pragma once

#include <string>
#include <string_view>

namespace packaging {

// `list` with `folder` at its end, after a ';' unless `list` is empty. A list that ends with ';' keeps
// one at its end: `folder` goes after it and is followed by one, so no separator is doubled. A list
// that holds `folder` already, or an empty `folder`, comes back as it is.
std::wstring WithFolder(std::wstring_view list, std::wstring_view folder);

// `list` without any entry that is `folder`, each taken out with the ';' that WithFolder wrote with it:
// the one after it, or, for the last entry, the one before it.
std::wstring WithoutFolder(std::wstring_view list, std::wstring_view folder);

}  // namespace packaging
