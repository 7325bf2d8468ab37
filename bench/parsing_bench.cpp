// Parsing alone, per source, over the sample outputs and over the same
// outputs padded with unrelated lines and registry entries before and after
// (up to 100 times their size), each against one memchr pass over the same
// text: the ratio stays flat when parsing grows linearly.
#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "app/framework/platform.h"
#include "app/framework/text.h"
#include "profiler/battery_info.h"
#include "ratio_reporter.h"
#include "status_window/parsers.h"

namespace ambrelux::bench {

namespace {

std::string readSample(const std::string& relativePath) {
  std::ifstream in(std::string(AMBRELUX_SOURCE_DIR) + "/tests/data/" + relativePath, std::ios::binary);
  if (!in) throw std::runtime_error("missing sample " + relativePath);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Text of about `bytes` made of `piece(i)` for i = 0, 1, ...
std::string fill(std::size_t bytes, const std::function<std::string(int)>& piece) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) text += piece(i);
  return text;
}

std::string registryEntry(int i) {
  return "    +-o Device" + std::to_string(i) + "@" + std::to_string(i) + "  <class IOPCIDevice, id 0x1000" +
         std::to_string(10000 + i) +
         ", registered, matched, active, busy 0 (0 ms), retain 9>\n"
         "    | {\n"
         "    |   \"name\" = <\"device" +
         std::to_string(i) +
         "\">\n"
         "    |   \"IOPowerManagement\" = {\"CurrentPowerState\"=2,\"MaxPowerState\"=2}\n"
         "    |   \"vendor-id\" = <86800000>\n"
         "    | }\n"
         "    | \n";
}

std::string propertyLine(int i) {
  return "            \"UnrelatedProperty" + std::to_string(i) + "\" = " + std::to_string(1000 + i) + "\n";
}

std::string reportLine(int i) {
  return "          Sleep Setting " + std::to_string(i) + " (Minutes): " + std::to_string(i % 60) + "\n";
}

std::string recordEntry(int i) { return "\"Unrelated" + std::to_string(i) + "\"=" + std::to_string(i) + ","; }

// The listing with `factor - 1` times its size added: a third as registry
// entries before it, a third as unrelated properties inside the battery's
// block (half before its keys, half after), a third as entries after it.
std::string paddedSmartListing(int factor) {
  static const std::string sample = readSample("ioreg/smart-battery.txt");
  const std::size_t third = sample.size() * static_cast<std::size_t>(factor - 1) / 3;
  std::string listing = sample;
  const std::size_t blockStart = listing.find("{\n") + 2;
  const std::string inside = fill(third / 2, propertyLine);
  listing.insert(blockStart, inside);
  const std::size_t blockEnd = listing.rfind("          }");
  listing.insert(blockEnd, fill(third / 2, [](int i) { return propertyLine(100000 + i); }));
  const std::size_t entryLine = listing.find("    +-o AppleSmartBatteryManager");
  listing.insert(entryLine, fill(third, registryEntry));
  return listing + fill(third, [](int i) { return registryEntry(100000 + i); });
}

// The same for the two-battery listing; the inside third goes into each of
// the two batteries' dictionaries, before their entries.
std::string paddedMacIOListing(int factor) {
  static const std::string sample = readSample("ioreg/macio-two-batteries.txt");
  const std::size_t third = sample.size() * static_cast<std::size_t>(factor - 1) / 3;
  std::string listing = sample;
  const std::string second = fill(third / 2, [](int i) { return recordEntry(100000 + i); });
  listing.insert(listing.find("},{") + 3, second);
  const std::string first = fill(third / 2, recordEntry);
  listing.insert(listing.find("({") + 2, first);
  listing.insert(listing.find("    +-o mac-io"), fill(third, registryEntry));
  return listing + fill(third, [](int i) { return registryEntry(100000 + i); });
}

// The report with unrelated settings lines before and after its battery
// section.
std::string paddedReport(int factor) {
  static const std::string sample = readSample("profiler/power-report.txt");
  const std::size_t half = sample.size() * static_cast<std::size_t>(factor - 1) / 2;
  std::string report = sample;
  report.insert(report.find("    Battery Information:"), fill(half, reportLine));
  return report + fill(half, [](int i) { return reportLine(100000 + i); });
}

// The sample's property block with `factor - 1` times its size of
// unrelated properties added, half before its keys, half after.
std::string paddedSmartBlock(int factor) {
  std::string block = cutSmartBatteryBlock(paddedSmartListing(1));
  const std::size_t half = block.size() * static_cast<std::size_t>(factor - 1) / 2;
  block.insert(block.find("{\n") + 2, fill(half, propertyLine));
  block.insert(block.rfind("          }"), fill(half, [](int i) { return propertyLine(100000 + i); }));
  return block;
}

// Serves a canned report, so the getters run without any process.
class CannedReport final : public Platform {
 public:
  explicit CannedReport(std::string report) : report_(std::move(report)) { setPlatform(this); }
  ~CannedReport() override { setPlatform(nullptr); }
  CommandOutput runCommand(const std::string&) override { return {report_, 0}; }
  void showMessage(const std::string&) override {}
  void openUrl(const std::string&) override {}

