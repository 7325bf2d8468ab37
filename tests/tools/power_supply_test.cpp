// Reading attribute files defensively: what a hostile or broken folder holds
// must give "absent", never a hang, a crash or a file from elsewhere.
#include "tools/power_supply.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ambrelux::tools {
namespace {

namespace fs = std::filesystem;

class AttributeFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ambrelux-attributes-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path write(const std::string& name, const std::string& content) {
    std::ofstream(dir / name, std::ios::binary) << content;
    return dir / name;
  }
  fs::path dir;
};

TEST_F(AttributeFiles, LongestAcceptedValueIsRead) {
  EXPECT_EQ(readAttribute(write("a", std::string(kMaxAttributeBytes, '7'))),
            std::string(kMaxAttributeBytes, '7'));
}

TEST_F(AttributeFiles, LongerValueIsAbsent) {
  EXPECT_EQ(readAttribute(write("a", std::string(kMaxAttributeBytes + 1, '7'))), std::nullopt);
}

TEST_F(AttributeFiles, FifoIsAbsentWithoutWaitingForAWriter) {
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(readAttribute(dir / "fifo"), std::nullopt);
}

TEST_F(AttributeFiles, LinkIsNotFollowed) {
  fs::create_symlink(write("target", "4000000\n"), dir / "link");
  EXPECT_EQ(readAttribute(dir / "link"), std::nullopt);
}

TEST_F(AttributeFiles, MissingFileIsAbsent) { EXPECT_EQ(readAttribute(dir / "nothing"), std::nullopt); }

TEST(Supplies, MissingRootGivesNone) { EXPECT_TRUE(readSupplies("/nonexistent/power_supply").empty()); }

}  // namespace
}  // namespace ambrelux::tools
