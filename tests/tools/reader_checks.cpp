#include "reader_checks.h"

#include <algorithm>

#include "status_window/parsers.h"

namespace ambrelux::tools::testing {

std::string smartValue(const std::string& listing, const std::string& key) {
  return parseLine(cutSmartBatteryBlock(listing), key);
}

std::string oldValue(const std::string& listing, const std::string& key) {
  return parseOldLine(cutBatteryInfoRecord(listing).value_or(""), key);
}

std::string profilerValue(const std::string& report, const std::string& label) {
  const std::size_t at = report.find(label);
  if (at == std::string::npos) return "";
  std::string value = report.substr(at + label.size());
  value = value.substr(0, value.find('\n'));
  return value.substr(std::min(value.find_first_not_of(' '), value.size()));
}

}  // namespace ambrelux::tools::testing
