// cli/posix/run_arena.cpp: the scrivlet program's allocation. A run reads one file, generates once and
// ends; the file's tens of thousands of lines are small strings that live until the end. They come
// from large blocks, one after another, and are never freed one by one: the process gives the blocks
// back when it ends. Large buffers (the file's bytes and text) still come from malloc and go back
// to it, so that the next one reuses the memory. Linked into the program only, never into tests.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kBlockSize = std::size_t{8} << 20U;
constexpr std::size_t kLargest = std::size_t{64} << 10U;  // larger requests go to malloc
constexpr std::size_t kMostBlocks = 64;

struct Block {
  std::uintptr_t begin = 0;
  std::uintptr_t end = 0;
};

// Single-threaded: the program runs one thread.
Block blocks[kMostBlocks];
std::size_t blockCount = 0;
std::uintptr_t next = 0;
std::uintptr_t limit = 0;

bool InArena(const void* pointer) noexcept {
  const auto address = reinterpret_cast<std::uintptr_t>(pointer);  // NOLINT(performance-no-int-to-ptr)
  for (std::size_t i = 0; i < blockCount; ++i) {
    if (address >= blocks[i].begin && address < blocks[i].end) return true;
  }
  return false;
}

void* Allocate(std::size_t size, std::size_t alignment) noexcept {
  if (size == 0) size = 1;
  if (size > kLargest || alignment > 64) {
    return alignment > __STDCPP_DEFAULT_NEW_ALIGNMENT__
               ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
               : std::malloc(size);
  }
  std::uintptr_t at = (next + alignment - 1) & ~(alignment - 1);
  if (next == 0 || at + size > limit) {
    if (blockCount == kMostBlocks) return std::malloc(size);
    void* block = std::malloc(kBlockSize);
    if (block == nullptr) return nullptr;
    const auto begin = reinterpret_cast<std::uintptr_t>(block);
    blocks[blockCount++] = {begin, begin + kBlockSize};
    next = begin;
    limit = begin + kBlockSize;
    at = (next + alignment - 1) & ~(alignment - 1);
  }
  next = at + size;
  return reinterpret_cast<void*>(at);  // NOLINT(performance-no-int-to-ptr)
}

void Release(void* pointer) noexcept {
  if (pointer != nullptr && !InArena(pointer)) std::free(pointer);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
  void* pointer = Allocate(size, alignment);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

}  // namespace

// NOLINTBEGIN(misc-new-delete-overloads,cert-dcl54-cpp): every form is replaced, each pair here
void* operator new(std::size_t size) {
  return AllocateOrThrow(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
}
void* operator new[](std::size_t size) {
  return AllocateOrThrow(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
}
void operator delete(void* pointer) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, std::align_val_t) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept {
  Release(pointer);
}
// NOLINTEND(misc-new-delete-overloads,cert-dcl54-cpp)
