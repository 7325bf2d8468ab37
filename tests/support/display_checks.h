// What a refresh may leave in the window, as lists of what is wrong, so the
// tests and the refresh fuzzer judge a display by the same rules: value
// fields in the forms the refresh paths write, bars within the current width
// of their own frames, or the cleared display of the failure course.
#pragma once

#include <QWidget>
#include <iterator>
#include <map>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "status_window/status_window.h"

namespace ambrelux::testing {

// Each entry names a control and what is wrong with it; empty when sound.
using Problems = std::vector<std::string>;

inline void append(Problems& to, Problems more) {
  to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

inline const char* const kValueFields[] = {"maxCapacityField",   "maxCapacityUnits", "capacityField",
                                           "capacityUnits",      "currentField",     "currentUnits",
                                           "cyclesFieldPercent", "cyclesField",      "voltageField"};

inline const char* const kFlags[] = {"acFlag",  "chFlag",    "batFlag",      "upsFlag",
                                     "lowFlag", "emptyFlag", "noChargeFlag", "chargedFlag"};

struct BarInFrame {
  const char* bar;
  const char* frame;
};
inline const BarInFrame kBars[] = {
    {"capacityBar", "capacityBG"}, {"currentBar", "currentBG"}, {"lifeBar", "lifeBG"}};

template <typename T>
const T& shownControl(const statusWindow& w, const std::string& name) {
  return *requireObject(w.control<T>(name), "no such control");
}

inline std::string fieldText(const statusWindow& w, const std::string& name) {
  return shownControl<StaticText>(w, name).Text();
}

// The flag overlays shown, in a fixed order, space-separated.
inline std::string flagsShown(const statusWindow& w) {
  std::string shown;
  for (const char* flag : kFlags) {
    if (!shownControl<StaticText>(w, flag).Visible()) continue;
    if (!shown.empty()) shown += ' ';
    shown += flag;
  }
  return shown;
}

// What a refresh can change of one control.
struct ControlState {
  std::string name;
  std::string text;  // labels only
  int width = 0;
  bool visible = false;
  bool operator==(const ControlState&) const = default;
};

inline void PrintTo(const ControlState& s, std::ostream* os) {
  *os << s.name << "{text=\"" << s.text << "\", width=" << s.width << ", visible=" << s.visible << "}";
}

inline std::vector<ControlState> snapshot(const statusWindow& w) {
  std::vector<ControlState> states;
  for (const auto& c : w.controls()) {
    const auto* label = dynamic_cast<const StaticText*>(c.get());
    states.push_back({c->Name(), label ? label->Text() : "", c->Width(), c->Visible()});
  }
  return states;
}

// Every bar from 0 to the width its own frame has now, and Qt draws it at
// that width inside its frame's widget (which clips it).
inline Problems barProblems(const statusWindow& w) {
  Problems problems;
  for (const BarInFrame& b : kBars) {
    const Canvas& bar = shownControl<Canvas>(w, b.bar);
    const Rectangle& frame = shownControl<Rectangle>(w, b.frame);
    const std::string at = std::string(b.bar) + " width " + std::to_string(bar.Width());
    if (bar.Width() < 0 || bar.Width() > frame.Width())
      problems.push_back(at + " outside its frame " + b.frame + " of " + std::to_string(frame.Width()));
    if (bar.widget()->width() != bar.Width())
      problems.push_back(at + " drawn " + std::to_string(bar.widget()->width()) + " wide");
    if (bar.widget()->parentWidget() != frame.widget()) problems.push_back(at + " not inside " + b.frame);
  }
  return problems;
}

// The value fields hold only the refresh paths' own forms: a number with at
// most one thousands separator, a percentage, fixed words, or nothing.
inline Problems fieldProblems(const statusWindow& w) {
  static const std::string number = R"(-?\d+(,\d{3})?(\.\d+)?)";
  static const std::string percent = "-?\\d+%";
  static const std::string mah = number + " mAh";
  static const std::map<std::string, std::regex> forms = {
      {"maxCapacityField", std::regex("(100%)?")},
      {"maxCapacityUnits", std::regex("(\\(" + mah + "\\))?")},
      {"capacityField", std::regex("(" + percent + ")?")},
      {"capacityUnits", std::regex("(\\(" + mah + "\\)| ?" + mah + ")?")},
      {"currentField", std::regex("(" + percent + ")?")},
      {"currentUnits", std::regex("(\\(" + mah + "\\))?")},
      {"cyclesFieldPercent", std::regex("(" + percent + "|Not)?")},
      {"cyclesField", std::regex("(\\(-?\\d+\\)|available)?")},
      {"voltageField", std::regex("(" + number + ")?")},
  };
  Problems problems;
  for (const auto& [field, form] : forms) {
    const std::string shown = fieldText(w, field);
    if (!std::regex_match(shown, form)) problems.push_back(field + " shows \"" + shown + "\"");
  }
  return problems;
}

inline Problems soundnessProblems(const statusWindow& w) {
  Problems problems = barProblems(w);
  append(problems, fieldProblems(w));
  return problems;
}

// The failure course's display: every value field empty, the bars at 0 and
// every flag off.
inline Problems clearingProblems(const statusWindow& w) {
  Problems problems;
  for (const char* field : kValueFields)
    if (!fieldText(w, field).empty()) problems.push_back(std::string(field) + " not empty");
  for (const BarInFrame& b : kBars)
    if (shownControl<Canvas>(w, b.bar).Width() != 0) problems.push_back(std::string(b.bar) + " not empty");
  if (const std::string shown = flagsShown(w); !shown.empty()) problems.push_back("flags shown: " + shown);
  return problems;
}

// Value fields showing `never`, a number the refresh did not read (none
// when `never` is nil).
inline Problems unreadProblems(const statusWindow& w, const char* never) {
  Problems problems;
  if (!never) return problems;
  for (const char* field : kValueFields)
    if (fieldText(w, field).find(never) != std::string::npos)
      problems.push_back(std::string(field) + " shows " + never);
  return problems;
}

// After a refresh of hostile input: with nothing expected, the failure
// course and its one message; else exactly the expected fields and no
// message. Either way a sound display that never shows `never`.
inline Problems shownOrFailureProblems(const statusWindow& w, const std::vector<std::string>& messages,
                                       const std::map<std::string, std::string>& shown, const char* never) {
  Problems problems = soundnessProblems(w);
  if (shown.empty()) {
    if (messages.size() != 1) problems.push_back(std::to_string(messages.size()) + " messages, not 1");
    append(problems, clearingProblems(w));
  } else {
    if (!messages.empty()) problems.push_back("a message shown");
    for (const auto& [field, expected] : shown)
      if (fieldText(w, field) != expected)
        problems.push_back(field + " shows \"" + fieldText(w, field) + "\", not \"" + expected + "\"");
  }
  append(problems, unreadProblems(w, never));
  return problems;
}

}  // namespace ambrelux::testing
