// The refresh timer the window starts, and the window's two buttons.
#include <utility>

#include "app/update_timer.h"
#include "status_window/refresh_fixture.h"

namespace ambrelux::testing {
namespace {

class ButtonsTimerTest : public RefreshTest {
 protected:
  void SetUp() override {
    RefreshTest::SetUp();
    fake.setOutput(kSmartListing, readTestData("ioreg/smart-battery.txt"));
  }

  Timer& timer() {
    Timer* t = App::instance()->updateTimer.get();
    if (!t) throw std::runtime_error("no refresh timer");
    return *t;
  }

  // Changes what the next refresh reads, so that it shows.
  void chargeBecomes(const std::string& current) {
    fake.setOutput(kSmartListing, smartListing({{"DesignCapacity", "5200"},
                                                {"MaxCapacity", "5200"},
                                                {"CurrentCapacity", current},
                                                {"CycleCount", "100"}},
                                               16));
  }
};

TEST_F(ButtonsTimerTest, OpeningStartsARepeatingCoarseTimerOf15Seconds) {
  window();
  ASSERT_NE(App::instance()->updateTimer, nullptr);
  EXPECT_NE(dynamic_cast<updateTimerClass*>(&timer()), nullptr);
  EXPECT_TRUE(timer().Enabled());
  EXPECT_EQ(timer().Mode(), 2);
  EXPECT_EQ(timer().Period(), 15000);
  // Until the first firing the display shows the first refresh.
  EXPECT_EQ(text("currentField"), "50%");
}

TEST_F(ButtonsTimerTest, EachFiringRefreshesOnce) {
  window();
  chargeBecomes("1300");
  const std::size_t before = fake.commands.size();
  timer().CallAction();
  ASSERT_EQ(fake.commands.size(), before + 1);
  EXPECT_EQ(fake.commands.back(), kSmartListing);
  EXPECT_EQ(text("currentField"), "25%");
  timer().CallAction();
  EXPECT_EQ(fake.commands.size(), before + 2);
}

TEST_F(ButtonsTimerTest, QuitButtonStopsTheTimer) {
  window();
  const std::size_t before = fake.commands.size();
  control<PushButton>("PushButton1").push();
  EXPECT_FALSE(timer().Enabled());
  EXPECT_FALSE(timer().qtTimer().isActive());
  EXPECT_EQ(fake.commands.size(), before);
  // It neither closes the window nor drops the timer.
  EXPECT_EQ(GetImplicitWindow(statusWindow::kClassName), &window());
  EXPECT_NE(App::instance()->updateTimer, nullptr);
}

TEST_F(ButtonsTimerTest, WebButtonOpensThePageAndChangesNothingElse) {
  window();
  EXPECT_EQ(control<PushButton>("PushButton2").Caption(), "<https://www.ambrelux.example/>");
  const auto before = snapshot();
  const std::size_t commands = fake.commands.size();
  control<PushButton>("PushButton2").push();
  EXPECT_EQ(fake.urls, std::vector<std::string>{"https://www.ambrelux.example/"});
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(fake.commands.size(), commands);
  EXPECT_TRUE(fake.messages.empty());
  EXPECT_TRUE(timer().Enabled());
  // Each click hands the address over again.
  control<PushButton>("PushButton2").push();
  EXPECT_EQ(fake.urls.size(), 2u);
}

// The window was closed but the application has not quit yet.
TEST_F(ButtonsTimerTest, FiringWithNoWindowOpenBuildsANewOne) {
  window().close();
  ASSERT_EQ(GetImplicitWindow(statusWindow::kClassName), nullptr);
  fake.commands.clear();
  chargeBecomes("1300");
  timer().CallAction();
  // The new window's probe and first refresh, then the firing's refresh.
  EXPECT_EQ(fake.commands, (std::vector<std::string>{kSmartListing, kSmartListing, kSmartListing}));
  statusWindow* reopened = dynamic_cast<statusWindow*>(GetImplicitWindow(statusWindow::kClassName));
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->dataMethod, 0);
  EXPECT_EQ(reopened->control<StaticText>("currentField")->Text(), "25%");
  // The new window started a timer of its own.
  EXPECT_TRUE(timer().Enabled());
  EXPECT_EQ(timer().Period(), 15000);
}

TEST_F(ButtonsTimerTest, FiringWhileTheMessageShowsIsDropped) {
  window();
  fake.setOutput(kSmartListing, "");
  const int runs = fake.runs(kSmartListing);
  bool fired = false;
  fake.whileMessageShows = [&] {
    if (!std::exchange(fired, true)) timer().CallAction();
  };
  timer().CallAction();
  ASSERT_TRUE(fired);
  EXPECT_EQ(fake.runs(kSmartListing) - runs, 1);
  EXPECT_EQ(fake.messages.size(), 1u);
  EXPECT_TRUE(window().batteryWarningIssued);
}

}  // namespace
}  // namespace ambrelux::testing
