// The three refresh paths of the status window fed arbitrary tool output
// through the fake platform. Input: one byte choosing the path (its value
// modulo 3 is dataMethod; the next bit, the exit status the tool reports),
// then the tool's output. One headless window serves every input, put back
// as laid out before each, so each input starts from the same window.
#include <cstdint>
#include <string>
#include <vector>

#include "app/framework/controls.h"
#include "gui_session.h"
#include "status_window/layout_table.h"
#include "support/display_checks.h"

namespace {

using namespace ambrelux;
using fuzzing::require;

constexpr const char* kCommands[] = {"ioreg -w0 -c AppleSmartBattery", "ioreg -w0 -cAppleMacIODevice",
                                     "system_profiler SPPowerDataType"};

// The display checks the tests use (their value forms admit no "inf" or
// "nan"); the first problem stops the run.
void requireSound(const statusWindow& window) {
  const testing::Problems problems = testing::soundnessProblems(window);
  require(problems.empty(), problems.empty() ? "" : problems.front().c_str());
}

std::vector<int> frameWidths(const statusWindow& window) {
  std::vector<int> widths;
  for (const testing::BarInFrame& b : testing::kBars)
    widths.push_back(window.control<Rectangle>(b.frame)->Width());
  return widths;
}

fuzzing::WindowSession* session = nullptr;  // kept to the end of the run

// A refresh changes only texts, visibility and widths; they go back to the
// layout's, and the reader state is dropped.
void resetToLayout(statusWindow& window) {
  for (const ControlRow& row : statusWindowControls()) {
    RectControl& control = *window.controlByName(row.name);
    if (auto* label = dynamic_cast<StaticText*>(&control); label && label->Text() != row.text)
      label->setText(row.text);
    if (control.Visible() != row.visible) control.setVisible(row.visible);
    if (control.Width() != row.width) control.setWidth(row.width);
  }
  window.batInfo.reset();
  window.batteryWarningIssued = false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::startQt();
  session = new fuzzing::WindowSession;
  session->window();  // opens with nothing to read
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int method = data[0] % 3;
  const int status = (data[0] / 3) % 2;
  const std::string output(reinterpret_cast<const char*>(data) + 1, size - 1);

  statusWindow& window = session->window();
  resetToLayout(window);
  testing::FakePlatform& fake = session->fake;
  fake.commands.clear();
  fake.messages.clear();
  fake.setOutput(kCommands[method], output, status);
  window.dataMethod = method;

  const std::vector<int> frames = frameWidths(window);
  window.updateStatus();
  requireSound(window);
  require(frameWidths(window) == frames, "a refresh leaves the bar frames' widths alone");
  require(fake.messages.size() <= 1, "one refresh shows at most one message");
  require(window.batteryWarningIssued == !fake.messages.empty(),
          "the warning is armed exactly when the message was shown");
  for (const std::string& command : fake.commands)
    require(command == kCommands[method], "a refresh runs its own path's command only");

  // The same output again shows the same and no second message.
  const std::vector<testing::ControlState> first = testing::snapshot(window);
  window.updateStatus();
  requireSound(window);
  require(fake.messages.size() <= 1, "a run of failed refreshes shows the message once");
  require(testing::snapshot(window) == first, "the same output shows the same display");
  fuzzing::settle();
  return 0;
}
