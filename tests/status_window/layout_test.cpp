// The status window as laid out, before any refresh has written to it.
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <map>

#include "app/framework/runtime.h"
#include "status_window/layout_table.h"
#include "support/window_fixture.h"

namespace ambrelux::testing {
namespace {

// Stops after construction, so the design-time state can be seen; counts
// presses of the Quit button instead of quitting.
class LaidOutWindow : public statusWindow {
 public:
  int quitPresses = 0;
  void PushButton1_Action() override { ++quitPresses; }

 protected:
  void Event_Open() override {}
};

class LayoutTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    laidOut = new LaidOutWindow;
    laidOut->construct();
  }
  LaidOutWindow* laidOut = nullptr;
};

TEST_F(LayoutTest, TheFiftyFourControlsExistUnderTheirNamesAndKinds) {
  std::map<std::string, int> kinds;
  for (const auto& control : window().controls()) {
    if (dynamic_cast<StaticText*>(control.get())) ++kinds["StaticText"];
    else if (dynamic_cast<Separator*>(control.get())) ++kinds["Separator"];
    else if (dynamic_cast<Rectangle*>(control.get())) ++kinds["Rectangle"];
    else if (dynamic_cast<Canvas*>(control.get())) ++kinds["Canvas"];
    else if (dynamic_cast<ChasingArrows*>(control.get())) ++kinds["ChasingArrows"];
    else if (dynamic_cast<PushButton*>(control.get())) ++kinds["PushButton"];
  }
  EXPECT_EQ(window().controls().size(), 54u);
  EXPECT_EQ(kinds, (std::map<std::string, int>{{"StaticText", 39},
                                               {"Separator", 6},
                                               {"Rectangle", 3},
                                               {"Canvas", 3},
                                               {"ChasingArrows", 1},
                                               {"PushButton", 2}}));
  for (const ControlRow& row : statusWindowControls()) {
    SCOPED_TRACE(row.name);
    RectControl* control = window().controlByName(row.name);
    ASSERT_NE(control, nullptr);
    // Tests and code find controls the same way.
    EXPECT_EQ(window().findChild<QWidget*>(row.name), control->widget());
  }
}

