#include "tools/stand_in.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "app/framework/text.h"

namespace ambrelux::tools {

namespace {

// The code point of a well-formed character (1 to 4 bytes).
char32_t codePoint(std::string_view character) {
  if (character.size() == 1) return static_cast<unsigned char>(character[0]);
  char32_t value = static_cast<unsigned char>(character[0]) & (0x7F >> character.size());
  for (std::size_t i = 1; i < character.size(); ++i) {
    value = (value << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
  }
  return value;
}

// Characters that end a line, move the cursor, start an escape, or reorder
// what follows them on the line.
bool breaksLine(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) ||  // C0, DEL, C1
         (c >= 0x2028 && c <= 0x202E) ||          // line and paragraph separators, embeddings, overrides
         (c >= 0x2066 && c <= 0x2069);            // isolates
}

}  // namespace

std::string oneLine(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8CharBytes(text.substr(i));
    const std::string_view character = text.substr(i, std::max<std::size_t>(length, 1));
    const bool keep = length > 0 && !breaksLine(codePoint(character));
    out.append(keep ? character : std::string_view("?"));
    i += character.size();
  }
  return out;
}

std::vector<std::string_view> argumentsOf(int argc, const char* const* argv) {
  if (argc < 1 || argv == nullptr) return {};
  return {argv + 1, argv + argc};
}

int printReport(std::string_view program, Format format) {
  const PowerSupplyRoot root = powerSupplyRoot();
  // A machine may lack the kernel's folder, but a folder named and not
  // readable is a mistake, which an empty listing would pass off as no battery.
  if (root.named) {
    if (const std::error_code error = folderError(root.path)) {
      const std::string folder = oneLine(root.path.native());
      std::fprintf(stderr, "%.*s: can't read AMBRELUX_POWER_SUPPLY_ROOT folder %s: %s\n",
                   static_cast<int>(program.size()), program.data(), folder.c_str(), error.message().c_str());
      return 1;
    }
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
