#include "AllocationHook.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> allocations{0};
std::atomic<std::size_t> failAt{0}; // allocation number that fails; 0 = none
std::atomic<bool> failed{false};

void *Allocate(std::size_t size)
{
    const std::size_t number = ++allocations;
    if (number == failAt.load()) {
        failed = true;
        throw std::bad_alloc();
    }
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

} // namespace

namespace vantor::model::test {

std::size_t AllocationHook::Count()
{
    return allocations.load();
}

void AllocationHook::FailAfter(std::size_t after)
{
    failed = false;
    failAt = allocations.load() + after + 1;
}

void AllocationHook::Disarm()
{
    failAt = 0;
}

bool AllocationHook::Failed()
{
    return failed.load();
}

} // namespace vantor::model::test

void *operator new(std::size_t size)
{
    return Allocate(size);
}

void *operator new[](std::size_t size)
{
    return Allocate(size);
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete[](void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}
