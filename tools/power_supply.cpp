#include "tools/power_supply.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <system_error>

namespace ambrelux::tools {

namespace {

// Read for every supply, to tell what it is.
constexpr std::string_view kIdentity[] = {"type", "scope"};

// Reading an attribute can wake a gauge chip, so each kind reads only what
// its readings use.
constexpr std::string_view kBatteryAttributes[] = {
    "present",        "status",       "capacity",
    "capacity_level", "health",       "charge_full_design",
    "charge_full",    "charge_now",   "energy_full_design",
    "energy_full",    "energy_now",   "voltage_min_design",
    "voltage_now",    "current_now",  "power_now",
    "cycle_count",    "manufacturer", "model_name",
};
constexpr std::string_view kChargerAttributes[] = {"online"};
constexpr std::string_view kUpsAttributes[] = {"present"};

template <std::size_t N>
void readInto(Attributes& into, const std::filesystem::path& folder, const std::string_view (&names)[N]) {
  for (std::string_view name : names) {
    if (auto value = readAttribute(folder / name)) into.emplace(name, std::move(*value));
  }
}

}  // namespace

PowerSupplyRoot powerSupplyRoot() {
  const char* root = std::getenv("AMBRELUX_POWER_SUPPLY_ROOT");
  if (root != nullptr && *root != '\0') return {root, true};
  return {"/sys/class/power_supply", false};
}

std::error_code folderError(const std::filesystem::path& folder) {
  std::error_code error;
  // Listing the names takes read permission; reading each supply's files,
  // search permission as well.
  [[maybe_unused]] const std::filesystem::directory_iterator listing(folder, error);
  if (!error && ::access(folder.c_str(), X_OK) != 0) error.assign(errno, std::system_category());
  return error;
}

std::optional<std::string> readAttribute(const std::filesystem::path& file) {
  // Only a regular file is opened at all: opening a device node can have
  // effects of its own. No link is followed at the last step, so nothing in
  // a supply's folder can lead outside it; O_NONBLOCK keeps a FIFO that
  // replaced the file since from hanging the tool.
  struct stat before {};
  if (::lstat(file.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return std::nullopt;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> result;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    // One byte more than accepted tells an over-long file from a full one.
    std::string buffer(kMaxAttributeBytes + 1, '\0');
    std::size_t used = 0;
    bool failed = false;
    while (used < buffer.size()) {
      const ssize_t n = ::read(fd, buffer.data() + used, buffer.size() - used);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        failed = n < 0;  // sysfs answers ENODEV for a value the firmware lacks
        break;
      }
      used += static_cast<std::size_t>(n);
    }
    if (!failed && used <= kMaxAttributeBytes) {
      buffer.resize(used);
      result = std::move(buffer);
    }
  }
  ::close(fd);
  return result;
}

std::vector<Supply> readSupplies(const std::filesystem::path& root) {
  // Every name is looked at, but only the first kMaxSupplies in name order
  // are kept (a max-heap of them), whatever order the folder lists them in
  // and however many it holds.
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    if (names.size() == kMaxSupplies && name >= names.front()) continue;
    names.push_back(std::move(name));
    std::push_heap(names.begin(), names.end());
    if (names.size() > kMaxSupplies) {
      std::pop_heap(names.begin(), names.end());
      names.pop_back();
    }
  }
  std::sort_heap(names.begin(), names.end());

  std::vector<Supply> supplies;
  for (std::string& name : names) {
    const std::filesystem::path folder = root / name;
    Supply supply{std::move(name), {}};
    readInto(supply.attributes, folder, kIdentity);
    switch (kindOf(supply.attributes)) {
      case SupplyKind::SystemBattery:
        readInto(supply.attributes, folder, kBatteryAttributes);
        break;
      case SupplyKind::Charger:
        readInto(supply.attributes, folder, kChargerAttributes);
        break;
      case SupplyKind::Ups:
        readInto(supply.attributes, folder, kUpsAttributes);
        break;
      case SupplyKind::Other:
        break;
    }
    supplies.push_back(std::move(supply));
  }
  return supplies;
}

SupplyKind kindOf(const Attributes& attributes) {
  if (text(attributes, "scope") == "Device") return SupplyKind::Other;
  const std::string_view type = text(attributes, "type").value_or("");
  if (type == "Battery") return SupplyKind::SystemBattery;
  if (type == "UPS") return SupplyKind::Ups;
  // Older kernels name USB chargers by port kind: USB_DCP, USB_C, USB_PD...
  if (type == "Mains" || type == "Wireless" || type == "BrickID" || type.starts_with("USB")) {
    return SupplyKind::Charger;
  }
  return SupplyKind::Other;
}

std::optional<std::string_view> text(const Attributes& attributes, std::string_view name) {
  const auto found = attributes.find(name);
  if (found == attributes.end()) return std::nullopt;
  constexpr std::string_view kBlanks = " \t\n\r\v\f";
  std::string_view value = found->second;
  const std::size_t first = value.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::string_view{};
  return value.substr(first, value.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::int64_t> integer(const Attributes& attributes, std::string_view name) {
  const std::optional<std::string_view> value = text(attributes, name);
  if (!value || value->empty()) return std::nullopt;
  std::int64_t number = 0;
  const char* end = value->data() + value->size();
  const auto [stop, error] = std::from_chars(value->data(), end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

}  // namespace ambrelux::tools
