// Sample tool output and power-supply trees under tests/data.
#pragma once

#include <string>

namespace ambrelux::testing {

// The complete text of a file under tests/data.
std::string readTestData(const std::string& relativePath);

}  // namespace ambrelux::testing
