// Replaces the global allocation functions of a program that links it with
// ones that count calls and the bytes in use, so tests and benchmarks can
// tell whether an operation allocates and whether a long run grows.
#pragma once

#include <cstddef>

namespace heap_meter {

// Calls of operator new so far, in the whole program and on the calling
// thread (a benchmark with a server thread counts its own side only).
size_t Allocations();
size_t AllocationsOnThisThread();
// Bytes handed out by operator new and not yet given back.
size_t BytesInUse();

}  // namespace heap_meter
