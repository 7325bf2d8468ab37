#include "supply_records.h"

#include <algorithm>
#include <map>

namespace ambrelux::fuzzing {

namespace {

bool isFileName(std::string_view name) {
  return !name.empty() && name.size() <= 255 && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace

std::vector<tools::Supply> decodeSupplies(std::string_view input) {
  std::map<std::string, tools::Attributes, std::less<>> supplies;
  while (!input.empty()) {
    const std::size_t end = std::min(input.find(kRecordEnd), input.size());
    const std::string_view record = input.substr(0, end);
    input.remove_prefix(std::min(end + 1, input.size()));

    const std::size_t slash = record.find('/');
    const std::size_t equals = record.find('=', slash == std::string_view::npos ? 0 : slash);
    if (slash == std::string_view::npos || equals == std::string_view::npos) continue;
    const std::string_view supply = record.substr(0, slash);
    const std::string_view attribute = record.substr(slash + 1, equals - slash - 1);
    const std::string_view value = record.substr(equals + 1);
    if (!isFileName(supply) || supply.front() == '.' || !isFileName(attribute)) continue;
    if (value.size() > tools::kMaxAttributeBytes) continue;
    auto found = supplies.find(supply);
    if (found == supplies.end()) {
      if (supplies.size() == tools::kMaxSupplies) continue;
      found = supplies.emplace(std::string(supply), tools::Attributes{}).first;
    }
    found->second.emplace(std::string(attribute), std::string(value));
  }
  std::vector<tools::Supply> result;
  for (auto& [name, attributes] : supplies) result.push_back({name, std::move(attributes)});
  return result;
}

std::string encodeSupplies(const std::vector<tools::Supply>& supplies) {
  std::string out;
  for (const tools::Supply& supply : supplies)
    for (const auto& [attribute, value] : supply.attributes)
      out.append(supply.name).append("/").append(attribute).append("=").append(value).push_back(kRecordEnd);
  return out;
}

}  // namespace ambrelux::fuzzing
