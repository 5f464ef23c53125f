// Counts calls of the global operator new in this test program.
#pragma once

#include <cstddef>

size_t AllocationCount();
