// Writes the fuzz targets' seed corpora from the test data: the recorded tool
// output, the stand-ins' output for every sample power-supply tree, those
// trees' attributes, and the layout's 55 design-time property strings; and
// beside the corpora, a libFuzzer dictionary of the property entries.
//   make_corpus [corpus folder]   (default: the source tree's fuzz/corpus)
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/framework/properties.h"
#include "status_window/layout_table.h"
#include "supply_records.h"
#include "tools/ioreg_format.h"
#include "tools/profiler_format.h"
#include "tools/readings.h"

namespace {

namespace fs = std::filesystem;
using namespace ambrelux;

fs::path corpus = AMBRELUX_FUZZ_CORPUS;
const fs::path testData = AMBRELUX_TEST_DATA;

std::string read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write(const std::string& target, const std::string& name, const std::string& bytes) {
  fs::create_directories(corpus / target);
  std::ofstream(corpus / target / name, std::ios::binary) << bytes;
}

// FuzzedDataProvider reads a string up to a backslash and one more character.
std::string fdpString(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out + "\\\n";
}

// A dictionary entry: printable ASCII as it is, every other byte as \xNN.
std::string dictEntry(const std::string& bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      const char* hex = "0123456789ABCDEF";
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out + "\"\n";
}

struct Output {
  std::string name, text;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) corpus = argv[1];

  std::vector<Output> smart, macio, report;
  for (const char* name : {"smart-battery"})
    smart.push_back({name, read(testData / "ioreg" / (std::string(name) + ".txt"))});
  for (const char* name :
       {"macio-one-battery", "macio-two-batteries", "macio-three-batteries", "macio-no-battery-info"})
    macio.push_back({name, read(testData / "ioreg" / (std::string(name) + ".txt"))});
  for (const char* name : {"power-report", "no-battery"})
    report.push_back({name, read(testData / "profiler" / (std::string(name) + ".txt"))});

  // The stand-ins' output and the attributes of every sample tree.
  std::vector<fs::path> trees;
  for (const auto& entry : fs::directory_iterator(testData / "power_supply"))
    if (entry.is_directory()) trees.push_back(entry.path());
  std::sort(trees.begin(), trees.end());
  for (const fs::path& tree : trees) {
    const std::string name = tree.filename().string();
    const auto supplies = tools::readSupplies(tree);
    const tools::PowerState state = tools::powerStateFrom(supplies);
    write("power_supply", name, fuzzing::encodeSupplies(supplies));
    smart.push_back({"stand-in-" + name, tools::smartBatteryListing(state)});
    macio.push_back({"stand-in-" + name, tools::macIODeviceListing(state)});
    report.push_back({"stand-in-" + name, tools::powerReport(state)});
  }

  // refresh: the path's byte, then the output; battery_info: a key, the
  // report and its exit status 0; parsers: a key, then a listing.
  const std::vector<Output>* byPath[] = {&smart, &macio, &report};
  for (int path = 0; path < 3; ++path)
    for (const Output& out : *byPath[path])
      write("refresh", std::to_string(path) + "-" + out.name, static_cast<char>(path) + out.text);
  for (const Output& out : report)
    write("battery_info", out.name, fdpString("Cycle Count:") + out.text + '\0');
  write("battery_info", "failed-run", fdpString("Charging:") + report.front().text + '\1');
  // Once matched inside the report's first character.
  write("battery_info", "partial-character-label",
        fdpString("\xF3\xBB") + "\xF3\xBB\x92\x92\n\x92\x92\n" + '\0');
  const char* keys[] = {"DesignCapacity", "Flags", "Capacity", "Cycle Count", "Voltage"};
  int key = 0;
  for (const auto* outputs : {&smart, &macio})
    for (const Output& out : *outputs) write("parsers", out.name, fdpString(keys[key++ % 5]) + out.text);

  // text: tool output, and numbers and characters beyond ASCII.
  for (const Output& out : {smart.front(), macio.front(), report.front()}) write("text", out.name, out.text);
  write("text", "numbers",
        fdpString("  -12.5e3abc") + fdpString("e") + "\x05\x02\x01\x07\x03\x09\x10\x11\x12\x13");
  write("text", "utf8",
        fdpString("a\u00F1b\u20AC\U0001F600 \xC3\x28 \xE2\x82") + fdpString("\u20AC") + "\x02\x03\x04\x05");

  // properties: the target's byte (0 the window, n the n-th control), then
  // its string.
  write("properties", "00-window", std::string(1, '\0') + windowPropertyString());
  const auto rows = statusWindowControls();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string number = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1);
    write("properties", number + "-" + rows[i].name,
          std::string(1, static_cast<char>(i + 1)) + controlPropertyString(rows[i]));
  }
  // Inputs that once broke a control: a container ring, a huge text size.
  const auto rowOf = [&](std::string_view name) {
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].name == name) return static_cast<char>(i + 1);
    return '\0';
  };
  write("properties", "ring-capacityBG-in-capacityBar",
        rowOf("capacityBG") + encodeProperties({{"InitialParent", std::string("capacityBar")}}));
  write("properties", "text-size-largest",
        rowOf("capacityBarLabel") +
            encodeProperties({{"TextSize", std::int32_t{2147483647}}, {"Text", std::string(60, 'W')}}));

  // Every entry of the layout's strings as it stands, and every control as
  // a container: the names with their byte counts.
  std::vector<std::string> entries;
  std::vector<std::string> strings{windowPropertyString()};
  for (const ControlRow& row : rows) strings.push_back(controlPropertyString(row));
  for (const std::string& bytes : strings) {
    const std::vector<Property> properties = decodeProperties(bytes).value();
    for (const Property& p : properties) entries.push_back(encodeProperties({p}));
  }
  for (const ControlRow& row : rows)
    entries.push_back(encodeProperties({{"InitialParent", std::string(row.name)}}));
  std::sort(entries.begin(), entries.end());
  entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
  std::ofstream dict(corpus.parent_path() / "properties.dict", std::ios::binary);
  dict << "# Entries of the layout's design-time property strings; written by make_corpus.\n";
  for (const std::string& entry : entries) dict << dictEntry(entry);

  std::cout << "corpora written under " << corpus << "\n";
  return 0;
}
