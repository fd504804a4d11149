// Units, files and the fatal report.
#include "textio/record_layer.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "io_fixture.hpp"
#include "textio/signal_cut.hpp"

namespace tandem::textio {
namespace {

using testing::contents;
using testing::failure_of;
using testing::LayerOnPipe;
using testing::put;
using testing::report_of;
using testing::ScratchDir;

class RecordLayerFiles : public ::testing::Test {
 protected:
  ScratchDir dir;
  LayerOnPipe layer{""};
};

TEST_F(RecordLayerFiles, MissingInputFileGivesTheFullReport) {
  layer->write_list(6, {" banner"});
  const std::string name = dir.path("tandem.inp");
  EXPECT_EQ(report_of([&] { layer->open(1, name, Status::old); }),
            "open: No such file or directory\n"
            "apparent state: unit 1 named " +
                name +
                "\n"
                "last format: list io\n"
                "lately writing sequential formatted external IO\n");
}

TEST_F(RecordLayerFiles, UnknownFileHoldsExactlyThisRunsRecords) {
  const std::string name = dir.path("rsigma.dat");
  put(name, "an older and much longer table\nwith two lines\n");
  layer->open(1, name, Status::unknown);
  layer->write_list(1, {"sigma", 1});
  layer->write_format(1, "(F7.2,A3)", {359.0, "ab"});
  layer->close(1);
  EXPECT_EQ(contents(name), " sigma 1\n 359.00 ab\n");
}

// Cut when obtained, not only at close: a run killed outright leaves no older row.
TEST_F(RecordLayerFiles, UnknownFileIsEmptiedWhenOpenedForWriting) {
  const std::string name = dir.path("rsigma.dat");
  put(name, "an older and much longer table\nwith two lines\n");
  layer->open(1, name, Status::unknown);
  EXPECT_EQ(contents(name), "");
  layer->write_list(1, {"row"});
  EXPECT_EQ(contents(name), " row\n");
}

// The catalogue is held under an exclusive lock from open to close, and records go to its
// end even when something else appended meanwhile; close never cuts it.
TEST_F(RecordLayerFiles, AppendUnitLocksTheFileAndWritesAtItsEnd) {
  const std::string name = dir.path("resonance.dat");
  put(name, "old\n");
  layer->open(2, name, Status::unknown, Access::append);
  const int other = ::open(name.c_str(), O_WRONLY | O_APPEND);
  EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), -1) << "the file is not locked";
  ASSERT_EQ(::write(other, "other\n", 6), 6);
  layer->write_list(2, {"mine"});
  ASSERT_EQ(::write(other, "later\n", 6), 6);
  layer->close(2);
  EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0) << "the lock outlives the unit";
  ::close(other);
  EXPECT_EQ(contents(name), "old\nother\n mine\nlater\n");
}

// An input file is only read; a device that never ends is refused after 16 MiB of one
// statement, not read for ever.
TEST_F(RecordLayerFiles, EndlessDeviceIsRefused) {
  layer->open(1, "/dev/zero", Status::old);
  std::string word;
  EXPECT_EQ(failure_of([&] {
              layer->read_list(1, {TextTarget{&word, 40}});
            }),
            "list in: more than 16 MiB in one read statement from a stream that is not a "
            "regular file");
}

TEST_F(RecordLayerFiles, AppendKeepsOldContentAndCreatesMissingFiles) {
  const std::string name = dir.path("resonance.dat");
  layer->open(2, name, Status::unknown, Access::append);
  layer->write_list(2, {"first run"});
  layer->close(2);
  layer->open(2, name, Status::unknown, Access::append);
  layer->write_list(2, {"second run"});
  layer->close(2);
  EXPECT_EQ(contents(name), " first run\n second run\n");
}

TEST_F(RecordLayerFiles, WritingAfterReadingStartsWhereReadingStopped) {
  const std::string name = dir.path("mixed");
  put(name, "1 extra\n2\n3\n");
  layer->open(1, name, Status::old);
  std::optional<double> value;
  layer->read_list(1, {&value});
  layer->write_list(1, {"x"});
  layer->close(1);
  EXPECT_EQ(value, 1.0);
  EXPECT_EQ(contents(name), "1 extra\n x\n");
}

TEST_F(RecordLayerFiles, ReadingAloneLeavesTheFileWhole) {
  const std::string name = dir.path("tandem.inp");
  put(name, "1\n2\n");
  layer->open(1, name, Status::old);
  std::optional<double> value;
  layer->read_list(1, {&value});
  layer->close(1);
  EXPECT_EQ(contents(name), "1\n2\n");
}

