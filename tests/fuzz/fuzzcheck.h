#pragma once

#include <cstdio>
#include <cstdlib>

// A property a fuzz target holds: when it fails, the run ends as a crash that names it.
#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void() : (std::fputs("check failed: " #condition "\n", stderr), std::abort()))
