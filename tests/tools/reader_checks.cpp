#include "reader_checks.h"

#include <algorithm>

namespace ambrelux::tools::testing {

namespace {

constexpr auto npos = std::string::npos;

// substr that yields "" for a start that was not found.
std::string from(const std::string& text, std::size_t start) {
  return start == npos || start > text.size() ? std::string() : text.substr(start);
}

std::string smartBlock(const std::string& listing) {
  std::string s = from(listing, listing.find("AppleSmartBattery"));
  const std::size_t lineEnd = s.find('\n');
  if (lineEnd == npos) return "";
  s = from(s, s.find('{', lineEnd + 1));
  const std::size_t first = s.find('}');
  const std::size_t second = first == npos ? npos : s.find('}', first + 1);
  return second == npos ? "" : s.substr(0, second + 1);
}

std::string oldRecord(const std::string& listing) {
  std::string t = from(listing, listing.find("IOBatteryInfo"));
  const std::size_t open = t.find('{');
  if (open == npos) return t;
  const std::size_t lineEnd = t.find('\n', open + 1);
  t = lineEnd == npos ? "" : t.substr(0, lineEnd + 1);
  if (t.find("},{") != npos) {
    const std::size_t flags = t.find("Flags");
    const std::string u = from(t, flags == npos ? 6 : flags + 7);
    std::size_t stop = u.find(',');
    if (stop == npos) stop = u.find('}');
    if (leadingNumber(u.substr(0, stop)) == 1) t = t.substr(t.find("},{") + 3);
  }
  return t;
}

}  // namespace

std::string smartValue(const std::string& listing, const std::string& key) {
  const std::string block = smartBlock(listing);
  const bool compact = key == "Flags";
  const std::string pattern = "\"" + key + (compact ? "\"=" : "\" = ");
  const std::size_t at = block.find(pattern);
  if (at == npos) return "";
  const std::string tail = block.substr(at + pattern.size());
  return tail.substr(0, tail.find(compact ? '}' : '\n'));
}

std::string oldValue(const std::string& listing, const std::string& key) {
  const std::string record = oldRecord(listing);
  const std::string pattern = "\"" + key + "\"=";
  const std::size_t at = record.find(pattern);
  if (at == npos) return "";
  const std::string rest = record.substr(at + pattern.size());
  const std::size_t comma = rest.find(',');
  return rest.substr(0, comma != npos ? comma : rest.find('}'));
}

std::string profilerValue(const std::string& report, const std::string& label) {
  const std::size_t at = report.find(label);
  if (at == npos) return "";
  std::string value = report.substr(at + label.size());
  value = value.substr(0, value.find('\n'));
  return value.substr(std::min(value.find_first_not_of(' '), value.size()));
}

long long leadingNumber(const std::string& text) {
  std::size_t end = (!text.empty() && text[0] == '-') ? 1 : 0;
  const std::size_t digits = end;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  return end == digits ? 0 : std::stoll(text.substr(0, end));
}

}  // namespace ambrelux::tools::testing
