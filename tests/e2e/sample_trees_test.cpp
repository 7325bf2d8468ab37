// The window as it opens on the sample trees, every tool really run.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "end_to_end.h"

namespace ambrelux::testing {
namespace {

using ChargingLaptopTest = EndToEndTest;

struct TextCase {
  const char* control;
  const char* text;
};

struct WidthCase {
  const char* control;
  int width;
};

struct FlagCase {
  const char* control;
  bool shown;
};

// ac-charging: design 5200 mAh, full 4800, charge 2400, 100 cycles, 12 V,
// adapter online, charging. Bars: ratio x 160 - 2, the fraction dropped.
const TextCase kChargingTexts[] = {
    {"maxCapacityField", "100%"},  {"maxCapacityUnits", "(5,200 mAh)"},
    {"capacityField", "92%"},      {"capacityUnits", "(4,800 mAh)"},
    {"currentField", "50%"},       {"currentUnits", "(2,400 mAh)"},
    {"cyclesFieldPercent", "25%"}, {"cyclesField", "(100)"},
    {"voltageField", "12"},
};
const WidthCase kChargingBars[] = {{"capacityBar", 145}, {"currentBar", 78}, {"lifeBar", 126}};
const FlagCase kChargingFlags[] = {{"acFlag", true},
                                   {"chFlag", true},
                                   {"batFlag", true},
                                   {"upsFlag", false},
                                   {"lowFlag", false},
                                   {"emptyFlag", false},
                                   {"noChargeFlag", false},
                                   {"chargedFlag", false},
                                   // The smart-battery source keeps the design row and the capacity bar.
                                   {"capacityBG", true},
                                   {"capacityBarLabel", true},
                                   {"originalCapacityLabel", true}};

TEST_F(ChargingLaptopTest, FirstRefreshShowsEveryReading) {
  useTree(sampleTree("ac-charging"));
  window();

  EXPECT_EQ(window().dataMethod, 0);
  for (const TextCase& c : kChargingTexts) EXPECT_EQ(text(c.control), c.text) << c.control;
  for (const WidthCase& c : kChargingBars) EXPECT_EQ(width(c.control), c.width) << c.control;
  for (const FlagCase& c : kChargingFlags) EXPECT_EQ(visible(c.control), c.shown) << c.control;
  expectDisplaySound(window());
  EXPECT_FALSE(window().batteryWarningIssued);
  EXPECT_TRUE(real.messages.empty());
  // The probe and the first refresh; nothing else was run.
  EXPECT_EQ(real.commands, std::vector<std::string>(2, kSmartListing));
}

using NoBatteryTest = EndToEndTest;

// A desktop's mains adapter keeps an empty bay in the older machines'
// listing, so that source is chosen and reads no capacity.
TEST_F(NoBatteryTest, FailureMessageShowsOnceOverTwoRefreshes) {
  useTree(sampleTree("ac-only"));
  window();
  EXPECT_EQ(window().dataMethod, 1);
  EXPECT_EQ(real.messages, std::vector<std::string>{"Unable to read battery status data."});
  expectDisplayCleared(window());
  EXPECT_TRUE(window().batteryWarningIssued);

  window().updateStatus();
  EXPECT_EQ(real.messages.size(), 1u);
  expectDisplayCleared(window());
  // The probe's two listings, then one per refresh.
  EXPECT_EQ(real.commands,
            (std::vector<std::string>{kSmartListing, kMacIOListing, kMacIOListing, kMacIOListing}));
}

// Every sample tree opens to a sound display from whichever source the probe
// picks, and with the failure message only when the display is cleared.
class EverySampleTreeTest : public EndToEndTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EverySampleTreeTest, OpensToASoundDisplay) {
  useTree(sampleTree(GetParam()));
  window();
  expectDisplaySound(window());
  EXPECT_EQ(real.messages.size(), window().batteryWarningIssued ? 1u : 0u);
  window().updateStatus();
  expectDisplaySound(window());
  EXPECT_LE(real.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Trees, EverySampleTreeTest,
                         ::testing::Values("ac-charging", "energy-discharging", "two-batteries", "peripheral",
                                           "ac-only", "full", "ups", "dead-battery", "garbage"),
                         [](const auto& row) {
                           std::string name = row.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// One tree through each of the three sources: the figures each source
// carries agree with the others and with the tree.
struct AgreementCase {
  const char* tree;
  const char* design;   // "(design mAh)" on the two registry sources
  const char* full;     // full-charge capacity, as formatStr writes it
  const char* charge;   // "(charge mAh)"
  const char* percent;  // charge / full
  const char* voltage;  // volts
};

const AgreementCase kAgreement[] = {
    {"ac-charging", "(5,200 mAh)", "4,800", "(2,400 mAh)", "50%", "12"},
    {"energy-discharging", "(5,000 mAh)", "4,500", "(2,000 mAh)", "44%", "11.8"},
    {"two-batteries", "(2,000 mAh)", "1,900", "(1,000 mAh)", "53%", "11.1"},
    {"peripheral", "(4,382 mAh)", "4,100", "(3,280 mAh)", "80%", "12.7"},
    {"full", "(6,000 mAh)", "5,500", "(5,500 mAh)", "100%", "12.9"},
    {"ups", "(4,000 mAh)", "3,800", "(380 mAh)", "10%", "10.9"},
    {"dead-battery", "(4,400 mAh)", "600", "(0 mAh)", "0%", "9"},
};

void PrintTo(const AgreementCase& c, std::ostream* os) { *os << c.tree; }

class ThreeSourcesTest : public EndToEndTest, public ::testing::WithParamInterface<AgreementCase> {};

struct Source {
  const char* name;
  std::int32_t dataMethod;
  bool carriesDesign;
  const char* capacityForm;  // how capacityUnits wraps the full-charge figure
};

const Source kSources[] = {
    {"smart battery", 0, true, "(%s mAh)"},
    {"older machines", 1, true, "(%s mAh)"},
    {"system profiler", 2, false, "%s mAh"},
};

std::string wrapped(const char* form, const std::string& figure) {
  std::string out = form;
  out.replace(out.find("%s"), 2, figure);
  return out;
}

TEST_P(ThreeSourcesTest, EachSourceShowsTheSameFigures) {
  const AgreementCase& c = GetParam();
  useTree(sampleTree(c.tree));
  for (const Source& s : kSources) {
    SCOPED_TRACE(s.name);
    refreshFrom(s.dataMethod);
    EXPECT_EQ(text("maxCapacityUnits"), s.carriesDesign ? c.design : "");
    EXPECT_EQ(text("capacityUnits"), wrapped(s.capacityForm, c.full));
    EXPECT_EQ(text("currentUnits"), c.charge);
    EXPECT_EQ(text("currentField"), c.percent);
    EXPECT_EQ(text("voltageField"), c.voltage);
    expectDisplaySound(window());
  }
  EXPECT_TRUE(real.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Trees, ThreeSourcesTest, ::testing::ValuesIn(kAgreement), [](const auto& row) {
  std::string name = row.param.tree;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

}  // namespace
}  // namespace ambrelux::testing
