#include "app/framework/properties.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace ambrelux {

namespace {

constexpr std::array<std::pair<std::string_view, PropertyType>, 58> kTypes{{
    {"Placement", PropertyType::Integer},
    {"Width", PropertyType::Integer},
    {"Height", PropertyType::Integer},
    {"MinWidth", PropertyType::Integer},
    {"MinHeight", PropertyType::Integer},
    {"MaxWidth", PropertyType::Integer},
    {"MaxHeight", PropertyType::Integer},
    {"Frame", PropertyType::Integer},
    {"MacProcID", PropertyType::Integer},
    {"Index", PropertyType::Integer},
    {"Left", PropertyType::Integer},
    {"Top", PropertyType::Integer},
    {"TabPanelIndex", PropertyType::Integer},
    {"TabIndex", PropertyType::Integer},
    {"TextAlign", PropertyType::Integer},
    {"TextSize", PropertyType::Integer},
    {"BorderWidth", PropertyType::Integer},
    {"Composite", PropertyType::Boolean},
    {"HasBackColor", PropertyType::Boolean},
    {"Visible", PropertyType::Boolean},
    {"FullScreen", PropertyType::Boolean},
    {"MenuBarVisible", PropertyType::Boolean},
    {"CloseButton", PropertyType::Boolean},
    {"Resizeable", PropertyType::Boolean},
    {"LiveResize", PropertyType::Boolean},
    {"MaximizeButton", PropertyType::Boolean},
    {"MinimizeButton", PropertyType::Boolean},
    {"LockLeft", PropertyType::Boolean},
    {"LockTop", PropertyType::Boolean},
    {"LockRight", PropertyType::Boolean},
    {"LockBottom", PropertyType::Boolean},
    {"Multiline", PropertyType::Boolean},
    {"Enabled", PropertyType::Boolean},
    {"AutoDeactivate", PropertyType::Boolean},
    {"Bold", PropertyType::Boolean},
    {"Italic", PropertyType::Boolean},
    {"Underline", PropertyType::Boolean},
    {"UseFocusRing", PropertyType::Boolean},
    {"AcceptFocus", PropertyType::Boolean},
    {"AcceptTabs", PropertyType::Boolean},
    {"EraseBackground", PropertyType::Boolean},
    {"Default", PropertyType::Boolean},
    {"Cancel", PropertyType::Boolean},
    {"BackColor", PropertyType::Color},
    {"TextColor", PropertyType::Color},
    {"FillColor", PropertyType::Color},
    {"TopLeftColor", PropertyType::Color},
    {"BottomRightColor", PropertyType::Color},
    {"Title", PropertyType::String},
    {"BalloonHelp", PropertyType::String},
    {"Name", PropertyType::String},
    {"Text", PropertyType::String},
    {"Caption", PropertyType::String},
    {"HelpTag", PropertyType::String},
    {"TextFont", PropertyType::String},
    {"DataSource", PropertyType::String},
    {"DataField", PropertyType::String},
    {"InitialParent", PropertyType::String},
}};

void putUint32(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v >> 24));
  out.push_back(static_cast<char>(v >> 16));
  out.push_back(static_cast<char>(v >> 8));
  out.push_back(static_cast<char>(v));
}

std::uint32_t getUint32(std::string_view in, std::size_t at) {
  auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i]));
  };
  return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

bool matchesType(const PropertyValue& value, PropertyType type) {
  switch (type) {
    case PropertyType::Integer:
      return std::holds_alternative<std::int32_t>(value);
    case PropertyType::Boolean:
      return std::holds_alternative<bool>(value);
    case PropertyType::Color:
      return std::holds_alternative<Color>(value);
    case PropertyType::String:
      return std::holds_alternative<std::string>(value);
  }
  return false;
}

}  // namespace

std::optional<PropertyType> propertyType(std::string_view name) {
  for (const auto& [known, type] : kTypes)
    if (known == name) return type;
  return std::nullopt;
}

std::string encodeProperties(const std::vector<Property>& properties) {
  std::string out;
  for (const Property& p : properties) {
    const auto type = propertyType(p.name);
    if (!type || !matchesType(p.value, *type))
      throw std::invalid_argument("property of unknown name or wrong type: " + p.name);
    out += p.name;
    out += ' ';
    if (const auto* i = std::get_if<std::int32_t>(&p.value)) {
      putUint32(out, static_cast<std::uint32_t>(*i));
    } else if (const auto* b = std::get_if<bool>(&p.value)) {
      out.push_back(*b ? '\1' : '\0');
    } else if (const auto* c = std::get_if<Color>(&p.value)) {
      out.push_back(static_cast<char>(c->red));
      out.push_back(static_cast<char>(c->green));
      out.push_back(static_cast<char>(c->blue));
    } else {
      const auto& s = std::get<std::string>(p.value);
      putUint32(out, static_cast<std::uint32_t>(s.size()));
      out += s;
    }
  }
  return out;
}

std::optional<std::vector<Property>> decodeProperties(std::string_view bytes) {
  std::vector<Property> properties;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t blank = bytes.find(' ', at);
    if (blank == std::string_view::npos) return std::nullopt;
    std::string name(bytes.substr(at, blank - at));
    const auto type = propertyType(name);
    if (!type) return std::nullopt;
    at = blank + 1;
    const std::size_t left = bytes.size() - at;
    switch (*type) {
      case PropertyType::Integer:
        if (left < 4) return std::nullopt;
        properties.push_back({std::move(name), static_cast<std::int32_t>(getUint32(bytes, at))});
        at += 4;
        break;
      case PropertyType::Boolean:
        if (left < 1) return std::nullopt;
        properties.push_back({std::move(name), bytes[at] != '\0'});
        at += 1;
        break;
      case PropertyType::Color:
        if (left < 3) return std::nullopt;
        properties.push_back({std::move(name), Color{static_cast<std::uint8_t>(bytes[at]),
                                                     static_cast<std::uint8_t>(bytes[at + 1]),
                                                     static_cast<std::uint8_t>(bytes[at + 2])}});
        at += 3;
        break;
      case PropertyType::String: {
        if (left < 4) return std::nullopt;
        const std::uint32_t count = getUint32(bytes, at);
        if (count > left - 4) return std::nullopt;
        properties.push_back({std::move(name), std::string(bytes.substr(at + 4, count))});
        at += 4 + count;
        break;
      }
    }
  }
  return properties;
}

bool SetProperties(PropertyTarget& target, std::string_view bytes) {
  const auto properties = decodeProperties(bytes);
  if (!properties) return false;
  target.applyProperties(*properties);
  return true;
}

}  // namespace ambrelux
