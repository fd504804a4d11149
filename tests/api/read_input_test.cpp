// The library's reader of tandem.inp: the program's reader and checks, with messages that
// name the file, the line and the item, the name of the case (line 1), and the warning for
// values left over on a planet line.

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "tandem/files.hpp"

namespace tandem {
namespace {

using testing::ScratchDir;

struct Refusal {
  InputFileError::Kind kind;
  int line;
  std::optional<Item> item;
  std::string what;
};

Refusal refusal_of(const ScratchDir& dir, const std::string& text) {
  dir.write("case.inp", text);
  const std::string file = (dir.path() / "case.inp").string();
  try {
    read_input(file);
  } catch (const InputFileError& e) {
    std::string what = e.what();
    EXPECT_EQ(what.rfind(file + ": ", 0), 0u) << what;
    return {e.kind(), e.line(), e.item(), what.substr(file.size() + 2)};
  }
  return {};
}

TEST(ReadInput, MalformedAndRefusedFilesNameTheLineAndTheItem) {
  ScratchDir dir;
  const std::string head = "case\n1.0\nelements\n";
  const auto node = refusal_of(dir, head + "3.97 0.1 5 x 30 1e-9\n5.2 0.05 1 100 15 1e-3\n");
  EXPECT_EQ(node.kind, InputFileError::Kind::malformed);
  EXPECT_EQ(node.item, Item::planet1_node);
  EXPECT_EQ(node.what,
            "line 4, the longitude of the node of planet 1: invalid number: incomprehensible list "
            "input");
  // Planet 1's line holds five numbers: its mass comes from line 5, and planet 2's read
  // meets the end of the file after it.
  const auto short_file = refusal_of(dir, head + "3.97 0.1 5 100 30\n5.2 0.05 1 100 15 1e-3\n");
  EXPECT_EQ(short_file.what, "line 6, the semi-major axis of planet 2: list in: end of file");
  const auto e2 = refusal_of(dir, head + "3.97 0.1 5 100 30 1e-9\n\n5.2 1.5 1 100 15 1e-3\n");
  EXPECT_EQ(e2.kind, InputFileError::Kind::refused);
  EXPECT_EQ(e2.line, 6);
  EXPECT_EQ(e2.what, "line 6: the eccentricity of planet 2 must lie in 0 <= e < 1, but it is 1.5");
  const auto missing = refusal_of(dir,
                                  "case\n/\nelements\n3.97 0.1 5 100 30 1e-9\n"
                                  "5.2 0.05 1 100 15 1e-3\n");
  EXPECT_EQ(missing.what,
            "line 2: the star mass has no value (a null value or a slash left it unset)");
  const auto none = refusal_of(dir, "");
  EXPECT_EQ(none.line, 1);
  EXPECT_EQ(none.what, "line 1, the comment line: list in: end of file");
}

TEST(ReadInput, NameOfTheCaseAndValuesLeftOver) {
  ScratchDir dir;
  dir.write("case.inp",
            "Hilda case, with Jupiter\r\n1.0\nelements\n3.97 0.1 5 100 30 6,6e-9\n"
            "5.2 0.048 1.3 100.5 14.7 9.5e-4  Jupiter, 2021\n");
  const InputFile in = read_input(dir.path() / "case.inp");
  EXPECT_EQ(in.name, "Hilda case, with Jupiter");
  EXPECT_EQ(in.system.planet1.mass, 6.0);  // as the program reads it
  ASSERT_EQ(in.warnings.size(), 1u);       // a remark after planet 2's values is no value
  EXPECT_NE(in.warnings[0].find("line 4: values left over after the six of planet 1"),
            std::string::npos)
      << in.warnings[0];
  EXPECT_NE(in.warnings[0].find("\"6e-9\""), std::string::npos) << in.warnings[0];
}

}  // namespace
}  // namespace tandem
