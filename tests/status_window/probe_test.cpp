// Opening the status window: the version line, the choice of data source,
// the dispatch of a refresh and the one window that all of it reaches.
#include <QApplication>
#include <climits>

#include "status_window/refresh_fixture.h"

namespace ambrelux::testing {
namespace {

class ProbeTest : public RefreshTest {};

struct ProbeCase {
  const char* name;
  std::optional<std::string> smart, macio;  // empty: the tool is missing
  int smartExitStatus;
  int dataMethod;
  std::vector<std::string> commands;  // every command run while opening
};

class ProbeChoiceTest : public ProbeTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeChoiceTest, SourceAndCommandsAtOpening) {
  const ProbeCase& c = GetParam();
  if (c.smart) fake.setOutput(kSmartListing, *c.smart, c.smartExitStatus);
  if (c.macio) fake.setOutput(kMacIOListing, *c.macio);
  fake.setOutput(kProfilerReport, readTestData("profiler/power-report.txt"));
  EXPECT_EQ(window().dataMethod, c.dataMethod);
  EXPECT_EQ(fake.commands, c.commands);
  // The probe's output is freed, not kept for the window's life; only the
  // older-machine refresh puts its own into `sh`.
  if (c.dataMethod != 1) {
    EXPECT_EQ(window().sh->Result().capacity(), std::string().capacity());
  }
}

const std::string kSmartSample = readTestData("ioreg/smart-battery.txt");
const std::string kMacioSample = readTestData("ioreg/macio-one-battery.txt");
const std::vector<std::string> kSmartRuns = {kSmartListing, kSmartListing};
const std::vector<std::string> kOlderRuns = {kSmartListing, kMacIOListing, kMacIOListing};
const std::vector<std::string> kProfilerRuns = {kSmartListing, kMacIOListing, kProfilerReport,
                                                kProfilerReport};

const ProbeCase kProbeCases[] = {
    {"smart_battery", kSmartSample, kMacioSample, 0, 0, kSmartRuns},
    // Only the search text counts, wherever it stands.
    {"design_capacity_anywhere", "no battery here, just DesignCapacity\n", std::nullopt, 0, 0, kSmartRuns},
    // The exit status is not consulted.
    {"design_capacity_from_a_failed_run", kSmartSample, std::nullopt, 1, 0, kSmartRuns},
    {"empty_smart_listing_then_battery_info", "", kMacioSample, 0, 1, kOlderRuns},
    {"battery_info_anywhere", "", "IOBatteryInfo", 0, 1, kOlderRuns},
    {"smart_marker_without_design_capacity",
     "+-o AppleSmartBattery  <class AppleSmartBattery>\n  {\n    \"Voltage\" = 12000\n  }\n", kMacioSample, 0,
     1, kOlderRuns},
    {"neither", "", readTestData("ioreg/macio-no-battery-info.txt"), 0, 2, kProfilerRuns},
    {"both_print_nothing", "", "", 0, 2, kProfilerRuns},
    {"both_tools_missing", std::nullopt, std::nullopt, 0, 2, kProfilerRuns},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProbeChoiceTest, ::testing::ValuesIn(kProbeCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProbeTest, VersionLine) {
  fake.setOutput(kSmartListing, kSmartSample);
  const std::string prefix = "Ambrelux " + App::instance()->ShortVersion();
  const std::string line = text("versionField");
  ASSERT_EQ(line.substr(0, prefix.size()), prefix);
  const std::string notice = line.substr(prefix.size());
  EXPECT_EQ(notice.substr(0, 2), ", ");
  EXPECT_GT(notice.size(), 2u);
}

// A window that notes what it sees when its first refresh runs.
class NotingWindow : public statusWindow {
 public:
  void updateStatus() override {
    ++refreshes;
    timerAtRefresh = App::instance()->updateTimer != nullptr;
    dataMethodAtRefresh = dataMethod;
    statusWindow::updateStatus();
  }
  int refreshes = 0;
  bool timerAtRefresh = true;
  std::int32_t dataMethodAtRefresh = -1;
};

TEST_F(ProbeTest, FirstRefreshRunsAfterTheProbeAndBeforeTheTimer) {
  fake.setOutput(kMacIOListing, kMacioSample);
  auto* noting = new NotingWindow;  // the framework frees it
  noting->construct();
  EXPECT_EQ(noting->refreshes, 1);
  EXPECT_EQ(noting->dataMethodAtRefresh, 1);
  EXPECT_FALSE(noting->timerAtRefresh);
  EXPECT_NE(App::instance()->updateTimer, nullptr);
}

// A window that notes each key its refreshes read through its own readers.
class KeyNotingWindow : public statusWindow {
 public:
  std::string parseLine(std::string_view block, std::string_view key) override {
    keys.emplace_back(key);
    return statusWindow::parseLine(block, key);
  }
  std::string parseOldLine(std::string_view line, std::string_view key) override {
    keys.emplace_back(key);
    return statusWindow::parseOldLine(line, key);
  }
  std::vector<std::string> keys;
};

struct OwnReaderCase {
  const char* name;
  const char* command;
  std::string listing;
  std::vector<std::string> keys;
};

class OwnReaderTest : public ProbeTest, public ::testing::WithParamInterface<OwnReaderCase> {};

TEST_P(OwnReaderTest, RegistryRefreshReadsEveryKeyThroughTheWindow) {
  fake.setOutput(GetParam().command, GetParam().listing);
  auto* noting = new KeyNotingWindow;  // the framework frees it
  noting->construct();
  EXPECT_EQ(noting->keys, GetParam().keys);
}

const OwnReaderCase kOwnReaderCases[] = {
    {"smart_battery",
     kSmartListing,
     kSmartSample,
     {"DesignCapacity", "MaxCapacity", "CurrentCapacity", "CycleCount", "Voltage", "Flags",
      "ExternalConnected", "IsCharging", "BatteryInstalled", "ExternalChargeCapable", "FullyCharged"}},
    {"older_machine",
     kMacIOListing,
     kMacioSample,
     {"Capacity", "Count", "Cycle Count", "Current", "Voltage", "Flags", "DesignCapacity", "MaxCapacity",
      "AbsoluteMaxCapacity"}},
};

INSTANTIATE_TEST_SUITE_P(Sources, OwnReaderTest, ::testing::ValuesIn(kOwnReaderCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProbeTest, NewWindowStartsWithItsInitialValues) {
  statusWindow fresh;
  EXPECT_EQ(fresh.dataMethod, 0);
  EXPECT_FALSE(fresh.batteryWarningIssued);
  EXPECT_EQ(fresh.sh, nullptr);
  EXPECT_EQ(fresh.batInfo, nullptr);
  EXPECT_TRUE(fake.commands.empty());
}

TEST_F(ProbeTest, OneWindowExistsAfterOpeningAndShowsItsFirstRefresh) {
  fake.setOutput(kSmartListing, kSmartSample);
  statusWindow* first = statusWindow::instance();
  EXPECT_EQ(statusWindow::instance(), first);
  EXPECT_EQ(GetImplicitWindow(statusWindow::kClassName), first);
  int windows = 0;
  for (QWidget* widget : QApplication::topLevelWidgets())
    windows += dynamic_cast<statusWindow*>(widget) != nullptr;
  EXPECT_EQ(windows, 1);
  // A second call built nothing and ran nothing.
  EXPECT_EQ(fake.commands, kSmartRuns);
  // The refresh wrote into the controls the construction hooks made.
  EXPECT_EQ(first->control<StaticText>("capacityUnits")->Text(), "(5,200 mAh)");
  EXPECT_EQ(first->control<Canvas>("capacityBar")->Width(), 158);
}

// Values outside 0..2 leave the window exactly as it is.
class UnknownSourceTest : public ProbeTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(UnknownSourceTest, UpdateStatusChangesNothing) {
  fake.setOutput(kSmartListing, kSmartSample);
  window();
  // Marks the display, so that any write would show; every source now fails.
  scribble();
  fake.setOutput(kSmartListing, "");
  const auto before = snapshot();
  fake.commands.clear();
  window().dataMethod = GetParam();
  refresh();
  EXPECT_TRUE(fake.commands.empty());
  EXPECT_EQ(snapshot(), before);
  EXPECT_TRUE(fake.messages.empty());
  EXPECT_FALSE(window().batteryWarningIssued);
}

INSTANTIATE_TEST_SUITE_P(Values, UnknownSourceTest, ::testing::Values(3, -1, 7, INT32_MAX, INT32_MIN),
                         [](const auto& row) {
                           const std::int64_t value = row.param;
                           return (value < 0 ? "minus_" : "") + std::to_string(value < 0 ? -value : value);
                         });

}  // namespace
}  // namespace ambrelux::testing
