#include "dialogue.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/console_text.hpp"
#include "support/program_run.hpp"

namespace tandem {
namespace {

using testing::banner_text;
using testing::fatal_report;
using testing::prompt_text;
using testing::record;
using testing::ScratchDir;

TEST(Refusal, AcceptsOrderedFinitePairsUpToFifty) {
  EXPECT_FALSE(refusal(3.0, 2.0));
  EXPECT_FALSE(refusal(1.0, 1.0));
  EXPECT_FALSE(refusal(3.7, 2.2));
  EXPECT_FALSE(refusal(50.9, 49.0));  // the whole part, 50, is what counts
  EXPECT_FALSE(refusal(1.0, 0.5));
}

TEST(Refusal, NamesWhatIsWrong) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(refusal(std::nullopt, 2.0), "GIVE TWO NUMBERS, K2 AND K1");
  EXPECT_EQ(refusal(3.0, std::nullopt), "GIVE TWO NUMBERS, K2 AND K1");
  EXPECT_EQ(refusal(inf, 2.0), "K2 AND K1 MUST BE FINITE");
  EXPECT_EQ(refusal(2.0, 3.0), "I SAID K2 >= K1");
  EXPECT_EQ(refusal(0.0, 0.0), "K1 MUST BE > 0");
  EXPECT_EQ(refusal(2.0, -1.0), "K1 MUST BE > 0");
  EXPECT_EQ(refusal(0.9, 0.5), "K2 MUST BE >= 1");
  EXPECT_EQ(refusal(51.0, 2.0), "K2 MUST BE BELOW 51");
}

// Runs the Hilda example with the given answers and returns the console text that
// follows the banner, up to and including the line of three blanks.
struct DialogueRun {
  testing::ProgramResult result;
  std::string after_banner;
};

DialogueRun run_dialogue(const std::string& answers) {
  ScratchDir dir;
  dir.write("tandem.inp", testing::hilda_input);
  DialogueRun r{dir.run(answers), {}};
  const std::string banner = banner_text();
  if (r.result.out.compare(0, banner.size(), banner) == 0) {
    r.after_banner = r.result.out.substr(banner.size());
    const auto end = r.after_banner.find(std::string("\n") + record("   "));
    if (end != std::string::npos)
      r.after_banner.resize(end + 1 + record("   ").size());
  }
  return r;
}

const std::string three_two = record("sigma = 2*lambda1 -3*lambda2 + 1*varpi1") + record("   ");

TEST(Dialogue, AcceptsTheUsualWaysOfTypingThreeTwo) {
  // The last three are typed on a console that ends lines with carriage return and line feed.
  for (const char* answer : {"3 2\n", "3,2\n", "3 , 2\n", "3\n2\n", "3 2 7\n", "\n\n3\t2\n",
                             "3 2\r\n", "\r\n3,\r\n2\r\n", "3 2 7\r\n"}) {
    const DialogueRun r = run_dialogue(answer);
    EXPECT_EQ(r.result.status, 0) << answer;
    EXPECT_EQ(r.after_banner, prompt_text() + three_two) << answer;
  }
}

TEST(Dialogue, EqualNumbersAreAccepted) {
  const DialogueRun r = run_dialogue("1 1\n");
  EXPECT_EQ(r.result.status, 0);
  EXPECT_EQ(r.after_banner,
            prompt_text() + record("sigma = 1*lambda1 -1*lambda2 + 0*varpi1") + record("   "));
}

TEST(Dialogue, NonWholeAnswersAreTruncatedInTheCriticalAngle) {
  const DialogueRun r = run_dialogue("3.7 2.2\n");
  EXPECT_EQ(r.result.status, 0);
  EXPECT_EQ(r.after_banner, prompt_text() + three_two);
}

TEST(Dialogue, AsksAgainWhileK2IsBelowK1) {
  for (const char* answers : {"2 3\n3 2\n", "2 3\r\n3 2\r\n"}) {
    const DialogueRun r = run_dialogue(answers);
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.after_banner,
              prompt_text() + record("I SAID K2 >= K1") + prompt_text() + three_two);
  }
}

TEST(Dialogue, ANullOrSlashKeepsTheEarlierAnswer) {
  // After 2 3 is refused, 5/ gives K2 = 5 and keeps K1 = 3.
  const DialogueRun r = run_dialogue("2 3\n5/\n");
  EXPECT_EQ(r.result.status, 0);
  EXPECT_EQ(r.after_banner, prompt_text() + record("I SAID K2 >= K1") + prompt_text() +
                                record("sigma = 3*lambda1 -5*lambda2 + 2*varpi1") + record("   "));
}

TEST(Dialogue, RefusesAFirstAnswerThatLeavesAValueUnset) {
  for (const char* answer : {",2\n3 2\n", "3/\n3 2\n", "/\n3 2\n"}) {
    const DialogueRun r = run_dialogue(answer);
    EXPECT_EQ(r.result.status, 0) << answer;
    EXPECT_EQ(r.after_banner,
              prompt_text() + record("GIVE TWO NUMBERS, K2 AND K1") + prompt_text() + three_two)
        << answer;
  }
}

TEST(Dialogue, RefusesAnswersOutsideTheTableOrWithoutMeaning) {
  const struct {
    const char* answer;
    const char* why;
  } cases[] = {{"0 0\n", "K1 MUST BE > 0"},
               {"2 -1\n", "K1 MUST BE > 0"},
               {"0.5 0.25\n", "K2 MUST BE >= 1"},
               {"51 50\n", "K2 MUST BE BELOW 51"},
               {"1e999 2\n", "K2 AND K1 MUST BE FINITE"}};
  for (const auto& c : cases) {
    const DialogueRun r = run_dialogue(std::string(c.answer) + "3 2\n");
    EXPECT_EQ(r.result.status, 0) << c.answer;
    EXPECT_EQ(r.after_banner, prompt_text() + record(c.why) + prompt_text() + three_two)
        << c.answer;
  }
}

// The dialogue meets a fatal read error: the report on unit 5, status 2, and no output file.
void expect_read_failure(const std::string& answer, const std::string& console_after_banner,
                         const std::string& first_report_line) {
  ScratchDir dir;
  dir.write("tandem.inp", testing::hilda_input);
  const auto r = dir.run(answer);
  EXPECT_EQ(r.status, 2) << answer;
  EXPECT_EQ(r.out, banner_text() + console_after_banner) << answer;
  EXPECT_EQ(r.err, fatal_report(first_report_line, "5 (unnamed)", "reading")) << answer;
  EXPECT_FALSE(dir.exists("resonance.dat")) << answer;
  EXPECT_FALSE(dir.exists("rsigma.dat")) << answer;
}

TEST(Dialogue, AColonOrWordsEndTheRunWithTheReadReport) {
  for (const char* answer : {"3:2\n", "three two\n"}) {
    expect_read_failure(answer, prompt_text(), "invalid number: incomprehensible list input\n");
  }
}

TEST(Dialogue, EndOfInputEndsTheRunWithoutTouchingFiles) {
  expect_read_failure("", prompt_text(), "list in: end of file\n");
}

TEST(Dialogue, EndOfInputAfterARefusedLastLine) {
  // The refused answer has no line end: the next read meets the end-of-file flag.
  expect_read_failure("2 3", prompt_text() + record("I SAID K2 >= K1") + prompt_text(),
                      "read start: end of file\n");
}

}  // namespace
}  // namespace tandem
