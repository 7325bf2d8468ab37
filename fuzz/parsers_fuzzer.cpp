// The two registry-listing readers with arbitrary tool output: the cut of
// the smart battery's block and of the IOBatteryInfo record, and the key
// readers over them. Input: a key (a FuzzedDataProvider string, tried
// besides every key the readers use), then the listing.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "require.h"
#include "status_window/parsers.h"

namespace {

using namespace ambrelux;
using fuzzing::require;

constexpr std::string_view kSmartKeys[] = {
    "DesignCapacity", "MaxCapacity",       "CurrentCapacity", "CycleCount",       "Voltage",
    "Flags",          "ExternalConnected", "IsCharging",      "BatteryInstalled", "ExternalChargeCapable",
    "FullyCharged"};
constexpr std::string_view kOldKeys[] = {"Capacity",       "Count",       "Cycle Count",
                                         "Current",        "Voltage",     "Flags",
                                         "DesignCapacity", "MaxCapacity", "AbsoluteMaxCapacity"};

bool within(std::string_view part, std::string_view whole) {
  return whole.find(part) != std::string_view::npos;
}

void checkSmartValue(std::string_view block, std::string_view key) {
  const std::string value = parseLine(block, key);
  require(within(value, block), "parseLine gives a piece of its block");
  const bool compact = key == "Flags";
  const std::string pattern = "\"" + std::string(key) + (compact ? "\"=" : "\" = ");
  if (!within(pattern, block)) require(value.empty(), "parseLine finds nothing without its pattern");
  require(value.find(compact ? '}' : '\n') == std::string::npos, "parseLine stops at the value's terminator");
}

void checkOldValue(std::string_view record, std::string_view key) {
  const std::string value = parseOldLine(record, key);
  require(within(value, record), "parseOldLine gives a piece of its record");
  if (!within("\"" + std::string(key) + "\"=", record))
    require(value.empty(), "parseOldLine finds nothing without its pattern");
  require(value.find(',') == std::string::npos, "parseOldLine stops at the first ','");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string key = in.ConsumeRandomLengthString(32);
  const std::string listing = in.ConsumeRemainingBytesAsString();

  const std::string block = cutSmartBatteryBlock(listing);
  require(within(block, listing), "the block is cut from the listing");
  if (!block.empty()) {
    require(block.front() == '{' && block.back() == '}', "the block runs from '{' to '}'");
    require(std::count(block.begin(), block.end(), '}') == 2, "the block ends at the second '}'");
  }
  if (!within("AppleSmartBattery", listing)) require(block.empty(), "no block without the marker");
  for (std::string_view k : kSmartKeys) checkSmartValue(block, k);
  checkSmartValue(block, key);
  checkSmartValue(listing, key);
  const SmartBatteryReading smart = readSmartBattery(block);
  require(!smart.externalChargeCapable || smart.externalConnected,
          "ExternalChargeCapable is read only on external power");

  const auto record = cutBatteryInfoRecord(listing);
  require(record.has_value() == within("IOBatteryInfo", listing),
          "a record exactly when the marker is there");
  if (!record) return 0;
  require(within(*record, listing), "the record is cut from the listing");
  const std::string fromMarker(listing.substr(listing.find("IOBatteryInfo")));
  if (within("{", fromMarker)) {
    require(record->empty() || record->back() == '\n', "a record with a dictionary ends at its line end");
  } else {
    require(*record == fromMarker, "without a dictionary the record is the rest of the listing");
  }
  for (std::string_view k : kOldKeys) checkOldValue(*record, k);
  checkOldValue(*record, key);
  checkOldValue(listing, key);
  const OldBatteryReading old = readOldBattery(*record);
  const bool cyclesGiven =
      !parseOldLine(*record, "Count").empty() || !parseOldLine(*record, "Cycle Count").empty();
  if (!cyclesGiven) require(old.cycles == -1, "cycles are unknown when no cycle key has a value");
  return 0;
}
