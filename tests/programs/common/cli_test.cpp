// The command-line conventions: --version, --help with the examples, one line and the
// usage with status 2 on a bad argument, and the input file's refusals and warnings
// printed with the program's name.

#include "common/cli.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/input.hpp"
#include "tandem/version.hpp"

namespace tandem::common {
namespace {

ProgramText text() {
  return {"tandem-try",
          "Tries the conventions.",
          {"tandem-try [OPTIONS] K2:K1...", "tandem-try merge PART..."},
          "  tandem-try 3:2     one resonance\n"};
}

struct Outcome {
  std::optional<int> status;
  std::string out;
  std::string err;
};

Outcome run(std::vector<const char*> args) {
  auto app = make_app(text());
  int number = 0;
  app->add_option("--number", number, "A number (e.g. --number 3)");
  args.insert(args.begin(), "tandem-try");
  std::ostringstream out;
  std::ostringstream err;
  Outcome o;
  o.status = parse(*app, static_cast<int>(args.size()), args.data(), out, err);
  o.out = out.str();
  o.err = err.str();
  return o;
}

const std::string usage_lines =
    "Usage: tandem-try [OPTIONS] K2:K1...\n"
    "       tandem-try merge PART...\n"
    "Try 'tandem-try --help' for more information.\n";

TEST(Cli, VersionAndHelp) {
  const Outcome version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("tandem-try ") + tandem::version + "\n");
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: tandem-try [OPTIONS] K2:K1...\n"), std::string::npos);
  EXPECT_NE(help.out.find("(e.g. --number 3)"), std::string::npos);
  EXPECT_NE(help.out.find("Examples:\n  tandem-try 3:2     one resonance"), std::string::npos);
  EXPECT_TRUE(help.err.empty());
  EXPECT_FALSE(run({"--number", "4"}).status.has_value());
}

TEST(Cli, BadArgumentIsOneLineAndTheUsage) {
  for (const auto& args :
       {std::vector<const char*>{"--nonsense"}, std::vector<const char*>{"--number", "three"},
        std::vector<const char*>{"--number"}}) {
    const Outcome o = run(args);
    EXPECT_EQ(o.status, exit_usage);
    ASSERT_GT(o.err.size(), usage_lines.size()) << o.err;
    const std::string reason = o.err.substr(0, o.err.size() - usage_lines.size());
    EXPECT_EQ(reason.rfind("tandem-try: ", 0), 0U) << reason;
    EXPECT_EQ(std::count(reason.begin(), reason.end(), '\n'), 1) << reason;
    EXPECT_EQ(o.err.substr(reason.size()), usage_lines);
  }
  std::ostringstream err;
  EXPECT_EQ(usage_error(text(), "--a1 and --ratio exclude each other", err), exit_usage);
  EXPECT_EQ(err.str(), "tandem-try: --a1 and --ratio exclude each other\n" + usage_lines);
}

TEST(Cli, InputRefusalNamesTheFileAfterTheProgram) {
  namespace fs = std::filesystem;
  const fs::path file = fs::temp_directory_path() / "tandem-cli-test-refused.inp";
  std::ofstream(file) << "case\n1.0\nelements\n1 1.5 0 0 0 1e-9\n5.2 0.05 0 0 0 1e-3\n";
  std::ostringstream err;
  EXPECT_FALSE(load_input(file, "tandem-try", err).has_value());
  EXPECT_EQ(err.str(), "tandem-try: " + file.string() +
                           ": line 4: the eccentricity of planet 1 must lie in 0 <= e < 1, but "
                           "it is 1.5\n");
  fs::remove(file);
  std::ostringstream missing;
  EXPECT_FALSE(load_input(file, "tandem-try", missing).has_value());
  EXPECT_EQ(missing.str().rfind("tandem-try: " + file.string() + ": open: No such file", 0), 0U)
      << missing.str();
}

}  // namespace
}  // namespace tandem::common
