#pragma once
// The two things tandem-scan does once its command line is read: a scan (or one part of
// it) written as a catalogue, and the merge of the parts of a scan.
//
// Exit statuses: 0 done; 1 interrupted (Ctrl-C, SIGTERM or SIGHUP; the rows finished are
// kept in <output>.partial, or were written through to standard output or a device); 2 the
// input file refused, an output that cannot be written, a curve that cannot be written (the
// rows finished kept as on an interrupt), or parts that do not make one scan.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/catalogue.hpp"
#include "scan/request.hpp"
#include "tandem/verify.hpp"

namespace tandem::scan {

struct ScanSettings {
  std::filesystem::path input = "tandem.inp";
  ScanRequest request;
  std::optional<Shard> shard;
  common::Format format = common::Format::csv;
  std::filesystem::path output;  // empty: standard output
  std::filesystem::path curves;  // empty: none
  unsigned threads = 0;          // 0: every processor the process may use
  bool list_only = false;        // print the resonances and their placed axes, compute nothing
  bool progress = false;         // the progress line on standard error
  // --verify: each row also gets the N-body check of its stable equilibria.
  std::optional<VerifyOptions> verify;
};

int scan_command(const ScanSettings& settings);
int merge_command(const std::vector<std::filesystem::path>& parts,
                  const std::filesystem::path& output);

}  // namespace tandem::scan
