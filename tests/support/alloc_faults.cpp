// tests/support/alloc_faults.cpp: replaces every form of operator new and delete for the program
// that links it, with a countdown that fails the chosen allocation.
#include "tests/support/alloc_faults.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace test {
namespace {

std::atomic<long> g_successes_left{-1};  // -1: disarmed
std::atomic<bool> g_persistent{false};
std::atomic<bool> g_fired{false};

bool ShouldFail() noexcept {
  const long left = g_successes_left.load();
  if (left == 0) {
    g_fired = true;
    if (!g_persistent) g_successes_left = -1;
    return true;
  }
  if (left > 0) g_successes_left = left - 1;
  return false;
}

void* Allocate(std::size_t size) {
  if (ShouldFail()) throw std::bad_alloc{};
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc{};
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  if (ShouldFail()) throw std::bad_alloc{};
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = (size + align - 1) / align * align;
  if (void* p = std::aligned_alloc(align, rounded != 0 ? rounded : align)) return p;
  throw std::bad_alloc{};
}

}  // namespace

void ArmAllocFault(long successes, bool persistent) {
  g_fired = false;
  g_persistent = persistent;
  g_successes_left = successes;
}

bool DisarmAllocFault() {
  g_successes_left = -1;
  return g_fired.exchange(false);
}

}  // namespace test

void* operator new(std::size_t size) {
  return test::Allocate(size);
}
void* operator new[](std::size_t size) {
  return test::Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return test::AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return test::AllocateAligned(size, alignment);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return test::Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return test::Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
