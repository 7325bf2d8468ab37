#include "tools/stand_in.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace ambrelux::tools {

namespace {

// `text` fit for one line on a terminal: line ends, other control
// characters (C1 ones too) and bytes that are no UTF-8 become '?', so a
// hostile path can neither add lines nor send escapes.
std::string oneLine(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char c = byte(i);
    std::size_t length = c < 0x80 ? 1 : c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
    bool keep = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; keep && k < length; ++k) keep = (byte(i + k) & 0xC0) == 0x80;
    if (keep && length == 1) keep = c >= 0x20 && c != 0x7F;
    if (keep && c == 0xC2) keep = byte(i + 1) >= 0xA0;
    if (!keep) length = 1;
    out.append(keep ? text.substr(i, length) : "?");
    i += length;
  }
  return out;
}

}  // namespace

std::vector<std::string_view> argumentsOf(int argc, const char* const* argv) {
  if (argc < 1 || argv == nullptr) return {};
  return {argv + 1, argv + argc};
}

int printReport(std::string_view program, Format format) {
  const PowerSupplyRoot root = powerSupplyRoot();
  std::error_code error;
  // A machine may lack the kernel's folder, but a folder named and missing
  // is a mistake, which an empty listing would pass off as no battery.
  if (root.named && !std::filesystem::is_directory(root.path, error)) {
    const std::string path = oneLine(root.path.native());
    std::fprintf(stderr, "%.*s: AMBRELUX_POWER_SUPPLY_ROOT names no folder: %s\n",
                 static_cast<int>(program.size()), program.data(), path.c_str());
    return 1;
  }
  const std::string text = format(powerStateFrom(readSupplies(root.path)));
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return (written && std::fflush(stdout) == 0) ? 0 : 1;
}

int printUsage(std::string_view usage) {
  std::fprintf(stderr, "usage: %.*s\n", static_cast<int>(usage.size()), usage.data());
  return 2;
}

}  // namespace ambrelux::tools
