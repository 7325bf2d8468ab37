// Design-time property strings: how the layout describes a window or a
// control, and the one service that applies such a string.
//
// Entries stand back to back: the property's name (ASCII letters and
// digits), one blank, then the value. Integers are 4 bytes big-endian two's
// complement, Booleans 1 byte, colours 3 bytes (red, green, blue), strings
// a 4-byte big-endian byte count and that many bytes of UTF-8. The type of
// each entry is known by its name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ambrelux {

struct Color {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

constexpr Color rgb(std::uint32_t value) {
  return Color{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value)};
}

enum class PropertyType { Integer, Boolean, Color, String };

using PropertyValue = std::variant<std::int32_t, bool, Color, std::string>;

struct Property {
  std::string name;
  PropertyValue value;
  friend bool operator==(const Property&, const Property&) = default;
};

// The type a property of this name has; nullopt for a name we don't know.
std::optional<PropertyType> propertyType(std::string_view name);

// Encodes the entries in order. Throws std::invalid_argument for an unknown
// name or a value of the wrong type: the layout is fixed data, so that is a
// programming error caught by the tests.
std::string encodeProperties(const std::vector<Property>& properties);

// Decodes a whole property string; nullopt when it is malformed anywhere
// (unknown name, missing blank, value cut short, string longer than what
// is left), so a damaged string is never half applied.
std::optional<std::vector<Property>> decodeProperties(std::string_view bytes);

// Something design-time properties can be applied to.
class PropertyTarget {
 public:
  virtual ~PropertyTarget() = default;
  // Applies one property; properties that have no meaning here are ignored.
  virtual void applyProperty(const Property& property) = 0;
  // Applies a whole string's entries in order; a target may settle what
  // depends on several of them once, at the end.
  virtual void applyProperties(const std::vector<Property>& properties) {
    for (const Property& p : properties) applyProperty(p);
  }
};

// Decodes `bytes` and applies every entry in order. Returns false (and
// applies nothing) when the string is malformed.
bool SetProperties(PropertyTarget& target, std::string_view bytes);

}  // namespace ambrelux
