#include "input/input_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>

#include "api/input_check.hpp"
#include "support/console_text.hpp"
#include "support/program_run.hpp"

namespace tandem {
namespace {

using testing::banner_text;
using testing::fatal_report;
using testing::ScratchDir;

RawInput valid_raw() {
  RawInput raw;
  raw.mst = 1.0;
  raw.planet1 = {3.97, 0.10, 5.0, 100.0, 30.0, 1.0e-9};
  raw.planet2 = {5.2, 0.048, 1.3, 100.5, 14.7, 9.5e-4};
  return raw;
}

std::string refusal_of(const RawInput& raw) {
  try {
    checked_system(raw);
  } catch (const InputError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(CheckedSystem, PassesThePhysicalValuesOn) {
  const System s = checked_system(valid_raw());
  EXPECT_EQ(s.star_mass, 1.0);
  EXPECT_EQ(s.planet1.e, 0.10);
  EXPECT_EQ(s.planet1.mass, 1.0e-9);
  EXPECT_EQ(s.planet2.a, 5.2);
  EXPECT_EQ(s.planet2.peri, 14.7);
}

TEST(CheckedSystem, NamesTheItemAndItsValue) {
  RawInput raw = valid_raw();
  raw.planet1.ex = 1.5;
  EXPECT_EQ(refusal_of(raw),
            "tandem.inp: the eccentricity of planet 1 must lie in 0 <= e < 1, but it is 1.5");
  raw = valid_raw();
  raw.planet2.ex = 1.0;  // a parabola: outside the Kepler solver's domain
  EXPECT_EQ(refusal_of(raw),
            "tandem.inp: the eccentricity of planet 2 must lie in 0 <= e < 1, but it is 1");
  raw = valid_raw();
  raw.planet2.ex = -0.25;
  EXPECT_EQ(refusal_of(raw),
            "tandem.inp: the eccentricity of planet 2 must lie in 0 <= e < 1, but it is -0.25");
  raw = valid_raw();
  raw.mst = 0.0;
  EXPECT_EQ(refusal_of(raw), "tandem.inp: the star mass must be positive, but it is 0");
  raw = valid_raw();
  raw.planet2.sm = -1e-3;
  EXPECT_EQ(refusal_of(raw), "tandem.inp: the mass of planet 2 must be positive, but it is -0.001");
  raw = valid_raw();
  raw.planet2.se = 0.0;
  EXPECT_EQ(refusal_of(raw),
            "tandem.inp: the semi-major axis of planet 2 must be positive, but it is 0");
  raw = valid_raw();
  raw.planet1.yn = std::numeric_limits<double>::infinity();
  EXPECT_EQ(refusal_of(raw),
            "tandem.inp: the inclination of planet 1 must be a finite number, but it is Infinity");
  raw = valid_raw();
  raw.planet2.sm.reset();
  EXPECT_EQ(
      refusal_of(raw),
      "tandem.inp: the mass of planet 2 has no value (a null value or a slash left it unset)");
}

TEST(CheckedSystem, NeverLooksAtPlanetOnesSemiMajorAxis) {
  RawInput raw = valid_raw();
  raw.planet1.se.reset();
  EXPECT_EQ(refusal_of(raw), "accepted");
  raw.planet1.se = -7.0;
  EXPECT_EQ(refusal_of(raw), "accepted");
}

TEST(InputFile, MissingFileEndsTheRunAfterTheBanner) {
  ScratchDir dir;
  const auto r = dir.run("3 2\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, banner_text());
  EXPECT_EQ(r.err,
            fatal_report("open: No such file or directory\n", "1 named tandem.inp", "writing"));
  EXPECT_FALSE(dir.exists("resonance.dat"));
  EXPECT_FALSE(dir.exists("rsigma.dat"));
}

struct FileCase {
  const char* what;
  const char* content;
  const char* first_report_line;
};

// The run stops after the banner, before any prompt, with `err` on standard error, status
// 2 and no output file.
void expect_stop_before_dialogue(const FileCase& c, const std::string& err) {
  ScratchDir dir;
  dir.write("tandem.inp", c.content);
  const auto r = dir.run("3 2\n");
  EXPECT_EQ(r.status, 2) << c.what;
  EXPECT_EQ(r.out, banner_text()) << c.what;
  EXPECT_EQ(r.err, err) << c.what;
  EXPECT_FALSE(dir.exists("resonance.dat")) << c.what;
  EXPECT_FALSE(dir.exists("rsigma.dat")) << c.what;
}

TEST(InputFile, MalformedOrShortFilesEndTheRunWithTheReadReport) {
  const FileCase cases[] = {
      {"text for the star mass", "star\nheavy\nc\n1 2 3 4 5 6\n1 2 3 4 5 6\n",
       "invalid number: incomprehensible list input\n"},
      {"blank first comment line", "\n1.0\na e i\n1 .1 2 3 4 1e-9\n5 .1 2 3 4 1e-3\n",
       "invalid number: incomprehensible list input\n"},
      {"planet 2 missing", "star\n1.0\nc\n3.97 0.1 5 100 30 1e-9\n", "list in: end of file\n"},
      {"planet 1 line without a line end", "star\n1.0\nc\n3.97 0.1 5 100 30 1e-9",
       "read start: end of file\n"},
      {"five numbers on planet 1's line", "star\n1.0\nc\n3.97 0.1 5 100 30\n5.2 .05 1 2 3 1e-3\n",
       "list in: end of file\n"},
      {"blank second comment line", "star\n1.0\n\n3.97 0.1 5 100 30 1e-9\n5.2 .05 1 2 3 1e-3\n",
       "list in: end of file\n"},
      {"empty file", "", "list in: end of file\n"},
  };
  for (const auto& c : cases) {
    expect_stop_before_dialogue(c,
                                fatal_report(c.first_report_line, "1 named tandem.inp", "reading"));
  }
}

TEST(InputFile, RefusedValuesEndTheRunWithOneLineAndNoFile) {
  const FileCase cases[] = {
      {"eccentricity 1.5", "s\n1\nc\n4 1.5 5 100 30 1e-9\n5.2 .048 1.3 100.5 14.7 9.5e-4\n",
       "tandem.inp: the eccentricity of planet 1 must lie in 0 <= e < 1, but it is 1.5\n"},
      {"slash before the mass", "s\n1\nc\n4 .1 5 100 30 1e-9\n5.2 .048 1.3 100.5 14.7 /\n",
       "tandem.inp: the mass of planet 2 has no value (a null value or a slash left it unset)\n"},
      {"null star mass", "s\n,\nc\n4 .1 5 100 30 1e-9\n5.2 .048 1.3 100.5 14.7 9.5e-4\n",
       "tandem.inp: the star mass has no value (a null value or a slash left it unset)\n"},
      {"overflowing node", "s\n1\nc\n4 .1 5 1d400 30 1e-9\n5.2 .048 1.3 100.5 14.7 9.5e-4\n",
       "tandem.inp: the longitude of the node of planet 1 must be a finite number, but it is "
       "Infinity\n"},
  };
  for (const auto& c : cases) {
    expect_stop_before_dialogue(c, c.first_report_line);
  }
}

// The same system written in different ways gives byte-identical results.
TEST(InputFile, LayoutVariantsGiveIdenticalResults) {
  ScratchDir reference;
  reference.write("tandem.inp", testing::hilda_input);
  ASSERT_EQ(reference.run("3 2\n").status, 0);
  const auto table = reference.read("rsigma.dat");
  const auto summary = reference.read("resonance.dat");
  ASSERT_TRUE(table && summary);

  const FileCase variants[] = {
      {"commas, tabs and remarks",
       "'star, quoted'\n1.0  remark\na e i node peri mass\n3.97,0.10,5.0,\t100.0,30.0,1.0e-9 x\n"
       "5.2 0.048 1.3 100.5 14.7 9.5e-4 7 8\nextra line\n",
       nullptr},
      {"windows line ends",
       "star\r\n1.0\r\na e i node peri mass\r\n3.97 0.10 5.0 100.0 30.0 1.0e-9\r\n"
       "5.2 0.048 1.3 100.5 14.7 9.5e-4\r\n",
       nullptr},
      {"no final line end, other planet-1 axis, D exponent",
       "star\n1.0\na e i node peri mass\n1.5 0.10 5.0 100.0 30.0 1.0d-9\n"
       "5.2 0.048 1.3 100.5 14.7 9.5e-4",
       nullptr},
  };
  for (const auto& v : variants) {
    ScratchDir dir;
    dir.write("tandem.inp", v.content);
    const auto r = dir.run("3 2\n");
    EXPECT_EQ(r.status, 0) << v.what;
    EXPECT_EQ(dir.read("rsigma.dat"), table) << v.what;
    EXPECT_EQ(dir.read("resonance.dat"), summary) << v.what;
  }
}

// tandem.inp a FIFO whose writer sends two lines and closes: the run sees the end of the
// file, and stops with the usual report, instead of waiting for ever on a writer end of
// its own (timeout ends a run that hangs, with status 124).
TEST(InputFile, FifoThatDeliversAShortFile) {
  ScratchDir dir;
  const std::string fifo = (dir.path() / "tandem.inp").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  std::thread writer([&fifo] {
    // Opening without waiting fails until the run has opened its end; the writer gives up
    // after a minute rather than hang the test when the run never comes.
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 6000; ++tries) {
      fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    const std::string text = "star\n1.0\n";
    if (fd >= 0) {
      ::fcntl(fd, F_SETFL, 0);
      [[maybe_unused]] const ssize_t n = ::write(fd, text.data(), text.size());
      ::close(fd);
    }
  });
  const auto r = dir.run("3 2\n", {"timeout 60", ""});
  writer.join();
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, banner_text());
  EXPECT_EQ(r.err, fatal_report("list in: end of file\n", "1 named tandem.inp", "reading"));
}

// A comment word of 64 MiB (a sparse file: NUL bytes, which are no separator) and a star
// mass written with 4 MiB of digits, 1 followed by zeros and an exponent that takes them
// back: the run gives the Hilda case's files, byte for byte, in the memory of an ordinary
// run (collecting the word alone took 64 MiB).
TEST(InputFile, HugeWordAndNumberAreReadInBoundedMemory) {
  const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  ScratchDir normal;
  normal.write("tandem.inp", testing::hilda_input);
  testing::BackgroundRun ordinary(normal, "3 2\n", sink);
  const auto usual = ordinary.wait();
  ASSERT_EQ(usual.status, 0);

  ScratchDir dir;
  constexpr std::size_t word = std::size_t{64} << 20;
  constexpr std::size_t zeros = std::size_t{4} << 20;
  {
    std::ofstream f(dir.path() / "tandem.inp", std::ios::binary);
    f << 'w';
    f.seekp(static_cast<std::streamoff>(word));
    f << "\n1" << std::string(zeros, '0') << "e-" << zeros << "\n";
    f << "a e i node peri mass\n3.97 0.10 5.0 100.0 30.0 1.0e-9\n"
         "5.2 0.048 1.3 100.5 14.7 9.5e-4\n";
  }
  testing::BackgroundRun huge(dir, "3 2\n", sink);
  const auto r = huge.wait();
  ::close(sink);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(dir.read("resonance.dat"), normal.read("resonance.dat"));
  EXPECT_EQ(dir.read("rsigma.dat"), normal.read("rsigma.dat"));
  EXPECT_LT(r.max_rss_kb, usual.max_rss_kb + 16 * 1024)
      << "peak memory " << r.max_rss_kb << " KiB, an ordinary run " << usual.max_rss_kb << " KiB";
}

}  // namespace
}  // namespace tandem
