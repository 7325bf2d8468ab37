#include "tools/stand_in.h"

#include <cstdio>

namespace ambrelux::tools {

std::vector<std::string_view> argumentsOf(int argc, const char* const* argv) {
  if (argc < 1 || argv == nullptr) return {};
  return {argv + 1, argv + argc};
}

int printReport(Format format) {
  const std::string text = format(powerStateFrom(readSupplies(powerSupplyRoot())));
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return (written && std::fflush(stdout) == 0) ? 0 : 1;
}

int printUsage(std::string_view usage) {
  std::fprintf(stderr, "usage: %.*s\n", static_cast<int>(usage.size()), usage.data());
  return 2;
}

}  // namespace ambrelux::tools
