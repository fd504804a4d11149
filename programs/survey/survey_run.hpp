#pragma once
// One survey, from the bodies file to the catalogue.
//
// Bodies are read as a stream and handed to worker threads, one whole body (every
// candidate's solve) per thread: a survey has thousands of bodies and a few candidates
// each, so whole bodies keep every thread busy without the cost of sharing one solve's
// sigma grid, and each result is the same bit for bit as tandem::solve on one thread.
// At most 16 bodies per thread are held at any time, so memory does not grow with the
// file. Rows are written in the file's order as they become ready.
//
// Ctrl-C or SIGTERM keeps the rows of the bodies finished so far ("<output>.partial").

#include <filesystem>
#include <optional>
#include <vector>

#include "common/catalogue.hpp"
#include "survey/parts.hpp"
#include "tandem/bodies.hpp"
#include "tandem/survey.hpp"
#include "tandem/survey_nbody.hpp"

namespace tandem::survey_program {

struct SurveySettings {
  std::filesystem::path bodies;  // "-" for standard input
  BodiesFormat bodies_format = BodiesFormat::detect;
  bool strict = false;
  std::optional<std::filesystem::path> planets_file;
  double star_mass = 1;
  SurveyOptions options;
  bool best = false;
  common::Format format = common::Format::csv;
  std::filesystem::path output;  // empty: standard output
  unsigned threads = 0;          // 0: every processor
  bool progress = false;
  std::optional<PartShard> shard;
  bool nbody = true;  // the N-body check of every row (survey/nbody_stage.hpp)
  NbodyOptions nbody_options;
};

// The exit status: 0, 1 after an interrupt, 2 after a failure (reported on standard error).
int run_survey(const SurveySettings& settings);

// tandem-survey merge: the parts into one catalogue (empty output: standard output).
int merge_survey(const std::vector<std::filesystem::path>& parts,
                 const std::filesystem::path& output);

}  // namespace tandem::survey_program