TEST_F(RecordLayerFiles, CloseAllCutsWrittenFiles) {
  const std::string name = dir.path("cut");
  put(name, "0123456789\n");
  layer->open(3, name, Status::unknown);
  layer->write_list(3, {"ab"});
  layer->close_all();
  EXPECT_EQ(contents(name), " ab\n");
}

// What a signal handler cuts: the files whose last statement wrote, and nothing the
// descriptor number means once the layer has closed it.
TEST_F(RecordLayerFiles, SignalCutTakesOnlyFilesBeingWritten) {
  const std::string table = dir.path("rsigma.dat"), input = dir.path("tandem.inp");
  put(table, "an older and much longer table\n");
  put(input, "1\n2\n");
  layer->open(1, table, Status::unknown);
  layer->write_list(1, {"new"});
  layer->open(2, input, Status::old);
  std::optional<double> value;
  layer->read_list(2, {&value});
  cut_written_files();
  EXPECT_EQ(contents(table), " new\n");
  EXPECT_EQ(contents(input), "1\n2\n");

  layer->close(1);
  const int reused = ::open(input.c_str(), O_RDWR);
  ::lseek(reused, 1, SEEK_SET);
  cut_written_files();
  ::close(reused);
  EXPECT_EQ(contents(input), "1\n2\n");
}

TEST_F(RecordLayerFiles, ReopeningAUnitClosesItsFormerFile) {
  const std::string first = dir.path("first"), second = dir.path("second");
  put(first, "stale tail\n");
  layer->open(1, first, Status::unknown);
  layer->write_list(1, {"a"});
  layer->open(1, second, Status::unknown);
  layer->write_list(1, {"b"});
  layer->close(1);
  EXPECT_EQ(contents(first), " a\n");
  EXPECT_EQ(contents(second), " b\n");
}

TEST_F(RecordLayerFiles, DirectoryIsNotAFile) {
  EXPECT_EQ(failure_of([&] { layer->open(1, dir.path(""), Status::unknown); }),
            "open: Is a directory");
}

TEST_F(RecordLayerFiles, UnknownUnits) {
  EXPECT_EQ(report_of([&] { layer->write_list(3, {1}); }),
            "list output start: unit not connected\napparent state: unit 3 (unnamed)\n"
            "last format: list io\nlately writing sequential formatted external IO\n");
  std::optional<double> v;
  EXPECT_EQ(failure_of([&] { layer->read_list(100, {&v}); }), "read start: illegal unit number");
}

// Unit 6 on a descriptor open for reading only: every write(2) fails.
TEST(RecordLayerOutput, FailedWritesAreReportedWithTheStatementsFormat) {
  LayerOnPipe layer("", ::open("/dev/null", O_RDONLY));
  EXPECT_EQ(report_of([&] { layer->write_format(6, "(F7.2)", {1.0}); }),
            "formatted out: Bad file descriptor\napparent state: unit 6 (unnamed)\n"
            "last format: (F7.2)\nlately writing sequential formatted external IO\n");
  EXPECT_EQ(report_of([&] { layer->write_list(6, {1}); }),
            "list out: Bad file descriptor\napparent state: unit 6 (unnamed)\n"
            "last format: list io\nlately writing sequential formatted external IO\n");
}

TEST(RecordLayerOutput, ReadErrorOfTheStreamIsReported) {
  const int write_only = ::open("/dev/null", O_WRONLY);
  {
    RecordLayer layer(write_only, write_only, write_only);
    std::optional<double> v;
    EXPECT_EQ(failure_of([&] { layer.read_list(5, {&v}); }), "list in: Bad file descriptor");
  }
  ::close(write_only);
}

TEST(RecordLayerOutput, FormatLineIsLeftOutOnceAFormattedWriteHasEnded) {
  LayerOnPipe layer("");
  layer->write_format(6, "(A3)", {"abc"});
  EXPECT_EQ(report_of([&] { layer->open(1, "/nonexistent-dir/x", Status::old); }),
            "open: No such file or directory\napparent state: unit 1 named /nonexistent-dir/x\n"
            "lately writing sequential formatted external IO\n");
  EXPECT_EQ(failure_of([&] { layer->write_format(6, "(A3", {"abc"}); }).substr(0, 15),
            "formatted out: ");
}

TEST(RecordLayerOutput, RecordsReachTheDescriptorWhole) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  {
    LayerOnPipe layer("", ends[1]);
    layer->write_list(6, {std::string(75, 'a'), 12345});
    layer->write_format(6, "(E16.8)", {-1.0e-5});
  }
  char buffer[256];
  const ssize_t n = ::read(ends[0], buffer, sizeof buffer);
  ::close(ends[0]);
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)),
            " " + std::string(75, 'a') + "\n 12345\n -0.10000000E-04\n");
}

}  // namespace
}  // namespace tandem::textio
