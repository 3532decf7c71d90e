// host/vb_code/routine_list.cpp: blocks of routines with a shift each, and a digest of their names.
#include "host/vb_code/routine_list.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "host/vb_code/code_lines.h"

namespace host {
namespace {

// Moves a routine's lines by `shift`.
void MoveLines(Routine& routine, long shift) noexcept {
  routine.startLine += shift;
  routine.bodyLine += shift;
  routine.declarationEnd += shift;
  routine.endLine += shift;
}

// A loop the compiler vectorises: with the bounds read once, no store can change them.
template <class Number>
void AddToEach(std::span<Number> numbers, Number amount) noexcept {
  for (Number& number : numbers) number += amount;
}

}  // namespace

void RoutineList::push_back(Routine&& routine) {
  if (blocks_.empty() || blocks_.back().routines.size() == kBlock) {
    blocks_.emplace_back();
    blocks_.back().routines.reserve(kBlock);
    firsts_.push_back(size_);
    shifts_.push_back(0);
  }
  Block& block = blocks_.back();
  block.routines.push_back(std::move(routine));
  AddToDigest(block.names, block.routines.back());
  ++size_;
}

RoutineList::Place RoutineList::Locate(std::size_t index) const {
  const auto after = std::upper_bound(firsts_.begin(), firsts_.end(), index);
  const auto block = static_cast<std::size_t>(std::prev(after) - firsts_.begin());
  return {block, index - firsts_[block]};
}

RoutineLines RoutineList::Shifted(const Routine& routine, long shift) {
  RoutineLines lines = LinesOf(routine);
  lines.startLine += shift;
  lines.bodyLine += shift;
  lines.declarationEnd += shift;
  lines.endLine += shift;
  return lines;
}

RoutineLines RoutineList::LinesAt(std::size_t index) const {
  const Place place = Locate(index);
  const Block& block = blocks_[place.block];
  return Shifted(block.routines[place.offset], shifts_[place.block]);
}

Routine RoutineList::CopyAt(std::size_t index) const {
  const Place place = Locate(index);
  Routine routine = blocks_[place.block].routines[place.offset];
  MoveLines(routine, shifts_[place.block]);
  return routine;
}

const std::string& RoutineList::NameAt(std::size_t index) const {
  const Place place = Locate(index);
  return blocks_[place.block].routines[place.offset].name;
}

void RoutineList::SetStartLine(std::size_t index, long line) {
  const Place place = Locate(index);
  blocks_[place.block].routines[place.offset].startLine = line - shifts_[place.block];
}

void RoutineList::Splice(std::size_t first, std::size_t last, long shift, std::span<Routine> fresh) {
  // A routine found before is found again where it now stands: the first fresh routine of its name
  // and kind when there is one (none ahead of it has that name), else its old place moved, unless
  // it was replaced.
  for (Found& found : found_) {
    if (found.index >= size_ || found.index < first) continue;
    const Place place = Locate(found.index);
    const Routine& old = blocks_[place.block].routines[place.offset];
    const auto same = std::find_if(fresh.begin(), fresh.end(), [&](const Routine& routine) {
      return routine.kind == old.kind && SameName(routine.name, old.name);
    });
    if (same != fresh.end()) {
      found.index = first + static_cast<std::size_t>(same - fresh.begin());
    } else if (found.index < last) {
      found = Found{};
    } else {
      found.index = found.index - (last - first) + fresh.size();
    }
  }
  // The routines below move: those of the block where they start one by one, the later blocks whole.
  if (last < size_) {
    const Place place = Locate(last);
    for (std::size_t i = place.offset; i < blocks_[place.block].routines.size(); ++i) {
      MoveLines(blocks_[place.block].routines[i], shift);
    }
    AddToEach(std::span<long>{shifts_}.subspan(place.block + 1), shift);
  }
  if (first == last && fresh.empty()) return;

  if (blocks_.empty()) {
    blocks_.emplace_back();
    firsts_.push_back(0);
    shifts_.push_back(0);
  }
  // Where the replaced routines start; at the very end, after the last block's last routine.
  const Place at = first < size_ ? Locate(first) : Place{blocks_.size() - 1, blocks_.back().routines.size()};
  std::size_t remaining = last - first;
  std::size_t lastTouched = at.block;
  for (std::size_t b = at.block, offset = at.offset; remaining > 0 && b < blocks_.size(); ++b, offset = 0) {
    std::vector<Routine>& routines = blocks_[b].routines;
    const std::size_t count = std::min(remaining, routines.size() - offset);
    const auto begin = routines.begin() + static_cast<std::ptrdiff_t>(offset);
    routines.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
    remaining -= count;
    lastTouched = b;
  }
  Block& block = blocks_[at.block];
  for (Routine& routine : fresh) MoveLines(routine, -shifts_[at.block]);
  // The digests keep the bits of the routines taken out: most come back at once, rescanned, and a
  // bit too many only costs Find a look at a block. A block split anew gets an exact digest.
  for (const Routine& routine : fresh) AddToDigest(block.names, routine);
  block.routines.insert(block.routines.begin() + static_cast<std::ptrdiff_t>(at.offset),
                        std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
  Rebalance(at.block, lastTouched);
}

void RoutineList::Rebalance(std::size_t firstTouched, std::size_t lastTouched) {
  // Where the touched blocks started, and the block after them.
  std::size_t next = firsts_[firstTouched];
  const std::size_t oldNext = lastTouched + 1 < firsts_.size() ? firsts_[lastTouched + 1] : size_;
  std::size_t touched = lastTouched - firstTouched + 1;
  const auto from = static_cast<std::ptrdiff_t>(firstTouched);
  const auto to = static_cast<std::ptrdiff_t>(lastTouched) + 1;
  const bool reshape = std::any_of(blocks_.begin() + from, blocks_.begin() + to, [](const Block& block) {
    return block.routines.empty() || block.routines.size() > 2 * kBlock;
  });
  if (reshape) {
    // The touched blocks grown too large are split and those left empty dropped, where they stand:
    // the blocks after them only move over.
    std::vector<Block> parts;
    std::vector<long> partShifts;
    for (std::size_t b = firstTouched; b <= lastTouched; ++b) {
      Block& block = blocks_[b];
      if (block.routines.size() <= 2 * kBlock) {
        if (!block.routines.empty()) {
          parts.push_back(std::move(block));
          partShifts.push_back(shifts_[b]);
        }
        continue;
      }
      for (std::size_t start = 0; start < block.routines.size(); start += kBlock) {
        Block part;
        const auto begin = block.routines.begin() + static_cast<std::ptrdiff_t>(start);
        const auto end = block.routines.begin() +
                         static_cast<std::ptrdiff_t>(std::min(start + kBlock, block.routines.size()));
        part.routines.assign(std::make_move_iterator(begin), std::make_move_iterator(end));
        RebuildDigest(part);
        parts.push_back(std::move(part));
        partShifts.push_back(shifts_[b]);
      }
    }
    blocks_.erase(blocks_.begin() + from, blocks_.begin() + to);
    blocks_.insert(blocks_.begin() + from, std::make_move_iterator(parts.begin()),
                   std::make_move_iterator(parts.end()));
    shifts_.erase(shifts_.begin() + from, shifts_.begin() + to);
    shifts_.insert(shifts_.begin() + from, partShifts.begin(), partShifts.end());
    firsts_.erase(firsts_.begin() + from, firsts_.begin() + to);
    firsts_.insert(firsts_.begin() + from, parts.size(), 0);
    touched = parts.size();
  }
  // The touched blocks are counted again; the later ones start as many routines further on (or
  // back, which unsigned arithmetic adds alike).
  for (std::size_t b = firstTouched; b < firstTouched + touched; ++b) {
    firsts_[b] = next;
    next += blocks_[b].routines.size();
  }
  const std::size_t moved = next - oldNext;
  AddToEach(std::span<std::size_t>{firsts_}.subspan(firstTouched + touched), moved);
  size_ += moved;
}

std::uint32_t RoutineList::NameHash(std::string_view name, ProcKind kind) noexcept {
  std::uint32_t hash = 2166136261U ^ static_cast<std::uint32_t>(kind);
  for (const char c : name) {
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    hash = (hash ^ static_cast<unsigned char>(lower)) * 16777619U;
  }
  return hash ^ (hash >> 16U);
}

void RoutineList::AddToDigest(Digest& digest, const Routine& routine) noexcept {
  const std::uint32_t bit = NameHash(routine.name, routine.kind) & 255U;
  digest[bit / 64] |= std::uint64_t{1} << (bit % 64);
}

void RoutineList::RebuildDigest(Block& block) noexcept {
  block.names = {};
  for (const Routine& routine : block.routines) AddToDigest(block.names, routine);
}

std::size_t RoutineList::Find(std::string_view name, ProcKind kind) const {
  const std::uint32_t hash = NameHash(name, kind);
  for (const Found& found : found_) {
    if (found.index >= size_ || found.hash != hash) continue;
    const Place place = Locate(found.index);
    const Routine& routine = blocks_[place.block].routines[place.offset];
    if (routine.kind == kind && SameName(routine.name, name)) return found.index;
  }
  const std::uint32_t bit = hash & 255U;
  const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
  for (std::size_t b = 0; b < blocks_.size(); ++b) {
    const Block& block = blocks_[b];
    if ((block.names[bit / 64] & mask) == 0) continue;
    for (std::size_t i = 0; i < block.routines.size(); ++i) {
      const Routine& routine = block.routines[i];
      if (routine.kind == kind && SameName(routine.name, name)) {
        found_[nextFound_] = {firsts_[b] + i, hash};
        nextFound_ = (nextFound_ + 1) % kFoundKept;
        return firsts_[b] + i;
      }
    }
  }
  return size_;
}

std::size_t RoutineList::AtLine(long line) const {
  // Routines are in order and do not overlap.
  const std::size_t after =
      PartitionPoint(0, [&](const RoutineLines& routine) { return routine.startLine <= line; });
  if (after == 0) return size_;
  return line <= LinesAt(after - 1).endLine ? after - 1 : size_;
}

}  // namespace host
