// Invariant checks for the fuzz targets.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace ambrelux::fuzzing {

// Stops the process with `what` when `condition` is false, so libFuzzer
// keeps the input that broke an invariant as a crash.
inline void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace ambrelux::fuzzing
