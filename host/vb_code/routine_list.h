// host/vb_code/routine_list.h: a module's routines in blocks, so that an insertion moves the routines
// below it by changing one number per block instead of four per routine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/vb_code/routine_map.h"
#include "host/vb_code/routine_scan.h"

namespace host {

// The routines of a module in order, as MapRoutines gives them, kept up to date by
// UpdateRoutines (host/vb_code/routine_scan.h) at a cost that hardly grows with the module: the
// lines a routine holds are stored relative to its block, which moves as a whole, and a name is
// looked for only in the blocks whose digest of names may hold it.
class RoutineList {
 public:
  RoutineList() = default;

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }

  // While the list is built by RoutineScanner, before anything moves.
  void push_back(Routine&& routine);
  Routine& back() noexcept { return blocks_.back().routines.back(); }
  const Routine& back() const noexcept { return blocks_.back().routines.back(); }

  // What UpdateRoutines reads and changes; lines are as they stand now.
  RoutineLines LinesAt(std::size_t index) const;
  Routine CopyAt(std::size_t index) const;
  const std::string& NameAt(std::size_t index) const;
  void SetStartLine(std::size_t index, long line);
  template <class Predicate>
  std::size_t PartitionPoint(std::size_t from, Predicate&& predicate) const;
  void Splice(std::size_t first, std::size_t last, long shift, std::span<Routine> fresh);

  // The index of the routine of that name (in any case) and kind, or size() when there is none.
  std::size_t Find(std::string_view name, ProcKind kind) const;
  // The index of the routine whose range, from its start line to its end line, holds `line`, or
  // size() when none does.
  std::size_t AtLine(long line) const;

 private:
  static constexpr std::size_t kBlock = 16;  // routines a block is made with; split past twice that

  // 256 bits, one set for the hash of each name the block holds (and its kind).
  using Digest = std::array<std::uint64_t, 4>;
  struct Block {
    std::vector<Routine> routines;  // their lines less the block's shift
    Digest names{};
  };
  struct Place {
    std::size_t block;
    std::size_t offset;
  };

  Place Locate(std::size_t index) const;
  static RoutineLines Shifted(const Routine& routine, long shift);
  static std::uint32_t NameHash(std::string_view name, ProcKind kind) noexcept;
  static void AddToDigest(Digest& digest, const Routine& routine) noexcept;
  static void RebuildDigest(Block& block) noexcept;
  // Recounts where each block starts from the first touched one on, splits the touched blocks grown too
  // large and drops those left empty.
  void Rebalance(std::size_t firstTouched, std::size_t lastTouched);

  std::vector<Block> blocks_;
  std::vector<std::size_t> firsts_;  // the index of each block's first routine
  // Each block's shift, kept apart so that moving the blocks below an edit is one tight loop.
  std::vector<long> shifts_;
  std::size_t size_ = 0;

  // The routines Find found last. A generator looks up the same few routines (the PropertyBag
  // events) again and again while it adds routines ahead of them and lines into them. A splice moves
  // each entry to where Find would now find that routine first, or forgets it.
  struct Found {
    std::size_t index = static_cast<std::size_t>(-1);
    std::uint32_t hash = 0;
  };
  static constexpr std::size_t kFoundKept = 4;
  mutable std::array<Found, kFoundKept> found_{};
  mutable std::size_t nextFound_ = 0;  // the entry to replace next
};

template <class Predicate>
std::size_t RoutineList::PartitionPoint(std::size_t from, Predicate&& predicate) const {
  // The first block whose last routine does not satisfy the predicate holds the answer.
  std::size_t low = from < size_ ? Locate(from).block : blocks_.size();
  std::size_t high = blocks_.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const Block& block = blocks_[middle];
    if (predicate(Shifted(block.routines.back(), shifts_[middle]))) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (low == blocks_.size()) return size_;
  const Block& block = blocks_[low];
  std::size_t index = firsts_[low];
  std::size_t offset = 0;
  if (index < from) {
    offset = from - index;
    index = from;
  }
  for (; offset < block.routines.size(); ++offset, ++index) {
    if (!predicate(Shifted(block.routines[offset], shifts_[low]))) return index;
  }
  return index;
}

}  // namespace host
