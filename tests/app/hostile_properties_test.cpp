// Design-time properties that no layout holds, applied to real controls:
// each case here once hung or broke the program.
#include <gtest/gtest.h>

#include <QLabel>
#include <climits>
#include <ostream>
#include <string>

#include "app/framework/runtime.h"
#include "app/framework/window.h"

namespace ambrelux::testing {
namespace {

// Three labels, each nested in the one before.
class NestedLabels : public Window {
 public:
  NestedLabels() : Window("test.NestedLabels") {}

 protected:
  void CreateControls() override {
    std::string parent;
    for (const char* name : {"outer", "middle", "inner"}) {
      SetProperties(
          newControl<StaticText>(name),
          encodeProperties(
              {{"Left", 10}, {"Top", 10}, {"Width", 100}, {"Height", 20}, {"InitialParent", parent}}));
      parent = name;
    }
  }
};

struct Ring {
  const char* name;
  const char* control;
  const char* container;  // lies inside `control`, or is it
};

void PrintTo(const Ring& c, std::ostream* os) { *os << c.name; }

class ContainerRing : public ::testing::TestWithParam<Ring> {
 protected:
  void TearDown() override { releaseFrameworkLists(); }
};

// Qt walked the ring of parents until the stack overflowed.
TEST_P(ContainerRing, LeavesTheControlInTheWindow) {
  auto* window = new NestedLabels;
  window->construct();
  RectControl& control = *window->controlByName(GetParam().control);
  ASSERT_TRUE(
      SetProperties(control, encodeProperties({{"InitialParent", std::string(GetParam().container)}})));
  EXPECT_EQ(control.widget()->parentWidget(), window->content());
  window->control<StaticText>("inner")->setText("still drawn");
  EXPECT_FALSE(window->grab().isNull());
}

INSTANTIATE_TEST_SUITE_P(Cases, ContainerRing,
                         ::testing::Values(Ring{"Itself", "outer", "outer"},
                                           Ring{"ItsChild", "outer", "middle"},
                                           Ring{"ItsGrandchild", "outer", "inner"},
                                           Ring{"ItsChildFromTheMiddle", "middle", "inner"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ContainerRing, AnOrdinaryContainerStillNests) {
  auto* window = new NestedLabels;
  window->construct();
  RectControl& inner = *window->controlByName("inner");
  ASSERT_TRUE(SetProperties(inner, encodeProperties({{"InitialParent", std::string("outer")}})));
  EXPECT_EQ(inner.widget()->parentWidget(), window->controlByName("outer")->widget());
  releaseFrameworkLists();
}

struct Size {
  const char* name;
  std::int32_t points;
};

void PrintTo(const Size& c, std::ostream* os) { *os << c.name; }

class HugeTextSize : public ::testing::TestWithParam<Size> {};

// 3/4 of the size overflowed, and fitting the caption stepped down one
// pixel at a time from sizes no screen has.
TEST_P(HugeTextSize, IsHeldToAUsableFont) {
  auto* window = new NestedLabels;
  window->construct();
  auto& label = *window->control<StaticText>("inner");
  ASSERT_TRUE(SetProperties(label, encodeProperties({{"TextSize", GetParam().points},
                                                     {"Text", std::string("Battery Life Remaining")}})));
  EXPECT_GT(label.label()->font().pixelSize(), 0);
  EXPECT_LE(label.label()->font().pixelSize(), 1024);
  EXPECT_EQ(label.Text(), "Battery Life Remaining");
  releaseFrameworkLists();
}

INSTANTIATE_TEST_SUITE_P(Cases, HugeTextSize,
                         ::testing::Values(Size{"Largest", INT_MAX}, Size{"FirstToOverflow", INT_MAX / 3 + 1},
                                           Size{"JustPastTheCap", 1025}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::testing
