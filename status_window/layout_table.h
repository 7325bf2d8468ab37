// The status window's appearance as data: the window's own design-time
// properties and one row per control, in creation order. The property
// strings the window is built from are made from these rows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ambrelux {

enum class ControlKind { StaticText, Separator, Rectangle, Canvas, ChasingArrows, PushButton };

enum Align : std::int32_t { AlignLeft = 0, AlignCentre = 1, AlignRight = 2 };

struct ControlRow {
  ControlKind kind;
  const char* name;
  std::int32_t left, top, width, height;
  const char* text = "";  // StaticText text or PushButton caption
  std::int32_t align = AlignLeft;
  std::uint32_t textColor = 0x000000;
  std::int32_t textSize = 12;
  bool italic = false;
  bool visible = true;
  const char* inside = "";  // the containing control's name
  std::int32_t tabIndex = 0;
  const char* helpTag = "";
  bool isDefault = false;  // PushButton
  int picture = 0;         // Canvas: its bar picture's resource number
};

// The product's web page, also the web button's caption in angle brackets.
inline constexpr std::string_view kWebAddress = "https://www.ambrelux.example/";

// The 54 controls in creation order; the first 50 are created by the
// first builder, the rest by the second.
std::span<const ControlRow> statusWindowControls();
inline constexpr std::size_t kFirstBuilderControls = 50;
// The first 16 are the eight flag cells, a grey label and its overlay each.
inline constexpr std::size_t kFlagCellControls = 16;

// Design-time property strings.
std::string windowPropertyString();
std::string controlPropertyString(const ControlRow& row);

}  // namespace ambrelux
