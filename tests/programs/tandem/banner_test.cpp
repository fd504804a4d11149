#include "banner.hpp"

#include <gtest/gtest.h>

namespace tandem {
namespace {

TEST(Banner, LinesHaveTheirExactLengths) {
  const std::size_t lengths[12] = {54, 35, 52, 48, 46, 46, 47, 54, 42, 39, 54, 54};
  for (std::size_t i = 0; i < banner_lines.size(); ++i) {
    EXPECT_EQ(banner_lines[i].size(), lengths[i]) << "banner line " << i + 1;
  }
  EXPECT_EQ(banner_lines[0], std::string(54, '-'));
  EXPECT_EQ(banner_lines[10], banner_lines[0]);
}

}  // namespace
}  // namespace tandem
