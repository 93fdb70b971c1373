#include "AllocationCount.h"

#include <cstdlib>
#include <new>

namespace {

thread_local long allocationCount = 0;

} // namespace

void* operator new(std::size_t size)
{
    ++allocationCount;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace vesk::test {

long allocationsOnThisThread()
{
    return allocationCount;
}

} // namespace vesk::test
