#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

// The program has one thread; a plain counter adds no cost of its own to what is measured.
std::int64_t allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  for (;;) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
      return block;
    }
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) {
      throw std::bad_alloc();
    }
    handler();
  }
}

void operator delete(void* block) noexcept {
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

namespace docrecover::bench {

std::int64_t Allocations() {
  return allocations;
}

}  // namespace docrecover::bench
