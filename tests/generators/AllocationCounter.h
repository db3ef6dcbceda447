#pragma once

#include <cstddef>

// Counts the allocations made through operator new by this test program, so that a test can
// prove a loop allocates nothing.
std::size_t allocationCount();
