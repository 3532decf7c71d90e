// host/source_files/code_line_store.h: a module's code lines as views into the file's text, with the
// lines added since reading in text of their own, in chunks so that an insertion moves few of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace host {

// One code line: where its text is, and the break that ends it in the file. Trivial, so that the
// chunks copy and move their lines as bytes; make one with StoredLine{}, which is all zeros.
struct StoredLine {
  std::uint32_t offset;  // into the file's text, or into the added text
  std::uint32_t length : 28;
  std::uint32_t ending : 2;  // 0 for none (a line added since reading, or a last line without one)
  std::uint32_t added : 1;   // the text is in the added text
  std::uint32_t hidden : 1;  // Attribute lines follow it in the file
};
static_assert(std::is_trivial_v<StoredLine>);

// The longest line, and the largest file, that a StoredLine can describe.
inline constexpr std::size_t kMostLineBytes = (std::size_t{1} << 28U) - 1;
inline constexpr std::size_t kMostFileBytes = std::numeric_limits<std::uint32_t>::max();

class CodeLineStore {
 public:
  // Borrows `text`, the file's text, which must outlive the store.
  explicit CodeLineStore(std::string_view text = {}) : text_(text) {}

  std::size_t size() const noexcept { return size_; }
  // The line at `index`, from 0. Reading the lines in order costs no search: the chunk read last is
  // tried first, here, where the compiler can fold it into the reader's loop.
  const StoredLine& at(std::size_t index) const {
    if (recent_ < chunks_.size() && index >= recentFirst_) {
      const std::vector<StoredLine>& chunk = chunks_[recent_];
      if (const std::size_t offset = index - recentFirst_; offset < chunk.size()) return chunk[offset];
    }
    return Find(index);
  }
  std::string_view Text(const StoredLine& line) const noexcept {
    return {(line.added != 0 ? added_.data() : text_.data()) + line.offset, line.length};
  }
  std::string_view operator[](std::size_t index) const { return Text(at(index)); }
  // The lines from `index` to the end of the chunk that holds it, to read in order without a look-up
  // each.
  std::span<const StoredLine> RunFrom(std::size_t index) const {
    static_cast<void>(at(index));  // leaves the chunk that holds it the one read last
    return std::span<const StoredLine>{chunks_[recent_]}.subspan(index - recentFirst_);
  }

  // While the file is read: the next line, at the end. Here, where the reading loop takes it in.
  void Append(StoredLine line) {
    if (chunks_.empty() || chunks_.back().size() == kChunk) AddChunk();
    chunks_.back().push_back(line);
    chunkTreeStale_ = true;
    ++size_;
  }
  StoredLine& back() noexcept { return chunks_.back().back(); }

  // Inserts the lines of `text`, split at CR LF, CR and LF alike (a final break ends with an empty
  // line), before index `at`; returns how many. Each is kept followed by `lineBreak`, so that a run of
  // added lines reads as one view: AddedBreak() gives it. All or nothing: when memory runs out,
  // nothing changes.
  std::size_t Insert(std::size_t at, std::string_view text, std::string_view lineBreak);
  // Removes `count` lines from index `at` on. Allocates nothing, so it cannot fail.
  void Erase(std::size_t at, std::size_t count) noexcept;
  // The break kept after an added line.
  std::string_view AddedBreak(const StoredLine& line) const noexcept {
    return {added_.data() + line.offset + line.length, breakSize_};
  }

  // Calls `visit` with each line in order.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    for (const std::vector<StoredLine>& chunk : chunks_) {
      for (const StoredLine& line : chunk) visit(line);
    }
  }
  // Calls `visit` with each chunk's lines (a std::span of StoredLine) in order.
  template <class Visit>
  void ForEachChunk(Visit&& visit) const {
    for (const std::vector<StoredLine>& chunk : chunks_) visit(std::span<const StoredLine>{chunk});
  }

 private:
  // Starts a chunk at the end, with room for kChunk lines.
  void AddChunk();
  // The line at `index`, searched for among the chunks.
  const StoredLine& Find(std::size_t index) const;
  // Insert's work, once `text` is known not to view the added text.
  std::size_t InsertLines(std::size_t at, std::string_view text, std::string_view lineBreak);
  // Counts the lines of each chunk into the tree afresh.
  void RecountChunks() const noexcept;

  static constexpr std::size_t kChunk = 512;  // lines a chunk is made with; split past twice that

  std::string_view text_;
  std::string added_;
  std::size_t breakSize_ = 0;
  std::vector<StoredLine> inserted_;  // the lines of the insertion under way, kept for the next
  std::vector<std::vector<StoredLine>> chunks_;
  // The lines of each chunk as a Fenwick tree, from 1: where a chunk starts is a sum of a few entries,
  // so an insertion changes a few entries rather than the start of every later chunk. Recounted
  // whole when next searched after chunks were added. It is grown by what adds chunks, never by a
  // search, and may be longer than the chunks need.
  mutable std::vector<std::size_t> chunkTree_;
  mutable bool chunkTreeStale_ = true;
  std::size_t size_ = 0;
  mutable std::size_t recent_ = 0;       // the chunk read last, where the next read most often is
  mutable std::size_t recentFirst_ = 0;  // the index of its first line
};

}  // namespace host
