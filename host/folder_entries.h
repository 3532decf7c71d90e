// host/folder_entries.h: one folder's entries while a listing walks it, sorted so that walking them in
// order lists the whole paths below the folder in byte order, without sorting those paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/file_list.h"

namespace host {

// The names packed one after another in one text, each folder's followed by the separator, with an
// index of where each is: a folder of hundreds of files costs a few kilobytes, not a string per name.
//
// Why the separator: two paths below the folder first differ in the names of one entry each, a and b.
// Every path through a folder a begins with a + separator, and a file's path is its name; a name holds
// no separator. So where a + separator (or a file's a) and b differ at some byte, that byte decides
// both the entries' order and their paths' order; and where one is a prefix of the other, it is a
// file's name, whose path is that name alone, shorter than every path that begins with it. Sorting
// the names as "a.bas", "a/" and "a0.bas" thus puts "a.bas" < "a/b.bas" < "a0.bas", as the whole
// paths sort, where the bare name "a" would come first.
class FolderEntries {
 public:
  explicit FolderEntries(char separator) : separator_(separator) {}

  void AddFile(std::string_view name) { Add(name, false); }
  void AddFolder(std::string_view name) { Add(name, true); }
  // Puts the entries in the order of the whole paths below them.
  void Sort();

  std::size_t size() const noexcept { return entries_.size(); }
  std::string_view Name(std::size_t i) const noexcept {
    std::string_view key = Key(i);
    if (IsFolder(i)) key.remove_suffix(1);
    return key;
  }
  bool IsFolder(std::size_t i) const noexcept { return Key(i).ends_with(separator_); }

 private:
  struct Entry {
    std::uint32_t begin;
    std::uint32_t end;
  };
  // The name, and the separator after a folder's.
  std::string_view Key(std::size_t i) const noexcept {
    return std::string_view{keys_}.substr(entries_[i].begin, entries_[i].end - entries_[i].begin);
  }
  void Add(std::string_view name, bool folder);

  char separator_;
  std::string keys_;
  std::vector<Entry> entries_;
};

// Appends the files below the folder `path` to `files` in the byte order of their whole paths, one
// folder's entries sorted at a time: no list of whole paths is sorted, nor held but the one being
// built. `entriesOf(path)` gives one folder's FolderEntries, made with `separator`, which joins a
// folder's path to its entries' names (a path that already ends with it, or with '/', takes none).
// `path` is the walk's one buffer for the paths it names, and comes back as it was.
template <class EntriesOf>
void AppendFilesBelow(std::string& path, FileList& files, char separator, const EntriesOf& entriesOf) {
  FolderEntries entries = entriesOf(path);
  entries.Sort();
  const std::size_t folderLength = path.size();
  if (!path.ends_with(separator) && !path.ends_with('/')) path += separator;
  const std::size_t baseLength = path.size();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    path.resize(baseLength);
    path += entries.Name(i);
    if (entries.IsFolder(i)) {
      AppendFilesBelow(path, files, separator, entriesOf);
    } else {
      files.Add(std::string_view{path}.substr(files.prefix().size()));
    }
  }
  path.resize(folderLength);
}

}  // namespace host
