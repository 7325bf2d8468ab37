// The design-time property string decoder, and SetProperties on the status
// window or one of its controls. Input: one byte choosing the target (its
// value modulo 55: 0 the window, n the n-th control in creation order),
// then the property string. One window serves the inputs: after each the
// target gets its layout string again, and now and then (chosen by the
// input, so a crash replays) the window is freed as it stands and built anew.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/framework/properties.h"
#include "app/framework/runtime.h"
#include "gui_session.h"
#include "status_window/layout_table.h"

namespace {

using namespace ambrelux;
using fuzzing::require;

fuzzing::WindowSession* session = nullptr;  // kept to the end of the run

// Booleans decode any non-zero byte as true and encode it as 1, so the
// round trip holds from the decoded entries on.
void checkDecoding(std::string_view bytes) {
  const auto decoded = decodeProperties(bytes);
  if (!decoded) return;
  for (const Property& p : *decoded) require(propertyType(p.name).has_value(), "decoded names are known");
  const std::string encoded = encodeProperties(*decoded);
  require(encoded.size() == bytes.size(), "encoding takes as many bytes as decoding read");
  require(decodeProperties(encoded) == decoded, "decoding reads back what encoding wrote");
}

bool drawable(const statusWindow& window) {
  constexpr int kMost = 4096;
  if (window.width() > kMost || window.height() > kMost) return false;
  for (const auto& control : window.controls())
    if (control->Width() > kMost || control->Height() > kMost) return false;
  return true;
}

// Puts back what a string applied to `target` can change: the target's
// own layout string, and the push buttons' for the default button.
void resetToLayout(statusWindow& window, std::size_t target) {
  static const std::string windowString = windowPropertyString();
  if (target == 0) {
    require(SetProperties(window, windowString), "the window's string applies");
    return;
  }
  const auto rows = statusWindowControls();
  std::vector<const ControlRow*> again{&rows[target - 1]};
  if (again.front()->kind == ControlKind::PushButton)
    for (const ControlRow& row : rows)
      if (row.kind == ControlKind::PushButton) again.push_back(&row);
  for (const ControlRow* row : again)
    require(SetProperties(*window.controlByName(row->name), controlPropertyString(*row)),
            "the layout's strings apply");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::startQt();
  session = new fuzzing::WindowSession;
  session->window();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  checkDecoding(bytes);

  statusWindow& window = session->window();
  const std::size_t target = data[0] % (window.controls().size() + 1);
  const bool wellFormed = decodeProperties(bytes).has_value();
  if (target == 0) {
    require(SetProperties(window, bytes) == wellFormed,
            "SetProperties applies exactly the well-formed strings");
  } else {
    RectControl& control = *window.controls()[target - 1];
    require(SetProperties(control, bytes) == wellFormed,
            "SetProperties applies exactly the well-formed strings");
    require(control.Width() >= 0 && control.Height() >= 0, "a control's size is never negative");
  }
  // The window still refreshes and draws. Qt's style draws a push button
  // through an image of the button's whole size, gigabytes for the largest
  // sizes a control takes, so only windows of drawable sizes are drawn.
  window.updateStatus();
  if (drawable(window)) (void)window.grab();

  if (std::hash<std::string_view>{}(bytes) % 16 == 0) {
    releaseFrameworkLists();
    session->window();
  } else {
    resetToLayout(window, target);
  }
  fuzzing::settle();
  return 0;
}
