#pragma once
// A survey run in pieces (--shard I/N: the bodies whose 1-based place i in the file has
// (i - 1) mod N == I - 1), and the merge of its parts into the catalogue one process writes.
//
// A part is not a catalogue: it opens with a line naming the survey it belongs to (the JSON
// object {"tandem_survey_part": {...}}, after "# tandem-survey part " in CSV, whose header
// row follows), then before each body's rows a line {"tandem_survey_body": i} ("# body i"
// in CSV), and ends with {"tandem_survey_end": n} ("# end n"), n the number of bodies in
// the file, written only when the part is complete. The identity holds the version, the
// format, the options that decide the rows, the planets file's bytes, and the bodies
// file's length and FNV-1a hash. The merge checks that the parts are the N parts of one
// survey, each once and complete, and copies the rows in the file's order: the merged
// catalogue is byte for byte what one process writes.

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/catalogue.hpp"
#include "nlohmann/json.hpp"

namespace tandem::survey_program {

struct PartShard {
  int index = 1;
  int count = 1;
};

// The identity's fields other than the shard; filled by the caller.
using SurveyIdentity = nlohmann::ordered_json;

std::string part_first_line(const SurveyIdentity& id, const PartShard& shard,
                            common::Format format);
std::string part_body_line(std::size_t body, common::Format format);  // 1-based
std::string part_end_line(std::size_t bodies, common::Format format);

// The length and FNV-1a 64-bit hash of a file's bytes, as "<length>:<hex>".
std::string file_fingerprint(const std::filesystem::path& file);

class SurveyMergeRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the merged catalogue through `write` (called with each piece of text).
void merge_survey_parts(const std::vector<std::filesystem::path>& parts,
                        const std::function<void(const std::string&)>& write);

}  // namespace tandem::survey_program
