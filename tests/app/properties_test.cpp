#include "app/framework/properties.h"

#include <gtest/gtest.h>

#include "status_window/layout_table.h"

namespace ambrelux {
namespace {

TEST(PropertyStrings, WindowStringBeginsWithPlacementAndWidth) {
  const std::string expected("Placement \0\0\0\0Width \0\0\x01\xEC", 24);
  EXPECT_EQ(windowPropertyString().substr(0, 24), expected);
}

TEST(PropertyStrings, EveryTypeRoundTrips) {
  const std::vector<Property> properties{
      {"Left", std::int32_t{-2147483647 - 1}},
      {"Width", std::int32_t{492}},
      {"Visible", true},
      {"Italic", false},
      {"TextColor", rgb(0xCCCCCC)},
      {"Text", std::string("Battery Low Warn")},
      {"HelpTag", std::string()},
      // Counts are bytes: "é" and "µ" take two each.
      {"Caption", std::string("R\u00E9sum\u00E9 \u00B5Ah")},
  };
  const auto decoded = decodeProperties(encodeProperties(properties));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, properties);
}

TEST(PropertyStrings, StringCountIsInBytes) {
  const std::string encoded = encodeProperties({{"Text", std::string("\u00E9")}});
  EXPECT_EQ(encoded, std::string("Text \0\0\0\x02\xC3\xA9", 11));
}

TEST(PropertyStrings, EncodingRejectsUnknownNamesAndWrongTypes) {
  EXPECT_THROW(encodeProperties({{"Colour", rgb(0)}}), std::invalid_argument);
  EXPECT_THROW(encodeProperties({{"Width", true}}), std::invalid_argument);
}

struct Malformed {
  const char* name;
  std::string bytes;
};

class MalformedPropertyString : public ::testing::TestWithParam<Malformed> {};

// A damaged string must be refused whole, never read past its end.
TEST_P(MalformedPropertyString, IsRefused) { EXPECT_FALSE(decodeProperties(GetParam().bytes)); }

INSTANTIATE_TEST_SUITE_P(Cases, MalformedPropertyString,
                         ::testing::Values(Malformed{"NoBlank", "Width"},
                                           Malformed{"UnknownName", std::string("Depth \0\0\0\1", 10)},
                                           Malformed{"IntegerCutShort", std::string("Width \0\0\1", 9)},
                                           Malformed{"BooleanMissing", "Visible "},
                                           Malformed{"ColourCutShort", std::string("FillColor \x50\x50", 12)},
                                           Malformed{"StringLongerThanRest", std::string("Text \0\0\0\x09"
                                                                                         "abc",
                                                                                         12)},
                                           Malformed{"StringCountHuge", std::string("Text \xFF\xFF\xFF\xFF"
                                                                                    "abc",
                                                                                    12)},
                                           Malformed{"TrailingGarbage", std::string("Visible \1?", 10)}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(PropertyStrings, EmptyStringHasNoEntries) {
  const auto decoded = decodeProperties("");
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->empty());
}

// Every control's string decodes, names its control and carries the entry
// order of its kind.
TEST(PropertyStrings, EveryControlStringDecodesInItsKindsOrder) {
  const std::map<ControlKind, std::vector<std::string>> orders{
      {ControlKind::StaticText,
       {"Name",      "Index",          "Left",      "Top",          "Width",         "Height",
        "LockLeft",  "LockTop",        "LockRight", "LockBottom",   "TabPanelIndex", "TabIndex",
        "Text",      "TextAlign",      "TextColor", "Multiline",    "Enabled",       "Visible",
        "HelpTag",   "AutoDeactivate", "TextFont",  "TextSize",     "Bold",          "Italic",
        "Underline", "DataSource",     "DataField", "InitialParent"}},
      {ControlKind::Separator,
       {"Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop", "LockRight", "LockBottom",
        "TabPanelIndex", "TabIndex", "InitialParent", "Visible", "HelpTag", "AutoDeactivate", "Enabled"}},
      {ControlKind::Rectangle,
       {"Name",
        "Index",
        "Left",
        "Top",
        "Width",
        "Height",
        "LockLeft",
        "LockTop",
        "LockRight",
        "LockBottom",
        "TabPanelIndex",
        "Visible",
        "HelpTag",
        "AutoDeactivate",
        "Enabled",
        "FillColor",
        "BorderWidth",
        "TopLeftColor",
        "BottomRightColor",
        "InitialParent"}},
      {ControlKind::Canvas,
       {"Name",       "Index",           "Left",           "Top",        "Width",         "Height",
        "LockLeft",   "LockTop",         "LockRight",      "LockBottom", "TabPanelIndex", "TabIndex",
        "Visible",    "HelpTag",         "AutoDeactivate", "Enabled",    "UseFocusRing",  "AcceptFocus",
        "AcceptTabs", "EraseBackground", "InitialParent"}},
      {ControlKind::PushButton,
       {"Name",    "Index",     "Left",       "Top",           "Width",          "Height",   "LockLeft",
        "LockTop", "LockRight", "LockBottom", "TabPanelIndex", "TabIndex",       "Caption",  "Default",
        "Cancel",  "Enabled",   "Visible",    "HelpTag",       "AutoDeactivate", "TextFont", "TextSize",
        "Bold",    "Italic",    "Underline",  "InitialParent"}},
  };
  for (const ControlRow& row : statusWindowControls()) {
    SCOPED_TRACE(row.name);
    const auto decoded = decodeProperties(controlPropertyString(row));
    ASSERT_TRUE(decoded);
    const auto kind = row.kind == ControlKind::ChasingArrows ? ControlKind::Separator : row.kind;
    std::vector<std::string> names;
    for (const Property& p : *decoded) names.push_back(p.name);
    EXPECT_EQ(names, orders.at(kind));
    EXPECT_EQ(std::get<std::string>(decoded->front().value), row.name);
    EXPECT_EQ(std::get<std::int32_t>((*decoded)[1].value), std::int32_t{-2147483647 - 1});
  }
}

}  // namespace
}  // namespace ambrelux
