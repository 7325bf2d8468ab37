// Reading the kernel's power-supply folder (/sys/class/power_supply): one
// entry per supply (battery, mains adapter, USB port, UPS...), each a folder
// of small text files, one value per file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace ambrelux::tools {

// Attribute texts of one supply by attribute name, exactly as read; an
// attribute that could not be read is missing from the map.
using Attributes = std::map<std::string, std::string, std::less<>>;

struct Supply {
  std::string name;  // the entry's name in the folder, e.g. "BAT0"
  Attributes attributes;
};

enum class SupplyKind {
  Other,          // unknown type, or one that powers a peripheral
  SystemBattery,  // a battery of this computer
  Charger,        // mains, USB, wireless: external power when online
  Ups,
};

// Longest attribute text accepted; anything longer is not a sysfs value.
inline constexpr std::size_t kMaxAttributeBytes = 4096;
// Supplies read, the first in name order of every entry in the folder; a
// real folder holds a handful.
inline constexpr std::size_t kMaxSupplies = 64;

struct PowerSupplyRoot {
  std::filesystem::path path;
  bool named = false;  // by AMBRELUX_POWER_SUPPLY_ROOT, rather than the kernel's folder
};

// AMBRELUX_POWER_SUPPLY_ROOT when set and not empty, else the kernel's folder.
PowerSupplyRoot powerSupplyRoot();

// Why the supplies in `folder` can't be read: it is missing, no folder, or
// can't be listed or searched; no error when they can be.
std::error_code folderError(const std::filesystem::path& folder);

// The text of one attribute file; nothing when it is missing, a symbolic
// link, not a regular file, unreadable, or longer than kMaxAttributeBytes.
// Never blocks, also on a FIFO.
std::optional<std::string> readAttribute(const std::filesystem::path& file);

// The supplies under `root` in name order (byte order: "BAT0" before "BAT1"),
// each with the attributes its kind is read for. Every attribute is read as
// <root>/<name>/<attribute>, nothing else is opened. A missing or unreadable
// root gives no supplies. Never throws.
std::vector<Supply> readSupplies(const std::filesystem::path& root);

// What a supply is, from its "type" and "scope": a supply whose scope is
// "Device" powers a peripheral (a mouse, a pen), so it says nothing about
// this computer's battery or power.
SupplyKind kindOf(const Attributes& attributes);

// An attribute's text without surrounding white space (sysfs ends each
// value with a line feed); nothing when the attribute is missing.
std::optional<std::string_view> text(const Attributes& attributes, std::string_view name);

// An attribute holding exactly one decimal integer that fits 64 bits;
// nothing when missing, empty, not a number or out of range.
std::optional<std::int64_t> integer(const Attributes& attributes, std::string_view name);

}  // namespace ambrelux::tools
