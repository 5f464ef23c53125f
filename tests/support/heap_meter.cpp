#include "heap_meter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> g_allocations{0};
std::atomic<size_t> g_in_use{0};
thread_local size_t t_allocations = 0;

// Each block carries its size in front of it, in a header that keeps the
// block aligned as malloc's own blocks are.
constexpr size_t kHeader = alignof(std::max_align_t);

void* Allocate(size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(kHeader + (size == 0 ? 1 : size)));
  if (block == nullptr) return nullptr;
  *reinterpret_cast<size_t*>(block) = size;
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  ++t_allocations;
  g_in_use.fetch_add(size, std::memory_order_relaxed);
  return block + kHeader;
}

void Release(void* p) {
  if (p == nullptr) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  g_in_use.fetch_sub(*reinterpret_cast<size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

namespace heap_meter {

size_t Allocations() {
  return g_allocations.load();
}

size_t AllocationsOnThisThread() {
  return t_allocations;
}

size_t BytesInUse() {
  return g_in_use.load();
}

}  // namespace heap_meter

void* operator new(size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete[](void* p) noexcept {
  Release(p);
}
void operator delete(void* p, size_t) noexcept {
  Release(p);
}
void operator delete[](void* p, size_t) noexcept {
  Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Release(p);
}
