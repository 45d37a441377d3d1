#pragma once
// Replaces the global operator new of the test program that links AllocationHook.cpp:
// counts allocations and, when armed, makes one of them fail with std::bad_alloc.

#include <cstddef>

namespace vantor::model::test {

class AllocationHook {
public:
    // Allocations made through operator new since the program started.
    static std::size_t Count();
    // The allocation `after` allocations from now (0: the next one) throws bad_alloc.
    static void FailAfter(std::size_t after);
    static void Disarm();
    // Whether the armed failure has happened.
    static bool Failed();
};

} // namespace vantor::model::test
