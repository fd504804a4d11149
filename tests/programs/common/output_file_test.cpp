// The output file: written under a temporary name beside it and renamed at the end, kept
// as <name>.partial when the run stops early, and nothing left behind otherwise.

#include "common/output_file.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tandem::common {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tandem-output-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      out.push_back(entry.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  static std::string content(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir_;
};

TEST_F(OutputFileTest, AppearsUnderItsNameOnlyWhenCommitted) {
  const fs::path file = dir_ / "atlas.csv";
  {
    OutputFile out(file);
    out.write("k2,k1\n");
    out.write("3,2\n");
    EXPECT_FALSE(fs::exists(file));
    ASSERT_EQ(names().size(), 1U);
    EXPECT_EQ(names()[0].rfind(".atlas.csv.", 0), 0U) << names()[0];
    out.commit();
  }
  EXPECT_EQ(names(), std::vector<std::string>{"atlas.csv"});
  EXPECT_EQ(content(file), "k2,k1\n3,2\n");
}

TEST_F(OutputFileTest, AnAbandonedFileLeavesNothingAndAnOldCatalogueStands) {
  const fs::path file = dir_ / "atlas.csv";
  std::ofstream(file) << "old\n";
  {
    OutputFile out(file);
    out.write("new rows\n");
  }
  EXPECT_EQ(names(), std::vector<std::string>{"atlas.csv"});
  EXPECT_EQ(content(file), "old\n");
}

TEST_F(OutputFileTest, PartialOutputKeptUnderItsOwnName) {
  const fs::path file = dir_ / "atlas.csv";
  OutputFile out(file);
  out.write("k2,k1\n3,2\n");
  EXPECT_EQ(out.keep_partial(), dir_ / "atlas.csv.partial");
  EXPECT_EQ(names(), std::vector<std::string>{"atlas.csv.partial"});
  EXPECT_EQ(content(dir_ / "atlas.csv.partial"), "k2,k1\n3,2\n");
}

TEST_F(OutputFileTest, RefusalsNameTheFile) {
  try {
    OutputFile out(dir_);
    FAIL() << "a directory was taken as the output file";
  } catch (const OutputFailure& e) {
    EXPECT_NE(std::string(e.what()).find("is a directory"), std::string::npos) << e.what();
  }
  try {
    OutputFile out(dir_ / "no-such-dir" / "atlas.csv");
    FAIL() << "a file in a missing directory was opened";
  } catch (const OutputFailure& e) {
    EXPECT_NE(std::string(e.what()).find("no-such-dir/atlas.csv: cannot create"), std::string::npos)
        << e.what();
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
  }
}

TEST_F(OutputFileTest, ALinkLeadingNowhereCreatesItsTargetAndAPartialGoesBesideIt) {
  fs::create_directory(dir_ / "runs");
  fs::create_symlink("runs/atlas.csv", dir_ / "latest.csv");
  {
    OutputFile out(dir_ / "latest.csv");
    out.write("k2,k1\n");
    EXPECT_EQ(out.keep_partial(), dir_ / "runs" / "atlas.csv.partial");
  }
  OutputFile out(dir_ / "latest.csv");
  out.write("k2,k1\n3,2\n");
  out.commit();
  EXPECT_TRUE(fs::is_symlink(dir_ / "latest.csv"));
  EXPECT_EQ(content(dir_ / "runs" / "atlas.csv"), "k2,k1\n3,2\n");
}

}  // namespace
}  // namespace tandem::common
