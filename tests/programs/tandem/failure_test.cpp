// Whole runs that meet a failure of the system around them: output files that cannot be
// created, written or cut or that reach the file-size limit, console streams that are
// full, closed or broken. Each ends
// with the fatal report and exit status 2, never 0, and the files keep what was written.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "support/console_text.hpp"
#include "support/program_run.hpp"

namespace tandem {
namespace {

namespace fs = std::filesystem;
using testing::fatal_report;
using testing::Launch;
using testing::record;
using testing::ScratchDir;

std::string system_text(int error) {
  return std::string(std::strerror(error)) + "\n";
}

// The first `count` lines of `text`.
std::string first_lines(const std::string& text, int count) {
  std::size_t end = 0;
  for (int i = 0; i < count && end != std::string::npos; ++i) {
    end = text.find('\n', end);
    end = end == std::string::npos ? end : end + 1;
  }
  return text.substr(0, end);
}

// The files and console of an undisturbed run of the Hilda case, to compare with.
struct NormalRun {
  std::string console;
  std::string summary;
  std::string table;
};

const NormalRun& normal_run() {
  static const NormalRun normal = [] {
    ScratchDir dir;
    dir.write("tandem.inp", testing::hilda_input);
    const auto r = dir.run("3 2\n");
    return NormalRun{r.out, dir.read("resonance.dat").value_or(""),
                     dir.read("rsigma.dat").value_or("")};
  }();
  return normal;
}

// The console up to the line of three blanks, after which the computation runs.
std::string console_before_computing() {
  const std::string& out = normal_run().console;
  const std::string three_blanks = std::string("\n").append(record("   "));
  return out.substr(0, out.find(three_blanks) + three_blanks.size());
}

// The head of the summary block: what resonance.dat holds when the table then fails.
std::string summary_head() {
  return first_lines(normal_run().summary, 13);
}

// A scratch directory holding the Hilda case's tandem.inp.
struct HildaDir : ScratchDir {
  HildaDir() { write("tandem.inp", testing::hilda_input); }
};

TEST(OutputFailure, FullDeviceUnderEitherFile) {
  {
    HildaDir dir;
    fs::create_symlink("/dev/full", dir.path() / "rsigma.dat");
    const auto r = dir.run("3 2\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              fatal_report("list out: " + system_text(ENOSPC), "1 named rsigma.dat", "writing"));
    EXPECT_EQ(r.out, console_before_computing());
    EXPECT_EQ(dir.read("resonance.dat"), summary_head()) << "the records already written remain";
  }
  {
    HildaDir dir;
    fs::create_symlink("/dev/full", dir.path() / "resonance.dat");
    const auto r = dir.run("3 2\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              fatal_report("list out: " + system_text(ENOSPC), "2 named resonance.dat", "writing"));
    EXPECT_FALSE(dir.exists("rsigma.dat"));
  }
}

TEST(OutputFailure, DirectoriesInPlaceOfFiles) {
  for (const char* name : {"resonance.dat", "rsigma.dat", "tandem.inp"}) {
    HildaDir dir;
    fs::remove(dir.path() / name);
    fs::create_directory(dir.path() / name);
    const auto r = dir.run("3 2\n");
    const std::string unit =
        std::string(name == std::string("resonance.dat") ? "2" : "1") + " named " + name;
    EXPECT_EQ(r.status, 2) << name;
    EXPECT_EQ(r.err, fatal_report("open: " + system_text(EISDIR), unit, "writing")) << name;
  }
}

// The text up to and including its last line end at or before `limit` bytes.
std::string whole_lines_within(const std::string& text, std::size_t limit) {
  const std::size_t end = text.rfind('\n', limit - 1);
  return end == std::string::npos ? "" : text.substr(0, end + 1);
}

// A write beyond the file-size limit fails with "File too large" (SIGXFSZ would have
// killed the run silently) and the record it tore is taken back: each file ends with its
// last whole record. The limit falls inside a record of resonance.dat, then inside a row
// of rsigma.dat.
TEST(OutputFailure, FileSizeLimitInsideARecord) {
  if (std::system("prlimit --fsize=100000 true 2>/dev/null") != 0) {
    GTEST_SKIP() << "prlimit (util-linux) cannot set the file-size limit here";
  }
  const std::string older = "catalogue of earlier runs\n";
  const std::size_t summary_limit = older.size() + summary_head().size() / 2;
  const std::size_t table_limit = 3000;
  // The console goes to /dev/null, where the limit does not apply.
  const auto limited = [](std::size_t bytes) {
    return Launch{"prlimit --fsize=" + std::to_string(bytes), ">/dev/null"};
  };
  ASSERT_NE(normal_run().summary[summary_limit - older.size() - 1], '\n');
  ASSERT_NE(normal_run().table[table_limit - 1], '\n');
  {
    HildaDir dir;
    dir.write("resonance.dat", older);
    const auto r = dir.run("3 2\n", limited(summary_limit));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              fatal_report("list out: " + system_text(EFBIG), "2 named resonance.dat", "writing"));
    EXPECT_EQ(dir.read("resonance.dat"),
              older + whole_lines_within(normal_run().summary, summary_limit - older.size()));
    EXPECT_FALSE(dir.exists("rsigma.dat"));
  }
  {
    HildaDir dir;
    const auto r = dir.run("3 2\n", limited(table_limit));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "formatted out: " + system_text(EFBIG) +
                         "apparent state: unit 1 named rsigma.dat\n"
                         "last format: (F7.2,E16.8,2A10)\n"
                         "lately writing sequential formatted external IO\n");
    EXPECT_EQ(dir.read("rsigma.dat"), whole_lines_within(normal_run().table, table_limit));
    EXPECT_EQ(dir.read("resonance.dat"), summary_head());
  }
}

// A device has no length to cut: the table written to /dev/null is not an error.
TEST(OutputFailure, TableSentToADeviceThatCannotBeCut) {
  HildaDir dir;
  fs::create_symlink("/dev/null", dir.path() / "rsigma.dat");
  const auto r = dir.run("3 2\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.read("resonance.dat"), normal_run().summary);
}

// A regular file that refuses to shrink: an older, longer table in a sealed memory file,
// reached through the test's own descriptor. The cut at close fails.
TEST(OutputFailure, TableThatCannotBeCut) {
  const int fd = ::memfd_create("older-table", MFD_ALLOW_SEALING);
  if (fd < 0) {
    GTEST_SKIP() << "memfd_create is not available: " << std::strerror(errno);
  }
  const std::string older(100000, 'z');
  ASSERT_EQ(::write(fd, older.data(), older.size()), static_cast<ssize_t>(older.size()));
  ASSERT_EQ(::fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK), 0) << std::strerror(errno);
  HildaDir dir;
  fs::create_symlink("/proc/" + std::to_string(::getpid()) + "/fd/" + std::to_string(fd),
                     dir.path() / "rsigma.dat");
  const auto r = dir.run("3 2\n");
  ::close(fd);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "endfile: truncation failed in endfile\napparent state: unit 1 named rsigma.dat\n"
            "lately writing sequential formatted external IO\n");
}

// CI runs as root, for whom permission bits do not stop a write: these runs drop to the
// unprivileged user nobody.
const std::string as_nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";

// Opens the directory to nobody (read-only, or writable) and tells whether nobody can run
// the program there at all.
bool nobody_can_run_in(const ScratchDir& dir, fs::perms directory_mode) {
  fs::permissions(dir.path(), directory_mode);
  const std::string probe = "cd '" + dir.path().string() + "' && " + as_nobody +
                            " sh -c 'test -x \"" TANDEM_EXE "\" && test -r tandem.inp' 2>/dev/null";
  return std::system(probe.c_str()) == 0;
}

constexpr fs::perms read_only_dir = fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec;
constexpr fs::perms open_dir = fs::perms::all;

#define SKIP_UNLESS_NOBODY_CAN_RUN(dir, mode)                                                  \
  if (!nobody_can_run_in(dir, mode))                                                           \
  GTEST_SKIP() << "cannot run the program as user nobody here (no setpriv, or the build tree " \
                  "is not readable by others)"

TEST(OutputFailure, ReadOnlyWorkingDirectory) {
  HildaDir dir;
  SKIP_UNLESS_NOBODY_CAN_RUN(dir, read_only_dir);
  const auto r = dir.run("3 2\n", {as_nobody, ""});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            fatal_report("open: " + system_text(EACCES), "2 named resonance.dat", "writing"));
  EXPECT_FALSE(dir.exists("resonance.dat"));
  EXPECT_FALSE(dir.exists("rsigma.dat"));
}