TEST_F(LayoutTest, WindowIsFixedAtItsContentSizeWithTitle) {
  EXPECT_EQ(window().windowTitle(), "Ambrelux");
  EXPECT_EQ(window().content()->size(), QSize(492, 288));
  EXPECT_EQ(window().minimumSize(), window().maximumSize());
  EXPECT_FALSE(window().windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window().windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(window().windowFlags() & Qt::WindowCloseButtonHint);
}

struct FlagCell {
  const char* grey;
  const char* overlay;
  const char* offTag;
  const char* onTag;
  bool shownAtStart;
};

TEST_F(LayoutTest, FlagCellsCarryTheirHelpTagsAndStartingState) {
  const FlagCell cells[] = {
      {"StaticText16", "acFlag", "A/C power is not currently available.",
       "The computer is plugged into a power outlet.", true},
      {"StaticText7", "batFlag", "There are no batteries installed.",
       "One or more batteries are installed in the computer.", true},
      {"StaticText2", "chFlag", "The batteries are not being charged.",
       "One or more batteries are currently being charged.", true},
      {"StaticText15", "chargedFlag", "The battery is not signalling a low power condition.",
       "The battery is charged.", false},
      {"StaticText11", "upsFlag", "No Uninterruptable Power Supply is being sensed.",
       "An Uninterruptable Power Supply is attached to the computer.", true},
      {"StaticText12", "lowFlag", "The batteries are charged.",
       "The battery's remaining power has dropped below the warning level.", true},
      {"StaticText13", "emptyFlag", "The batteries are not empty.",
       "The battery is completely depleted of power.", true},
      {"StaticText14", "noChargeFlag", "The batteries installed can be charged.",
       "There are no chargeable batteries available.", true},
  };
  for (const FlagCell& cell : cells) {
    SCOPED_TRACE(cell.overlay);
    auto& grey = control<StaticText>(cell.grey);
    auto& overlay = control<StaticText>(cell.overlay);
    EXPECT_EQ(grey.widget()->toolTip().toStdString(), cell.offTag);
    EXPECT_EQ(overlay.widget()->toolTip().toStdString(), cell.onTag);
    // A screen reader reads the caption and the help tag.
    EXPECT_EQ(overlay.widget()->accessibleDescription().toStdString(), cell.onTag);
    EXPECT_EQ(overlay.Visible(), cell.shownAtStart);
  }
}

// What no refresh has written yet; the reference pictures show the rest.
TEST_F(LayoutTest, ValueFieldsStartEmptyAndBarsAtTheirDesignLength) {
  for (const char* field :
       {"maxCapacityField", "maxCapacityUnits", "capacityField", "capacityUnits", "currentField",
        "currentUnits", "cyclesFieldPercent", "cyclesField", "voltageField"})
    EXPECT_EQ(text(field), "") << field;
  for (const char* bar : {"capacityBar", "currentBar", "lifeBar"}) EXPECT_EQ(width(bar), 137) << bar;
}

TEST_F(LayoutTest, QuitComesFirstInTheKeyboardOrderAndBarsTakeNoFocus) {
  QWidget* next = control<PushButton>("PushButton1").widget()->nextInFocusChain();
  while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  EXPECT_EQ(next, control<PushButton>("PushButton2").widget());
  EXPECT_EQ(control<Canvas>("lifeBar").widget()->focusPolicy(), Qt::NoFocus);
}

TEST_F(LayoutTest, ReturnPushesTheDefaultButton) {
  laidOut->activateWindow();
  QApplication::processEvents();
  ASSERT_TRUE(QTest::qWaitForWindowActive(laidOut));
  QTest::keyClick(laidOut, Qt::Key_Return);
  QTest::keyClick(laidOut, Qt::Key_Enter);
  EXPECT_EQ(laidOut->quitPresses, 2);
}

TEST_F(LayoutTest, TheOneStatusWindowIsFoundAgainAndBuildsNothingMore) {
  EXPECT_EQ(statusWindow::instance(), laidOut);
  EXPECT_EQ(statusWindow::instance(), laidOut);
  EXPECT_TRUE(fake.commands.empty());
  EXPECT_EQ(GetImplicitWindow(statusWindow::kClassName), laidOut);
}

TEST_F(LayoutTest, PropertiesStartAtTheirInitialValues) {
  EXPECT_EQ(laidOut->dataMethod, 0);
  EXPECT_FALSE(laidOut->batteryWarningIssued);
  EXPECT_EQ(laidOut->sh, nullptr);
  EXPECT_EQ(laidOut->batInfo, nullptr);
}

TEST_F(LayoutTest, MenuBarIsTheSharedOneWithItsItems) {
  EXPECT_EQ(window().MenuBar(), MenuBar1::instance().get());
  EXPECT_EQ(window().FileQuit(), MenuBar1::instance()->Lookup("FileQuit"));
  EXPECT_NE(dynamic_cast<QuitMenuItem*>(window().FileQuit()), nullptr);
  EXPECT_EQ(window().UntitledMenu1(), nullptr);
  EXPECT_EQ(window().UntitledMenu0()->Text, "-");
  EXPECT_EQ(window().EditCut()->Text, "Cu&t");
  QMenuBar* bar = window().menuBar();
  ASSERT_EQ(bar->actions().size(), 2);
  EXPECT_EQ(bar->actions()[0]->text(), "&File");
  EXPECT_EQ(bar->actions()[1]->text(), "&Edit");
  auto* quit = bar->findChild<QAction*>("FileQuit");
  ASSERT_NE(quit, nullptr);
  EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
}

// Whatever the machine's font: the flag panel's captions share the largest
// size at which all of them fit, and no caption is wider than its control.
TEST_F(LayoutTest, FlagCaptionsShareTheLargestSizeAtWhichAllFit) {
  const auto overflows = [](const QLabel* label, int pixelSize) {
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    return QFontMetrics(font).horizontalAdvance(label->text()) > label->width();
  };
  const auto flags = statusWindowControls().first(kFlagCellControls);
  const int shared = control<StaticText>(flags.front().name).label()->font().pixelSize();
  bool largerOverflows = false;
  for (const ControlRow& row : flags) {
    const QLabel* label = control<StaticText>(row.name).label();
    EXPECT_EQ(label->font().pixelSize(), shared) << row.name;
    largerOverflows = largerOverflows || overflows(label, shared + 1);
  }
  EXPECT_TRUE(largerOverflows || shared == flags.front().textSize) << shared << " px";
  for (const ControlRow& row : statusWindowControls())
    if (row.kind == ControlKind::StaticText) {
      const QLabel* label = control<StaticText>(row.name).label();
      EXPECT_FALSE(overflows(label, label->font().pixelSize())) << row.name;
    }
}

}  // namespace
}  // namespace ambrelux::testing
