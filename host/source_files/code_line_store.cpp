// host/source_files/code_line_store.cpp: finding a line's chunk, and inserting whole or not at all.
#include "host/source_files/code_line_store.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <iterator>
#include <utility>

#include "host/vb_errors.h"

namespace host {

const StoredLine& CodeLineStore::Find(std::size_t index) const {
  // The next chunk when the reading runs on from the last, else a descent of the tree: the last
  // chunk whose start is not past `index`.
  std::size_t chunk = recent_ + 1;
  std::size_t first = recentFirst_ + (recent_ < chunks_.size() ? chunks_[recent_].size() : 0);
  if (chunk >= chunks_.size() || index < first || index - first >= chunks_[chunk].size()) {
    if (chunkTreeStale_) RecountChunks();
    std::size_t position = 0;
    std::size_t rest = index;
    for (std::size_t step = std::bit_floor(chunks_.size()); step != 0; step >>= 1U) {
      if (position + step <= chunks_.size() && chunkTree_[position + step] <= rest) {
        position += step;
        rest -= chunkTree_[position];
      }
    }
    chunk = position;
    first = index - rest;
  }
  recent_ = chunk;
  recentFirst_ = first;
  return chunks_[chunk][index - first];
}

void CodeLineStore::RecountChunks() const noexcept {
  const std::size_t count = chunks_.size();
  std::fill(chunkTree_.begin(), chunkTree_.begin() + static_cast<std::ptrdiff_t>(count) + 1, 0);
  for (std::size_t i = 1; i <= count; ++i) {
    chunkTree_[i] += chunks_[i - 1].size();
    if (const std::size_t parent = i + (i & (~i + 1)); parent <= count) chunkTree_[parent] += chunkTree_[i];
  }
  chunkTreeStale_ = false;
}

void CodeLineStore::AddChunk() {
  std::vector<StoredLine> chunk;
  chunk.reserve(kChunk);
  if (chunkTree_.size() < chunks_.size() + 2) chunkTree_.resize(chunks_.size() + 2);
  chunks_.push_back(std::move(chunk));
}

std::size_t CodeLineStore::Insert(std::size_t at, std::string_view text, std::string_view lineBreak) {
  // The lines are written straight to the end of the added text, which a text of its own would
  // move from under its view: such a text is copied first.
  const auto viewsAdded = [this](std::string_view view) {
    return !view.empty() && std::less_equal<>{}(added_.data(), view.data()) &&
           std::less<>{}(view.data(), added_.data() + added_.capacity());
  };
  if (viewsAdded(text) || viewsAdded(lineBreak)) {
    const std::string ownText{text};
    const std::string ownBreak{lineBreak};
    return Insert(at, ownText, ownBreak);
  }
  // Cut back to this on a failure: shortening a string frees nothing, so it cannot fail.
  const std::size_t addedBefore = added_.size();
  try {
    return InsertLines(at, text, lineBreak);
  } catch (...) {
    added_.resize(addedBefore);
    throw;
  }
}

std::size_t CodeLineStore::InsertLines(std::size_t at, std::string_view text, std::string_view lineBreak) {
  // The new lines as they will stand in the added text, each followed by the break.
  std::vector<StoredLine>& lines = inserted_;
  lines.clear();
  const auto add = [&](std::string_view line) {
    const std::size_t place = added_.size();
    if (line.size() > kMostLineBytes || place + line.size() + lineBreak.size() > kMostFileBytes)
      throw VbError(kErrOutOfMemory);
    StoredLine stored{};
    stored.offset = static_cast<std::uint32_t>(place);
    stored.length = static_cast<std::uint32_t>(line.size()) & kMostLineBytes;
    stored.added = 1;
    lines.push_back(stored);
    added_.append(line);
    added_.append(lineBreak);
  };
  // A text without LF, as generators write theirs, has its lines found by the library's search for CR.
  const bool crAlone = text.find('\n') == std::string_view::npos;
  for (std::size_t start = 0;;) {
    std::size_t end = crAlone ? std::min(text.find('\r', start), text.size()) : start;
    // CR and LF are the only characters at or below CR that end a line: one comparison for most.
    while (!crAlone && end < text.size() &&
           (static_cast<unsigned char>(text[end]) > '\r' || (text[end] != '\r' && text[end] != '\n'))) {
      ++end;
    }
    add(text.substr(start, end - start));
    if (end == text.size()) break;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }

  // The chunk that takes them. When it has room, they go in place: moving lines cannot fail, so
  // only the added text is allocated first. Else it is rebuilt aside, with room for the next ones,
  // and cut in pieces when it grows too large, so that nothing changes until every allocation has
  // succeeded.
  std::size_t chunk = chunks_.empty() ? 0 : chunks_.size() - 1;
  std::size_t offset = chunks_.empty() ? 0 : chunks_.back().size();
  std::size_t first = size_ - offset;
  if (at < size_) {
    const StoredLine& found = this->at(at);
    chunk = recent_;
    first = recentFirst_;
    offset = static_cast<std::size_t>(&found - chunks_[chunk].data());
  }
  const bool inPlace = !chunks_.empty() && chunks_[chunk].size() + lines.size() <= chunks_[chunk].capacity();
  std::vector<std::vector<StoredLine>> pieces;
  if (!inPlace) {
    std::vector<StoredLine> merged;
    if (!chunks_.empty()) {
      const std::vector<StoredLine>& old = chunks_[chunk];
      merged.reserve(std::max(old.size() + lines.size(), 2 * kChunk));
      merged.insert(merged.end(), old.begin(), old.begin() + static_cast<std::ptrdiff_t>(offset));
      merged.insert(merged.end(), lines.begin(), lines.end());
      merged.insert(merged.end(), old.begin() + static_cast<std::ptrdiff_t>(offset), old.end());
    } else {
      merged = lines;
    }
    if (merged.size() > 2 * kChunk) {
      // Cut where the new lines end, since the next insertion is most often there or just above: it
      // then moves only the lines between. That piece keeps room to grow; each side is cut again
      // every kChunk lines when it is still too large.
      const std::size_t cut = offset + lines.size();
      const auto cutInto = [&](std::size_t from, std::size_t to) {
        while (from < to) {
          const std::size_t end = to - from > 2 * kChunk ? from + kChunk : to;
          std::vector<StoredLine>& piece = pieces.emplace_back();
          if (end == cut) piece.reserve(2 * kChunk);
          piece.assign(merged.begin() + static_cast<std::ptrdiff_t>(from),
                       merged.begin() + static_cast<std::ptrdiff_t>(end));
          from = end;
        }
      };
      cutInto(0, cut);
      cutInto(cut, merged.size());
    } else {
      pieces.push_back(std::move(merged));
    }
    const std::size_t chunkCount = chunks_.empty() ? pieces.size() : chunks_.size() + pieces.size() - 1;
    chunks_.reserve(chunkCount);
    if (chunkTree_.size() < chunkCount + 1) chunkTree_.resize(chunkCount + 1);
  }

  // Nothing below allocates.
  breakSize_ = lineBreak.size();
  if (inPlace) {
    std::vector<StoredLine>& target = chunks_[chunk];
    target.insert(target.begin() + static_cast<std::ptrdiff_t>(offset), lines.begin(), lines.end());
  } else if (chunks_.empty()) {
    chunks_.push_back(std::move(pieces.front()));
    chunkTreeStale_ = true;
  } else {
    chunks_[chunk] = std::move(pieces.front());
  }
  if (pieces.size() > 1) {
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk) + 1,
                   std::make_move_iterator(pieces.begin() + 1), std::make_move_iterator(pieces.end()));
    chunkTreeStale_ = true;
  }
  if (!chunkTreeStale_) {
    // The chunk holds more lines, and every chunk after it starts later by as many.
    for (std::size_t i = chunk + 1; i <= chunks_.size(); i += i & (~i + 1)) chunkTree_[i] += lines.size();
  }
  size_ += lines.size();
  recent_ = chunk;
  recentFirst_ = first;
  return lines.size();
}

void CodeLineStore::Erase(std::size_t at, std::size_t count) noexcept {
  std::size_t first = 0;  // the index of the chunk's first line
  for (std::size_t chunk = 0; chunk < chunks_.size() && count > 0;) {
    std::vector<StoredLine>& lines = chunks_[chunk];
    if (at >= first + lines.size()) {
      first += lines.size();
      ++chunk;
      continue;
    }
    const std::size_t from = at - first;
    const std::size_t taken = std::min(count, lines.size() - from);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(from),
                lines.begin() + static_cast<std::ptrdiff_t>(from + taken));
    count -= taken;
    size_ -= taken;
    if (lines.empty()) {
      chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk));
    } else {
      first += lines.size();
      ++chunk;
    }
  }
  chunkTreeStale_ = true;
  recent_ = 0;
  recentFirst_ = 0;
}

}  // namespace host
