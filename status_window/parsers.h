// Readers of the two registry listings' battery data. Pure functions of the
// tools' text: the window runs the commands and writes the controls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ambrelux {

// How a reader takes the value text of one key out of the text it reads.
using KeyReader = std::function<std::string(std::string_view text, std::string_view key)>;

// Value of `key` in the smart-battery property block, "" when absent.
// "Flags" is read in the compact form of the nested dictionary
// ("Flags"=7,...}) and runs up to that dictionary's "}", so it may carry the
// entries after it; every other key in the line form ("Key" = value), up to
// the line end. A value without its terminator reads as "". Nothing is
// trimmed; the first occurrence counts.
std::string parseLine(std::string_view data, std::string_view key);

// The smart battery's property block cut from "ioreg -w0 -c AppleSmartBattery":
// from the first "{" after the line of the first "AppleSmartBattery" up to
// and including the second "}" after it. "" when the marker is missing or
// fewer than two "}" follow.
std::string cutSmartBatteryBlock(std::string_view listing);

struct SmartBatteryReading {
  std::int32_t design = 0, max = 0, current = 0, cycles = 0, voltage = 0, flags = 0;
  bool externalConnected = false, isCharging = false, batteryInstalled = false, externalChargeCapable = false,
       fullyCharged = false;
};

// Every reading of the block, each key's value taken with `readKey`; absent
// keys give 0 or false. externalChargeCapable is read only when
// externalConnected, else false.
SmartBatteryReading readSmartBattery(std::string_view block, const KeyReader& readKey = parseLine);

// Value of one entry ("Key"=value) of an IOBatteryInfo record, "" when
// absent: up to the first "," after it, or else up to the first "}".
// Nothing is trimmed, so the last entry of a dictionary that another one
// follows keeps the "}" — its number reads all the same.
std::string parseOldLine(std::string_view line, std::string_view key);

// The IOBatteryInfo record line cut from "ioreg -w0 -cAppleMacIODevice",
// line end included, from the second battery on when the first one's
// Flags is exactly 1 (external power, no battery). Without a "{" after the
// marker, all of the listing from the marker on; without a line end after
// the "{", "". std::nullopt when the listing holds no "IOBatteryInfo".
std::optional<std::string> cutBatteryInfoRecord(std::string_view listing);

struct OldBatteryReading {
  std::int32_t capacity = 0, cycles = -1, charge = 0, voltage = 0, flags = 0, design = 0;
};

// Every reading of the record, each key's value taken with `readKey`.
// cycles from "Count", else "Cycle Count", -1 when both are empty; design
// from the first non-empty of "DesignCapacity", "MaxCapacity",
// "AbsoluteMaxCapacity", else 0. Every key is looked up in the whole record,
// so a key that the chosen battery lacks comes from a later one.
OldBatteryReading readOldBattery(std::string_view record, const KeyReader& readKey = parseOldLine);

// The number a value text starts with, dropping its fraction and saturating
// at the Int32 range; 0 when it starts with no number.
std::int32_t readInt32(std::string_view valueText);

// True exactly when the whole value text is "Yes".
bool isYes(std::string_view valueText);

}  // namespace ambrelux
