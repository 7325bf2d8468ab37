#include "support/test_data.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ambrelux::testing {

std::string readTestData(const std::string& relativePath) {
  const std::string path = std::string(AMBRELUX_TEST_DATA) + "/" + relativePath;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("missing test data: " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace ambrelux::testing