// An existing file that nobody may write is obtained for reading; the first write fails.
TEST(OutputFailure, ReadOnlyExistingFiles) {
  for (const char* name : {"rsigma.dat", "resonance.dat"}) {
    HildaDir dir;
    dir.write(name, "an older file\n");
    fs::permissions(dir.path() / name,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    SKIP_UNLESS_NOBODY_CAN_RUN(dir, open_dir);
    const auto r = dir.run("3 2\n", {as_nobody, ""});
    const bool table = name == std::string("rsigma.dat");
    EXPECT_EQ(r.status, 2) << name;
    EXPECT_EQ(r.err, fatal_report("list output start: can't write file\n",
                                  std::string(table ? "1" : "2") + " named " + name, "writing"))
        << name;
    EXPECT_EQ(dir.read(name), "an older file\n") << name;
    if (table) {
      EXPECT_EQ(dir.read("resonance.dat"), summary_head());
    }
  }
}

TEST(InputFailure, UnreadableInputFile) {
  HildaDir dir;
  SKIP_UNLESS_NOBODY_CAN_RUN(dir, read_only_dir);
  fs::permissions(dir.path() / "tandem.inp", fs::perms::none);
  const auto r = dir.run("3 2\n", {as_nobody, ""});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, testing::banner_text());
  EXPECT_EQ(r.err, fatal_report("open: " + system_text(EACCES), "1 named tandem.inp", "writing"));
}

