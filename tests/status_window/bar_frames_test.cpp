// Each refresh path measures a bar against the width its own frame has at
// that moment, not the layout's 160 nor a neighbour's frame.
#include "status_window/refresh_fixture.h"

namespace ambrelux::testing {
namespace {

struct PathCase {
  const char* name;
  const char* command;
  std::string output;
  int capacityBar, currentBar, lifeBar;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class BarFramesTest : public RefreshTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(BarFramesTest, EachBarFollowsItsOwnFrame) {
  const PathCase& c = GetParam();
  fake.setOutput(c.command, c.output);
  window();
  // Three widths unlike the layout's and unlike each other.
  control<Rectangle>("capacityBG").setWidth(120);
  control<Rectangle>("currentBG").setWidth(200);
  control<Rectangle>("lifeBG").setWidth(100);
  refresh();
  EXPECT_EQ(width("capacityBar"), c.capacityBar);
  EXPECT_EQ(width("currentBar"), c.currentBar);
  EXPECT_EQ(width("lifeBar"), c.lifeBar);
  expectDisplaySound(window());
}

const PathCase kPaths[] = {
    // 5200 of 5200 mAh, 2600 charged, 100 cycles; less 2 pixels.
    {"smart_battery", kSmartListing, readTestData("ioreg/smart-battery.txt"), 118, 98, 78},
    // 3000 of 4000 mAh, 2500 charged, 31 cycles; nothing subtracted.
    {"older_machine", kMacIOListing, readTestData("ioreg/macio-one-battery.txt"), 90, 166, 93},
    // 3948 of 4436 mAh, 38 cycles, no capacity bar; less 2 pixels.
    {"system_profiler", kProfilerReport, readTestData("profiler/power-report.txt"), 0, 175, 90},
};

INSTANTIATE_TEST_SUITE_P(Paths, BarFramesTest, ::testing::ValuesIn(kPaths),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::testing
