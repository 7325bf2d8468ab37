// What a refresh may leave in the window whatever a tool printed: value
// fields in the forms the refresh paths write (numbers they computed, never
// the tool's own text), bars within their frames, or the cleared display of
// the failure course.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "status_window/status_window.h"

namespace ambrelux::testing {

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

inline std::string fieldText(statusWindow& w, const char* name) {
  return requireObject(w.control<StaticText>(name), name)->Text();
}

// Every bar from 0 to its frame's width, and Qt draws it at that width,
// inside its frame's widget (which clips it).
inline void expectBarsWithinFrames(statusWindow& w) {
  for (const BarInFrame& b : kBars) {
    const Canvas& bar = *requireObject(w.control<Canvas>(b.bar), b.bar);
    const Rectangle& frame = *requireObject(w.control<Rectangle>(b.frame), b.frame);
    EXPECT_GE(bar.Width(), 0) << b.bar;
    EXPECT_LE(bar.Width(), frame.Width()) << b.bar;
    EXPECT_EQ(bar.widget()->width(), bar.Width()) << b.bar;
    EXPECT_EQ(bar.widget()->parentWidget(), frame.widget()) << b.bar;
  }
}

// The value fields hold only the refresh paths' own forms: a number with at
// most one thousands separator, a percentage, fixed words, or nothing.
inline void expectFieldsWellFormed(statusWindow& w) {
  const std::string number = R"(-?\d+(,\d{3})?(\.\d+)?)";
  const std::string percent = "(-?\\d+|-?inf|nan)%";
  const std::string mah = number + " mAh";
  struct Form {
    const char* field;
    std::string pattern;
  };
  const Form forms[] = {
      {"maxCapacityField", "(100%)?"},
      {"maxCapacityUnits", "(\\(" + mah + "\\))?"},
      {"capacityField", "(" + percent + ")?"},
      {"capacityUnits", "(\\(" + mah + "\\)| ?" + mah + ")?"},
      {"currentField", "(" + percent + ")?"},
      {"currentUnits", "(\\(" + mah + "\\))?"},
      {"cyclesFieldPercent", "(" + percent + "|Not)?"},
      {"cyclesField", "(\\(-?\\d+\\)|available)?"},
      {"voltageField", "(" + number + ")?"},
  };
  for (const Form& f : forms) {
    const std::string shown = fieldText(w, f.field);
    EXPECT_TRUE(std::regex_match(shown, std::regex(f.pattern))) << f.field << " shows \"" << shown << "\"";
  }
}

inline void expectDisplaySound(statusWindow& w) {
  expectBarsWithinFrames(w);
  expectFieldsWellFormed(w);
}

// The failure course's display: every value field empty, the bars at 0 and
// every flag off.
inline void expectDisplayCleared(statusWindow& w) {
  for (const char* field : kValueFields) EXPECT_EQ(fieldText(w, field), "") << field;
  for (const BarInFrame& b : kBars)
    EXPECT_EQ(requireObject(w.control<Canvas>(b.bar), b.bar)->Width(), 0) << b.bar;
  for (const char* flag : kFlags)
    EXPECT_FALSE(requireObject(w.control<StaticText>(flag), flag)->Visible()) << flag;
}

// After a refresh of hostile input: with nothing expected, the failure
// course and its one message; else exactly the expected fields and no
// message. Either way a sound display that never shows `never`, a number
// the refresh did not read.
inline void expectShownOrFailure(statusWindow& w, const std::vector<std::string>& messages,
                                 const std::map<std::string, std::string>& shown, const char* never) {
  if (shown.empty()) {
    EXPECT_EQ(messages.size(), 1u);
    expectDisplayCleared(w);
  } else {
    EXPECT_TRUE(messages.empty());
    for (const auto& [field, expected] : shown) EXPECT_EQ(fieldText(w, field.c_str()), expected) << field;
  }
  expectDisplaySound(w);
  if (!never) return;
  for (const char* field : kValueFields)
    EXPECT_EQ(fieldText(w, field).find(never), std::string::npos) << field;
}

}  // namespace ambrelux::testing
