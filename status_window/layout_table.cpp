#include "status_window/layout_table.h"

#include <array>
#include <vector>

#include "app/framework/properties.h"
#include "status_window/bar_pictures.h"

namespace ambrelux {

namespace {

using K = ControlKind;
constexpr std::uint32_t kGrey = 0xCCCCCC, kBlack = 0x000000, kWhite = 0xFFFFFF;

// The web button's caption: the address in angle brackets.
const std::string& webCaption() {
  static const std::string caption = "<" + std::string(kWebAddress) + ">";
  return caption;
}

// The table is laid out in columns for reading; keep it so.
// clang-format off
const std::array<ControlRow, 54> kControls{{
    // Flag cells: a grey label, always visible, whose help tag tells the
    // "off" state, and nested in it a black overlay, the flag itself,
    // whose help tag tells the "on" state.
    // kind          name                 left top  w    h   text                 align        colour  size italic visible inside       tab  help tag
    {K::StaticText, "StaticText2", 252, 19, 100, 20, "Battery Charging", AlignCentre, kGrey, 12, false, true, "", 0,
     "The batteries are not being charged."},
    {K::StaticText, "chFlag", 252, 19, 100, 20, "Battery Charging", AlignCentre, kBlack, 12, false, true, "StaticText2", 0,
     "One or more batteries are currently being charged."},
    {K::StaticText, "StaticText7", 138, 19, 100, 20, "Battery Installed", AlignCentre, kGrey, 12, false, true, "", 1,
     "There are no batteries installed."},
    {K::StaticText, "batFlag", 138, 19, 100, 20, "Battery Installed", AlignCentre, kBlack, 12, false, true, "StaticText7", 0,
     "One or more batteries are installed in the computer."},
    {K::StaticText, "StaticText11", 26, 42, 100, 20, "UPS Installed", AlignCentre, kGrey, 12, false, true, "", 2,
     "No Uninterruptable Power Supply is being sensed."},
    {K::StaticText, "upsFlag", 26, 42, 100, 20, "UPS Installed", AlignCentre, kBlack, 12, false, true, "StaticText11", 0,
     "An Uninterruptable Power Supply is attached to the computer."},
    {K::StaticText, "StaticText12", 138, 42, 100, 20, "Battery Low Warn", AlignCentre, kGrey, 12, false, true, "", 3,
     "The batteries are charged."},
    {K::StaticText, "lowFlag", 138, 42, 100, 20, "Battery Low Warn", AlignCentre, kBlack, 12, false, true, "StaticText12", 0,
     "The battery's remaining power has dropped below the warning level."},
    {K::StaticText, "StaticText13", 252, 42, 100, 20, "Battery Depleted", AlignCentre, kGrey, 12, false, true, "", 4,
     "The batteries are not empty."},
    {K::StaticText, "emptyFlag", 252, 42, 100, 20, "Battery Depleted", AlignCentre, kBlack, 12, false, true, "StaticText13", 0,
     "The battery is completely depleted of power."},
    {K::StaticText, "StaticText14", 365, 42, 100, 20, "Not Chargeable", AlignCentre, kGrey, 12, false, true, "", 5,
     "The batteries installed can be charged."},
    {K::StaticText, "noChargeFlag", 365, 42, 100, 20, "Not Chargeable", AlignCentre, kBlack, 12, false, true, "StaticText14", 0,
     "There are no chargeable batteries available."},
    {K::StaticText, "StaticText15", 365, 19, 100, 20, "Battery Charged", AlignCentre, kGrey, 12, false, true, "", 6,
     "The battery is not signalling a low power condition."},
    {K::StaticText, "chargedFlag", 365, 19, 100, 20, "Battery Charged", AlignCentre, kBlack, 12, false, false, "StaticText15", 0,
     "The battery is charged."},
    {K::StaticText, "StaticText16", 26, 19, 100, 20, "A/C Power", AlignCentre, kGrey, 12, false, true, "", 7,
     "A/C power is not currently available."},
    {K::StaticText, "acFlag", 26, 19, 100, 20, "A/C Power", AlignCentre, kBlack, 12, false, true, "StaticText16", 0,
     "The computer is plugged into a power outlet."},
    // kind          name                 left top  w    h   text                 align        colour  size italic visible inside       tab
    {K::Separator,  "Separator5",          126, 17,  6,   45, "",                  AlignLeft,   kBlack, 12, false, true,  "",          8},
    {K::Separator,  "Separator6",          241, 17,  6,   45, "",                  AlignLeft,   kBlack, 12, false, true,  "",          9},
    {K::StaticText, "StaticText1",         20,  108, 110, 20, "Current Capacity",  AlignLeft,   kBlack, 12, false, true,  "",          10},
    {K::StaticText, "StaticText3",         20,  172, 110, 20, "Charge Cycles",     AlignLeft,   kBlack, 12, false, true,  "",          11},
    {K::StaticText, "StaticText4",         20,  140, 110, 20, "Current Charge",    AlignLeft,   kBlack, 12, false, true,  "",          12},
    {K::StaticText, "StaticText5",         20,  204, 110, 20, "Voltage",           AlignLeft,   kBlack, 12, false, true,  "",          13},
    {K::StaticText, "originalCapacityLabel", 20, 76, 110, 20, "Original Capacity", AlignLeft,   kBlack, 12, false, true,  "",          14},
    {K::StaticText, "maxCapacityField",    131, 76,  55,  20, "",                  AlignRight,  kBlack, 12, false, true,  "",          15},
    {K::StaticText, "capacityField",       131, 108, 55,  20, "",                  AlignRight,  kBlack, 12, false, true,  "",          16},
    {K::StaticText, "cyclesFieldPercent",  131, 172, 55,  20, "",                  AlignRight,  kBlack, 12, false, true,  "",          17},
    {K::StaticText, "currentField",        131, 140, 55,  20, "",                  AlignRight,  kBlack, 12, false, true,  "",          18},
    {K::StaticText, "voltageField",        142, 204, 40,  20, "",                  AlignRight,  kBlack, 12, false, true,  "",          19},
    {K::Rectangle,  "capacityBG",          309, 108, 160, 20},
    {K::Canvas,     "capacityBar",         310, 109, 137, 18, "",                  AlignLeft,   kBlack, 12, false, true,  "capacityBG", 0, "", false, kCapacityBarPicture},
    {K::StaticText, "capacityBarLabel",    309, 108, 160, 20, "Capacity Remaining", AlignCentre, kWhite, 12, false, true, "capacityBG", 1},
    {K::ChasingArrows, "busy",             453, 77,  16,  16, "",                  AlignLeft,   kBlack, 12, false, false, "",          21},
    {K::Rectangle,  "currentBG",           309, 140, 160, 20},
    {K::Canvas,     "currentBar",          310, 141, 137, 18, "",                  AlignLeft,   kBlack, 12, false, true,  "currentBG", 0, "", false, kChargeBarPicture},
    {K::StaticText, "StaticText9",         309, 140, 160, 20, "Charge Remaining",  AlignCentre, kWhite, 12, false, true,  "currentBG", 1},
    {K::Rectangle,  "lifeBG",              309, 172, 160, 20},
    {K::Canvas,     "lifeBar",             310, 173, 137, 18, "",                  AlignLeft,   kBlack, 12, false, true,  "lifeBG",    0, "", false, kLifeBarPicture},
    {K::StaticText, "StaticText10",        309, 172, 160, 20, "Battery Life Remaining", AlignCentre, kWhite, 12, false, true, "lifeBG", 1},
    {K::PushButton, "PushButton1",         396, 248, 69,  20, "Quit",              AlignLeft,   kBlack, 12, false, true,  "",          24, "", true},
    {K::Separator,  "Separator7",          356, 17,  6,   45, "",                  AlignLeft,   kBlack, 12, false, true,  "",          25},
    {K::Separator,  "Separator1",          20,  14,  449, 4,  "",                  AlignLeft,   kBlack, 12, false, true,  "",          26},
    {K::Separator,  "Separator3",          20,  60,  449, 4,  "",                  AlignLeft,   kBlack, 12, false, true,  "",          27},
    {K::Separator,  "Separator2",          20,  37,  449, 4,  "",                  AlignLeft,   kBlack, 12, false, true,  "",          28},
    {K::StaticText, "maxCapacityUnits",    194, 76,  83,  20, "",                  AlignLeft,   kBlack, 12, false, true,  "",          29},
    {K::StaticText, "capacityUnits",       194, 108, 83,  20, "",                  AlignLeft,   kBlack, 12, false, true,  "",          30},
    {K::StaticText, "currentUnits",        194, 140, 83,  20, "",                  AlignLeft,   kBlack, 12, false, true,  "",          31},
    {K::StaticText, "StaticText17",        194, 204, 44,  20, "V",                 AlignLeft,   kBlack, 12, false, true,  "",          32},
    {K::StaticText, "versionField",        20,  236, 364, 20, "Ambrelux battery monitor", AlignLeft, kBlack, 10, true, true, "",     33},
    {K::StaticText, "StaticText19",        20,  256, 99,  20, "Visit us on the web", AlignLeft, kBlack, 10, true,  true,  "",          34},
    {K::PushButton, "PushButton2",         122, 256, 195, 15, "",                  AlignLeft,   kBlack, 10, false, true,  "",          35},
    {K::StaticText, "cyclesField",         194, 172, 83,  20, "",                  AlignLeft,   kBlack, 12, false, true,  "",          36},
    {K::StaticText, "timeLabel",           309, 204, 75,  20, "Remaining",         AlignLeft,   kBlack, 12, false, false, "",          37},
    {K::StaticText, "timeField",           386, 204, 83,  20, "",                  AlignLeft,   kBlack, 12, false, false, "",          38},
    {K::StaticText, "tickField",           425, 3,   64,  15, "",                  AlignRight,  kBlack, 8,  false, true,  "",          39},
}};
// clang-format on

constexpr std::int32_t kNoIndex = INT32_MIN;  // no control is in a control array

using Props = std::vector<Property>;

std::string caption(const ControlRow& row) {
  return row.kind == K::PushButton && std::string_view(row.name) == "PushButton2" ? webCaption() : row.text;
}

// Entries every kind starts with.
Props head(const ControlRow& row) {
  return {{"Name", std::string(row.name)},
          {"Index", kNoIndex},
          {"Left", row.left},
          {"Top", row.top},
          {"Width", row.width},
          {"Height", row.height},
          {"LockLeft", false},
          {"LockTop", false},
          {"LockRight", false},
          {"LockBottom", false},
          {"TabPanelIndex", 0}};
}

Props staticText(const ControlRow& row) {
  Props p = head(row);
  p.insert(p.end(), {{"TabIndex", row.tabIndex},
                     {"Text", caption(row)},
                     {"TextAlign", row.align},
                     {"TextColor", rgb(row.textColor)},
                     {"Multiline", false},
                     {"Enabled", true},
                     {"Visible", row.visible},
                     {"HelpTag", std::string(row.helpTag)},
                     {"AutoDeactivate", true},
                     {"TextFont", std::string("System")},
                     {"TextSize", row.textSize},
                     {"Bold", false},
                     {"Italic", row.italic},
                     {"Underline", false},
                     {"DataSource", std::string()},
                     {"DataField", std::string()},
                     {"InitialParent", std::string(row.inside)}});
  return p;
}

// Separators and the busy indicator.
Props separator(const ControlRow& row) {
  Props p = head(row);
  p.insert(p.end(), {{"TabIndex", row.tabIndex},
                     {"InitialParent", std::string(row.inside)},
                     {"Visible", row.visible},
                     {"HelpTag", std::string()},
                     {"AutoDeactivate", true},
                     {"Enabled", true}});
  return p;
}

Props rectangle(const ControlRow& row) {
  Props p = head(row);
  p.insert(p.end(), {{"Visible", true},
                     {"HelpTag", std::string()},
                     {"AutoDeactivate", true},
                     {"Enabled", true},
                     {"FillColor", rgb(0x505050)},
                     {"BorderWidth", 1},
                     {"TopLeftColor", rgb(0x000000)},
                     {"BottomRightColor", rgb(0x000000)},
                     {"InitialParent", std::string()}});
  return p;
}

Props canvas(const ControlRow& row) {
  Props p = head(row);
  p.insert(p.end(), {{"TabIndex", row.tabIndex},
                     {"Visible", true},
                     {"HelpTag", std::string()},
                     {"AutoDeactivate", true},
                     {"Enabled", true},
                     {"UseFocusRing", true},
                     {"AcceptFocus", false},
                     {"AcceptTabs", false},
                     {"EraseBackground", true},
                     {"InitialParent", std::string(row.inside)}});
  return p;
}

Props pushButton(const ControlRow& row) {
  Props p = head(row);
  p.insert(p.end(), {{"TabIndex", row.tabIndex},
                     {"Caption", caption(row)},
                     {"Default", row.isDefault},
                     {"Cancel", false},
                     {"Enabled", true},
                     {"Visible", true},
                     {"HelpTag", std::string()},
                     {"AutoDeactivate", true},
                     {"TextFont", std::string("System")},
                     {"TextSize", row.textSize},
                     {"Bold", false},
                     {"Italic", false},
                     {"Underline", false},
                     {"InitialParent", std::string()}});
  return p;
}

}  // namespace

std::span<const ControlRow> statusWindowControls() { return kControls; }

std::string windowPropertyString() {
  return encodeProperties({{"Placement", 0},
                           {"Width", 492},
                           {"Height", 288},
                           {"MinWidth", 64},
                           {"MinHeight", 64},
                           {"MaxWidth", 32000},
                           {"MaxHeight", 32000},
                           {"Frame", 0},
                           {"Composite", false},
                           {"HasBackColor", false},
                           {"BackColor", rgb(0xFFFFFF)},
                           {"Title", std::string("Ambrelux")},
                           {"Visible", true},
                           {"FullScreen", false},
                           {"MenuBarVisible", true},
                           {"CloseButton", true},
                           {"Resizeable", false},
                           {"LiveResize", false},
                           {"MaximizeButton", false},
                           {"MinimizeButton", true},
                           {"BalloonHelp", std::string()},
                           {"MacProcID", 0}});
}

std::string controlPropertyString(const ControlRow& row) {
  switch (row.kind) {
    case K::StaticText:
      return encodeProperties(staticText(row));
    case K::Separator:
    case K::ChasingArrows:
      return encodeProperties(separator(row));
    case K::Rectangle:
      return encodeProperties(rectangle(row));
    case K::Canvas:
      return encodeProperties(canvas(row));
    case K::PushButton:
      return encodeProperties(pushButton(row));
  }
  return {};
}

}  // namespace ambrelux
