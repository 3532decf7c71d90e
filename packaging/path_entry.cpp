// packaging/path_entry.cpp: a folder added to and taken out of a list of folders separated by ';'.
#include "packaging/path_entry.h"

#include <algorithm>

namespace packaging {

std::wstring WithFolder(std::wstring_view list, std::wstring_view folder) {
  if (folder.empty() || WithoutFolder(list, folder) != list) return std::wstring{list};
  if (list.empty()) return std::wstring{folder};
  std::wstring result{list};
  if (list.ends_with(L';')) return result.append(folder).append(1, L';');
  return result.append(1, L';').append(folder);
}

std::wstring WithoutFolder(std::wstring_view list, std::wstring_view folder) {
  std::wstring result{list};
  if (folder.empty()) return result;
  std::size_t start = 0;
  while (start <= result.size()) {
    const std::size_t end = std::min(result.find(L';', start), result.size());
    if (std::wstring_view{result}.substr(start, end - start) != folder) {
      start = end + 1;
    } else if (end < result.size()) {
      result.erase(start, end + 1 - start);
    } else {
      result.erase(start == 0 ? 0 : start - 1);
    }
  }
  return result;
}

}  // namespace packaging