 private:
  std::string report_;
};

bool sameReading(const SmartBatteryReading& a, const SmartBatteryReading& b) {
  return a.design == b.design && a.max == b.max && a.current == b.current && a.cycles == b.cycles &&
         a.voltage == b.voltage && a.flags == b.flags && a.externalConnected == b.externalConnected &&
         a.isCharging == b.isCharging && a.batteryInstalled == b.batteryInstalled &&
         a.externalChargeCapable == b.externalChargeCapable && a.fullyCharged == b.fullyCharged;
}

bool sameReading(const OldBatteryReading& a, const OldBatteryReading& b) {
  return a.capacity == b.capacity && a.cycles == b.cycles && a.charge == b.charge && a.voltage == b.voltage &&
         a.flags == b.flags && a.design == b.design;
}

constexpr const char* kSmartKeys[] = {
    "DesignCapacity", "MaxCapacity",       "CurrentCapacity", "CycleCount",       "Voltage",
    "Flags",          "ExternalConnected", "IsCharging",      "BatteryInstalled", "ExternalChargeCapable",
    "FullyCharged"};

// The readings the getters give, as one sum, so none is optimised away.
std::int64_t allGetters(BatteryInfo& info) {
  return std::int64_t{info.getBatteryCapacity()} + info.getBatteryInstalled() + info.get1stLowLevelWarn() +
         info.getRemainingCapacity() + info.getBatteryAmperage() + info.getBatteryVoltage() +
         info.getBatteryCycleCount() + info.getACconnected() + info.getBatteryCharging() +
         info.getUPSInstalled();
}

void BM_ParseLine(benchmark::State& state) {
  const std::string block = paddedSmartBlock(static_cast<int>(state.range(0)));
  if (parseLine(block, "DesignCapacity") != "5200" || parseLine(block, "Amperage") != "1300")
    return state.SkipWithError("padding changed the readings");
  for (auto _ : state)
    for (const char* key : kSmartKeys) benchmark::DoNotOptimize(parseLine(block, key));
  state.SetComplexityN(static_cast<std::int64_t>(block.size()));
}

void BM_SmartCutAndRead(benchmark::State& state) {
  const std::string listing = paddedSmartListing(static_cast<int>(state.range(0)));
  if (!sameReading(readSmartBattery(cutSmartBatteryBlock(listing)),
                   readSmartBattery(cutSmartBatteryBlock(paddedSmartListing(1)))))
    return state.SkipWithError("padding changed the readings");
  for (auto _ : state) benchmark::DoNotOptimize(readSmartBattery(cutSmartBatteryBlock(listing)));
  state.SetComplexityN(static_cast<std::int64_t>(listing.size()));
}

void BM_OldCutAndRead(benchmark::State& state) {
  const std::string listing = paddedMacIOListing(static_cast<int>(state.range(0)));
  const auto padded = cutBatteryInfoRecord(listing);
  const auto plain = cutBatteryInfoRecord(paddedMacIOListing(1));
  if (!padded || !plain || !sameReading(readOldBattery(*padded), readOldBattery(*plain)) ||
      readOldBattery(*plain).capacity != 4200)
    return state.SkipWithError("padding changed the readings");
  for (auto _ : state) {
    const auto record = cutBatteryInfoRecord(listing);
    benchmark::DoNotOptimize(readOldBattery(*record));
  }
  state.SetComplexityN(static_cast<std::int64_t>(listing.size()));
}

void BM_ProfilerGetters(benchmark::State& state) {
  const std::string report = paddedReport(static_cast<int>(state.range(0)));
  BatteryInfo info, plainInfo;
  {
    CannedReport canned(paddedReport(1));
    plainInfo.updateBatteryInfo();
  }
  CannedReport canned(report);
  info.updateBatteryInfo();
  if (allGetters(info) != allGetters(plainInfo) || info.getBatteryCapacity() != 4436)
    return state.SkipWithError("padding changed the readings");
  for (auto _ : state) benchmark::DoNotOptimize(allGetters(info));
  state.SetComplexityN(static_cast<std::int64_t>(report.size()));
}

// InStr from a found position on: the position is in characters, so the
// text before it is walked once per call; with a multi-byte character in
// every line it must still cost one pass, not one per character.
std::string linesText(int factor, bool multiByte) {
  const std::string line = multiByte ? "      Température (°C): 31\n" : "      Temperature (C): 31\n";
  std::string text = fill(static_cast<std::size_t>(factor) * 1000, [&](int) { return line; });
  return text + "      Last: 1\n";
}

void BM_InStrFrom(benchmark::State& state, bool multiByte) {
  const std::string text = linesText(static_cast<int>(state.range(0)), multiByte);
  const std::int64_t last = InStr(text, "Last:");
  if (last <= 0 || InStr(last, text, EndOfLine) != Len(text)) return state.SkipWithError("wrong position");
  for (auto _ : state) benchmark::DoNotOptimize(InStr(last, text, EndOfLine));
  state.SetComplexityN(static_cast<std::int64_t>(text.size()));
}

// The floor: one pass over the same bytes, looking for one that is absent.
void BM_OnePass(benchmark::State& state, std::string (*make)(int)) {
  const std::string text = make(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(text.find('\x01'));
  state.SetComplexityN(static_cast<std::int64_t>(text.size()));
}

std::string asciiLines(int factor) { return linesText(factor, false); }
std::string utf8Lines(int factor) { return linesText(factor, true); }

constexpr int kFactors[] = {1, 3, 10, 30, 100};

void withFactors(benchmark::internal::Benchmark* b) {
  for (int factor : kFactors) b->Arg(factor);
  b->Complexity(benchmark::oN);
}

void family(const std::string& source, const std::string& name, const std::string& label,
            const std::string& floorName, const std::string& floorLabel) {
  for (int factor : {1, 100}) {
    std::string size = std::to_string(factor);
    size.insert(size.begin(), '/');
    addFigure({"Parsing (" + source + ")", label + (factor == 1 ? ", sample" : ", 100x padded"), name + size,
               floorLabel + (factor == 1 ? ", sample" : ", 100x"), floorName + size, "cpu", 1, "", 0, "",
               ""});
  }
  addGrowth({label, name, name + "/1", name + "/100", "cpu", 2});
}

}  // namespace

void registerParsingBenchmarks() {
  withFactors(benchmark::RegisterBenchmark("parse/smart/parseLine-11-keys", BM_ParseLine));
  withFactors(benchmark::RegisterBenchmark("floor/memchr/smart-block", BM_OnePass, paddedSmartBlock));
  withFactors(benchmark::RegisterBenchmark("parse/smart/cut+readSmartBattery", BM_SmartCutAndRead));
  withFactors(benchmark::RegisterBenchmark("floor/memchr/smart-listing", BM_OnePass, paddedSmartListing));
  withFactors(
      benchmark::RegisterBenchmark("parse/older/cutBatteryInfoRecord+readOldBattery", BM_OldCutAndRead));
  withFactors(benchmark::RegisterBenchmark("floor/memchr/macio-listing", BM_OnePass, paddedMacIOListing));
  withFactors(benchmark::RegisterBenchmark("parse/profiler/ten-getters", BM_ProfilerGetters));
  withFactors(benchmark::RegisterBenchmark("floor/memchr/report", BM_OnePass, paddedReport));
  withFactors(benchmark::RegisterBenchmark("text/InStr-from/ascii", BM_InStrFrom, false));
  withFactors(benchmark::RegisterBenchmark("floor/memchr/ascii-lines", BM_OnePass, asciiLines));
  withFactors(benchmark::RegisterBenchmark("text/InStr-from/utf8", BM_InStrFrom, true));
  withFactors(benchmark::RegisterBenchmark("floor/memchr/utf8-lines", BM_OnePass, utf8Lines));

  const std::string pass = "one memchr pass, same text";
  family("smart battery", "parse/smart/parseLine-11-keys", "parseLine x11 over the block",
         "floor/memchr/smart-block", pass);
  family("smart battery", "parse/smart/cut+readSmartBattery", "cut + readSmartBattery over listing",
         "floor/memchr/smart-listing", pass);
  family("older machines", "parse/older/cutBatteryInfoRecord+readOldBattery",
         "cut + readOldBattery, 2 batteries", "floor/memchr/macio-listing", pass);
  family("system profiler", "parse/profiler/ten-getters", "BatteryInfo's ten getters", "floor/memchr/report",
         pass);
  family("text", "text/InStr-from/ascii", "InStr(found pos, text, EOL), ASCII", "floor/memchr/ascii-lines",
         pass);
  family("text", "text/InStr-from/utf8", "InStr(found pos, text, EOL), UTF-8", "floor/memchr/utf8-lines",
         pass);
}

}  // namespace ambrelux::bench
