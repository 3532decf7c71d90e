// host/source_files/code_line_store.cpp: finding a line's chunk, and inserting whole or not at all.
#include "host/source_files/code_line_store.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "host/vb_errors.h"

namespace host {

const StoredLine& CodeLineStore::Find(std::size_t index) const {
  // The next chunk when the reading runs on from the last, else a search.
  std::size_t chunk = recent_ + 1;
  if (chunk >= chunks_.size() || index < firsts_[chunk] || index - firsts_[chunk] >= chunks_[chunk].size()) {
    chunk = static_cast<std::size_t>(std::prev(std::upper_bound(firsts_.begin(), firsts_.end(), index)) -
                                     firsts_.begin());
  }
  recent_ = chunk;
  return chunks_[chunk][index - firsts_[chunk]];
}

void CodeLineStore::Append(StoredLine line) {
  if (chunks_.empty() || chunks_.back().size() == kChunk) {
    std::vector<StoredLine> chunk;
    chunk.reserve(kChunk);
    firsts_.reserve(chunks_.size() + 1);
    chunks_.push_back(std::move(chunk));
    firsts_.push_back(size_);
  }
  chunks_.back().push_back(line);
  ++size_;
}

std::size_t CodeLineStore::Insert(std::size_t at, std::string_view text, std::string_view lineBreak) {
  // The new lines as they will stand in the added text, each followed by the break.
  std::string added;
  added.reserve(text.size() + lineBreak.size());
  std::vector<StoredLine> lines;
  const auto add = [&](std::string_view line) {
    const std::size_t place = added_.size() + added.size();
    if (line.size() > kMostLineBytes || place + line.size() + lineBreak.size() > kMostFileBytes)
      throw VbError(kErrOutOfMemory);
    StoredLine stored;
    stored.offset = static_cast<std::uint32_t>(place);
    stored.length = static_cast<std::uint32_t>(line.size()) & kMostLineBytes;
    stored.added = 1;
    lines.push_back(stored);
    added += line;
    added += lineBreak;
  };
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    add(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  add(text.substr(start));

  // The chunk that takes them, rebuilt aside and cut in pieces when it grows too large, so that
  // nothing changes until every allocation has succeeded.
  std::size_t chunk = chunks_.empty() ? 0 : chunks_.size() - 1;
  std::size_t offset = chunks_.empty() ? 0 : chunks_.back().size();
  if (at < size_) {
    const StoredLine& found = this->at(at);
    chunk = recent_;
    offset = static_cast<std::size_t>(&found - chunks_[chunk].data());
  }
  std::vector<StoredLine> merged;
  if (!chunks_.empty()) {
    const std::vector<StoredLine>& old = chunks_[chunk];
    merged.reserve(old.size() + lines.size());
    merged.insert(merged.end(), old.begin(), old.begin() + static_cast<std::ptrdiff_t>(offset));
    merged.insert(merged.end(), lines.begin(), lines.end());
    merged.insert(merged.end(), old.begin() + static_cast<std::ptrdiff_t>(offset), old.end());
  } else {
    merged = lines;
  }
  std::vector<std::vector<StoredLine>> pieces;
  if (merged.size() > 2 * kChunk) {
    for (std::size_t from = 0; from < merged.size(); from += kChunk) {
      const auto begin = merged.begin() + static_cast<std::ptrdiff_t>(from);
      const auto end = merged.begin() + static_cast<std::ptrdiff_t>(std::min(from + kChunk, merged.size()));
      pieces.emplace_back(begin, end);
    }
  } else {
    pieces.push_back(std::move(merged));
  }
  chunks_.reserve(chunks_.size() + pieces.size());
  firsts_.reserve(chunks_.size() + pieces.size());
  added_.append(added);

  // Nothing below allocates.
  breakSize_ = lineBreak.size();
  if (chunks_.empty()) {
    chunks_.push_back(std::move(pieces.front()));
    firsts_.push_back(0);
  } else {
    chunks_[chunk] = std::move(pieces.front());
  }
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk) + 1,
                 std::make_move_iterator(pieces.begin() + 1), std::make_move_iterator(pieces.end()));
  firsts_.resize(chunks_.size());
  for (std::size_t c = chunk + 1; c < chunks_.size(); ++c)
    firsts_[c] = firsts_[c - 1] + chunks_[c - 1].size();
  size_ += lines.size();
  recent_ = chunk;
  return lines.size();
}

}  // namespace host
