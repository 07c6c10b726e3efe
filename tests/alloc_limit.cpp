#include "alloc_limit.h"

#include <atomic>
#include <cstddef>
#include <new>

namespace {

std::atomic<int> remaining{-1};  // no limit

void *Allocate(std::size_t size, bool array) noexcept
{
    if (remaining == 0) {
        return nullptr;
    }
    if (remaining > 0) {
        --remaining;
    }
    try {
        return array ? ::operator new[](size) : ::operator new(size);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

}  // namespace

AllocationLimit::AllocationLimit(int allowed) { remaining = allowed; }
AllocationLimit::~AllocationLimit() { remaining = -1; }

void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return Allocate(size, false); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return Allocate(size, true); }
