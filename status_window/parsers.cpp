#include "status_window/parsers.h"

#include <initializer_list>

#include "app/framework/text.h"

namespace ambrelux {

namespace {

std::string quoted(std::string_view key) { return Concat({"\"", key, "\""}); }

// The first of `keys` whose value text is not empty, "" when none is.
std::string firstPresent(std::string_view record, std::initializer_list<std::string_view> keys,
                         const KeyReader& readKey) {
  for (const std::string_view key : keys) {
    std::string value = readKey(record, key);
    if (!value.empty()) return value;
  }
  return {};
}

}  // namespace

std::int32_t readInt32(std::string_view valueText) { return ToInt32(Val(valueText)); }

bool isYes(std::string_view valueText) { return TextEquals(valueText, "Yes"); }

std::string parseLine(std::string_view data, std::string_view key) {
  // The quotes and blanks keep the two forms apart: a line-form key never
  // matches a compact entry, nor the tail of a longer key.
  if (TextEquals(key, "Flags")) {
    const std::int64_t p = InStr(data, quoted(key) + "=");
    if (p <= 0) return {};
    const std::string tail = Mid(data, p + Len(key) + 3);
    return Left(tail, InStr(tail, "}") - 1);
  }
  const std::int64_t p = InStr(data, quoted(key) + " = ");
  if (p <= 0) return {};
  const std::string tail = Mid(data, p + Len(key) + 5);
  return Left(tail, InStr(tail, EndOfLine) - 1);
}

std::string cutSmartBatteryBlock(std::string_view listing) {
  // Without the marker Mid gets start 0 and there is nothing to cut.
  std::string s = Mid(listing, InStr(listing, "AppleSmartBattery"));
  std::int64_t p = InStr(s, "AppleSmartBattery");
  p = InStr(p + 1, s, EndOfLine);
  p = InStr(p + 1, s, "{");
  s = Mid(s, p);
  std::int64_t q = InStr(s, "}");
  q = InStr(q + 1, s, "}");  // the nested dictionary closes first
  return Left(s, q);
}

SmartBatteryReading readSmartBattery(std::string_view block, const KeyReader& readKey) {
  SmartBatteryReading r;
  r.design = readInt32(readKey(block, "DesignCapacity"));
  r.max = readInt32(readKey(block, "MaxCapacity"));
  r.current = readInt32(readKey(block, "CurrentCapacity"));
  r.cycles = readInt32(readKey(block, "CycleCount"));
  r.voltage = readInt32(readKey(block, "Voltage"));
  r.flags = readInt32(readKey(block, "Flags"));
  r.externalConnected = isYes(readKey(block, "ExternalConnected"));
  r.isCharging = isYes(readKey(block, "IsCharging"));
  r.batteryInstalled = isYes(readKey(block, "BatteryInstalled"));
  if (r.externalConnected) r.externalChargeCapable = isYes(readKey(block, "ExternalChargeCapable"));
  r.fullyCharged = isYes(readKey(block, "FullyCharged"));
  return r;
}

std::string parseOldLine(std::string_view line, std::string_view key) {
  const std::int64_t p = InStr(line, quoted(key) + "=");
  if (p <= 0) return {};
  const std::string rest = Mid(line, p + Len(key) + 3);
  // The "," is searched across the end of the dictionary on purpose: a last
  // entry then keeps its "}", which Val ignores.
  std::int64_t c = InStr(rest, ",");
  if (c <= 0) c = InStr(rest, "}");
  return Left(rest, c - 1);
}

std::optional<std::string> cutBatteryInfoRecord(std::string_view listing) {
  const std::int64_t p = InStr(listing, "IOBatteryInfo");
  if (p <= 0) return std::nullopt;
  std::string t = Mid(listing, p);
  const std::int64_t b = InStr(t, "{");
  if (b <= 0) return t;

  t = Left(t, InStr(b + 1, t, EndOfLine));
  if (InStr(t, "},{") > 0) {
    // Several batteries: a first one reporting only external power (Flags
    // exactly 1) has no battery in it, so the second one is shown. Without
    // any "Flags" this reads inside the marker itself and gives 0.
    const std::int64_t f = InStr(t, "Flags");
    const std::string u = Right(t, Len(t) - f - 6);
    std::int64_t c = InStr(u, ",");
    if (c == 0) c = InStr(u, "}");
    if (readInt32(Left(u, c - 1)) == 1) t = Mid(t, InStr(t, "},{") + 3);
  }
  return t;
}

OldBatteryReading readOldBattery(std::string_view record, const KeyReader& readKey) {
  OldBatteryReading r;
  r.capacity = readInt32(readKey(record, "Capacity"));
  const std::string cycles = firstPresent(record, {"Count", "Cycle Count"}, readKey);
  r.cycles = cycles.empty() ? -1 : readInt32(cycles);
  r.charge = readInt32(readKey(record, "Current"));
  r.voltage = readInt32(readKey(record, "Voltage"));
  r.flags = readInt32(readKey(record, "Flags"));
  const std::string design =
      firstPresent(record, {"DesignCapacity", "MaxCapacity", "AbsoluteMaxCapacity"}, readKey);
  r.design = readInt32(design);
  return r;
}

}  // namespace ambrelux
