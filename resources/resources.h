#pragma once

namespace ambrelux {

// Registers the compiled-in resources; safe to call more than once.
void initResources();

}  // namespace ambrelux
