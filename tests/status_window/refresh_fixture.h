// Builders of the three tools' output from a few values, and a fixture that
// looks at the display the refresh paths write.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/window_fixture.h"

namespace ambrelux::testing {

using Entries = std::vector<std::pair<std::string, std::string>>;
using Texts = std::vector<std::pair<std::string, std::string>>;
using Widths = std::vector<std::pair<std::string, int>>;

// `entries` with `more` after them, a key already there given again.
inline Entries followedBy(Entries entries, const Entries& more) {
  entries.insert(entries.end(), more.begin(), more.end());
  return entries;
}

// "ioreg -w0 -c AppleSmartBattery": the battery's line, then its property
// block of `"Key" = value` lines, closed by the one nested dictionary that
// carries the compact `"Flags"=n` entry (left out when `flags` is empty).
inline std::string smartListing(const Entries& properties, std::optional<std::string> flags = std::nullopt) {
  std::string out =
      "+-o Root  <class IORegistryEntry, id 0x100000100, retain 12>\n"
      "  +-o AppleSmartBattery  <class AppleSmartBattery, id 0x1000002a0, registered, matched, active>\n"
      "      {\n";
  for (const auto& [key, value] : properties) out += "        \"" + key + "\" = " + value + "\n";
  out += "        \"LegacyBatteryInfo\" = {\"Amperage\"=0";
  if (flags) out += ",\"Flags\"=" + *flags;
  out += ",\"Capacity\"=0}\n      }\n    \n";
  return out;
}

inline std::string smartListing(const Entries& properties, int flags) {
  return smartListing(properties, std::to_string(flags));
}

// "ioreg -w0 -cAppleMacIODevice" with the given text as the value of
// "IOBatteryInfo"; `lineEnd` false ends the listing right after it.
inline std::string macioListingWithRecord(const std::string& record, bool lineEnd = true) {
  std::string out =
      "+-o Root  <class IORegistryEntry, id 0x100000100, retain 9>\n"
      "  +-o PowerBook3,4  <class IOPlatformExpertDevice, id 0x100000110, registered>\n"
      "    +-o mac-io@17  <class AppleMacIODevice, id 0x1000001c0, registered, matched, active>\n"
      "    | {\n"
      "    |   \"IOBatteryInfo\" = " +
      record;
  if (lineEnd) out += "\n    | }\n    | \n";
  return out;
}

// The same listing with one battery dictionary per element, `"Key"=value`
// entries, neighbours joined by "},{".
inline std::string macioListing(const std::vector<Entries>& batteries) {
  std::string record = "(";
  for (std::size_t b = 0; b < batteries.size(); ++b) {
    if (b > 0) record += ",";
    record += "{";
    for (std::size_t e = 0; e < batteries[b].size(); ++e) {
      if (e > 0) record += ",";
      record += "\"" + batteries[b][e].first + "\"=" + batteries[b][e].second;
    }
    record += "}";
  }
  return macioListingWithRecord(record + ")");
}

// "system_profiler SPPowerDataType": one indented `Label: value` line per
// entry; each label is given with its colon.
inline std::string profilerReport(const Entries& lines) {
  std::string out = "Power:\n\n    Battery Information:\n\n";
  for (const auto& [label, value] : lines) out += "      " + label + " " + value + "\n";
  return out + "\n";
}

class RefreshTest : public WindowTest {
 protected:
  std::vector<ControlState> snapshot() { return testing::snapshot(window()); }
  std::string flagsShown() { return testing::flagsShown(window()); }

  // Marks every field, bar and flag, so a later write (even of an empty
  // text) shows.
  void scribble() {
    for (const char* name : kValueFields) control<StaticText>(name).setText("scribbled");
    for (const BarInFrame& b : kBars) control<Canvas>(b.bar).setWidth(77);
    for (const char* name : kFlags) control<StaticText>(name).setVisible(true);
  }

  // The named fields and bars read as given on an otherwise sound display,
  // and the refresh reported no failure.
  void expectShown(const Texts& texts, const Widths& widths) {
    for (const auto& [name, expected] : texts) EXPECT_EQ(text(name), expected) << name;
    for (const auto& [name, expected] : widths) EXPECT_EQ(width(name), expected) << name;
    expectDisplaySound(window());
    EXPECT_FALSE(window().batteryWarningIssued);
    EXPECT_TRUE(fake.messages.empty());
  }

  // One refresh, as the timer's action makes it.
  void refresh() { window().updateStatus(); }
};

}  // namespace ambrelux::testing