// A file whose reading fails: the process's own memory read from address 0.
TEST(InputFailure, ReadErrorOfTheInputFile) {
  ScratchDir dir;
  fs::create_symlink("/proc/self/mem", dir.path() / "tandem.inp");
  const auto r = dir.run("3 2\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, testing::banner_text());
  EXPECT_EQ(r.err, fatal_report("list in: " + system_text(EIO), "1 named tandem.inp", "reading"));
}

// Root is stopped by a file system mounted read-only, in a mount namespace of the run's own.
TEST(OutputFailure, ReadOnlyFileSystem) {
  const std::string read_only_mount =
      "unshare -m sh -c 'mount --bind . . && mount -o remount,bind,ro . . && cd \"$PWD\" && "
      "exec \"$0\"'";
  {
    HildaDir dir;
    const std::string probe =
        "cd '" + dir.path().string() + "' && " + read_only_mount + " sh -c '! touch x' 2>/dev/null";
    if (std::system(probe.c_str()) != 0) {
      GTEST_SKIP() << "cannot mount a read-only file system here (unshare -m and mount need "
                      "CAP_SYS_ADMIN)";
    }
    const auto r = dir.run("3 2\n", {read_only_mount, ""});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              fatal_report("open: " + system_text(EROFS), "2 named resonance.dat", "writing"));
    EXPECT_FALSE(dir.exists("resonance.dat"));
  }
  {
    HildaDir dir;
    dir.write("resonance.dat", "catalogue\n");
    const auto r = dir.run("3 2\n", {read_only_mount, ""});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, fatal_report("list output start: can't write file\n", "2 named resonance.dat",
                                  "writing"));
    EXPECT_EQ(dir.read("resonance.dat"), "catalogue\n");
  }
}

TEST(ConsoleFailure, StandardOutputFullOrClosed) {
  const struct {
    const char* redirection;
    int error;
  } cases[] = {{">/dev/full", ENOSPC}, {">&-", EBADF}};
  for (const auto& c : cases) {
    HildaDir dir;
    const auto r = dir.run("3 2\n", {"", c.redirection});
    EXPECT_EQ(r.status, 2) << c.redirection;
    EXPECT_EQ(r.err, fatal_report("list out: " + system_text(c.error), "6 (unnamed)", "writing"))
        << c.redirection;
    EXPECT_FALSE(dir.exists("resonance.dat")) << c.redirection;
  }
}

TEST(ConsoleFailure, StandardInputClosed) {
  HildaDir dir;
  const auto r = dir.run("", {"", "<&-"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, fatal_report("list in: " + system_text(EBADF), "5 (unnamed)", "reading"));
}

// With standard error closed, resonance.dat would be the next file to get descriptor 2,
// and the report of a later failure would be appended to the catalogue.
TEST(ConsoleFailure, StandardErrorClosedKeepsTheReportOutOfTheFiles) {
  HildaDir dir;
  fs::create_directory(dir.path() / "rsigma.dat");
  const auto r = dir.run("3 2\n", {"", "2>&-"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(dir.read("resonance.dat"), summary_head());
}

// A reader that has gone (tandem | head -1) must not end the run silently by SIGPIPE.
TEST(ConsoleFailure, BrokenPipeOnStandardOutput) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  HildaDir dir;
  testing::BackgroundRun run(dir, "3 2\n", ends[1]);
  ::close(ends[1]);
  const auto r = run.wait();
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, fatal_report("list out: " + system_text(EPIPE), "6 (unnamed)", "writing"));
  EXPECT_FALSE(dir.exists("resonance.dat"));
}

}  // namespace
}  // namespace tandem
