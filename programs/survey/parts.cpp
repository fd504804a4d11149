#include "survey/parts.hpp"

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

namespace tandem::survey_program {
namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

constexpr const char* csv_part = "# tandem-survey part ";
constexpr const char* csv_body = "# body ";
constexpr const char* csv_end = "# end ";
constexpr const char* part_key = "tandem_survey_part";
constexpr const char* body_key = "tandem_survey_body";
constexpr const char* end_key = "tandem_survey_end";

[[noreturn]] void refuse(const fs::path& file, const std::string& why) {
  throw SurveyMergeRefused(file.string() + ": " + why);
}

// One part being read: its lines one at a time, the next marker looked at ahead.
struct PartReader {
  fs::path file;
  std::ifstream in;
  bool csv = true;
  ordered_json identity;
  int shard = 0;
  int shards = 0;
  std::string header;  // CSV header row with its line end
  std::string line;    // the line read ahead
  bool has_line = false;

  bool advance() {
    has_line = static_cast<bool>(std::getline(in, line));
    return has_line;
  }
  // The number of the marker in `line` of this kind, or nullopt.
  std::optional<long long> marker(const char* csv_prefix, const char* key) const {
    if (!has_line) {
      return std::nullopt;
    }
    if (csv) {
      if (line.rfind(csv_prefix, 0) != 0) {
        return std::nullopt;
      }
      try {
        return std::stoll(line.substr(std::string(csv_prefix).size()));
      } catch (const std::exception&) {
        return std::nullopt;
      }
    }
    const ordered_json j = ordered_json::parse(line, nullptr, false);
    if (!j.is_object() || !j.contains(key) || !j[key].is_number_integer()) {
      return std::nullopt;
    }
    return j[key].get<long long>();
  }
};

std::unique_ptr<PartReader> open_part(const fs::path& file) {
  auto p = std::make_unique<PartReader>();
  p->file = file;
  p->in.open(file, std::ios::binary);
  if (!p->in) {
    refuse(file, "cannot be opened");
  }
  if (!p->advance()) {
    refuse(file, "is empty");
  }
  ordered_json first;
  if (p->line.rfind(csv_part, 0) == 0) {
    first = ordered_json::parse(p->line.substr(std::string(csv_part).size()), nullptr, false);
  } else {
    p->csv = false;
    first = ordered_json::parse(p->line, nullptr, false);
  }
  if (!first.is_object() || !first.contains(part_key) || !first[part_key].is_object()) {
    refuse(file, "is not a part of a tandem-survey run (--shard)");
  }
  ordered_json id = first[part_key];
  if (!id.contains("shard") || !id.contains("shards") || !id["shard"].is_number_integer() ||
      !id["shards"].is_number_integer()) {
    refuse(file, "its first line names no shard");
  }
  p->shard = id["shard"].get<int>();
  p->shards = id["shards"].get<int>();
  id.erase("shard");
  id.erase("shards");
  p->identity = id;
  if (p->csv) {
    if (!p->advance()) {
      refuse(file, "has no header row");
    }
    p->header = p->line + "\n";
  }
  p->advance();
  return p;
}

}  // namespace

std::string part_first_line(const SurveyIdentity& id, const PartShard& shard,
                            common::Format format) {
  ordered_json full = {{"shard", shard.index}, {"shards", shard.count}};
  for (const auto& [k, v] : id.items()) {
    full[k] = v;
  }
  const ordered_json line = {{part_key, full}};
  return (format == common::Format::csv ? csv_part : "") + common::json_text(line) + "\n";
}

std::string part_body_line(std::size_t body, common::Format format) {
  if (format == common::Format::csv) {
    return csv_body + std::to_string(body) + "\n";
  }
  return "{\"" + std::string(body_key) + "\":" + std::to_string(body) + "}\n";
}

std::string part_end_line(std::size_t bodies, common::Format format) {
  if (format == common::Format::csv) {
    return csv_end + std::to_string(bodies) + "\n";
  }
  return "{\"" + std::string(end_key) + "\":" + std::to_string(bodies) + "}\n";
}

std::string file_fingerprint(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::uint64_t h = 14695981039346656037ull;
  std::uint64_t length = 0;
  char buf[1 << 16];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    for (std::streamsize k = 0; k < in.gcount(); ++k) {
      h = (h ^ static_cast<unsigned char>(buf[k])) * 1099511628211ull;
    }
    length += static_cast<std::uint64_t>(in.gcount());
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return std::to_string(length) + ":" + hex;
}

void merge_survey_parts(const std::vector<fs::path>& files,
                        const std::function<void(const std::string&)>& write) {
  if (files.empty()) {
    throw SurveyMergeRefused("no part to merge");
  }
  std::vector<std::unique_ptr<PartReader>> opened;
  for (const fs::path& f : files) {
    opened.push_back(open_part(f));
  }
  const PartReader& first = *opened.front();
  const int n = first.shards;
  std::vector<PartReader*> by_shard(static_cast<std::size_t>(std::max(n, 0)), nullptr);
  for (const auto& p : opened) {
    if (p->identity != first.identity || p->shards != n || p->csv != first.csv) {
      refuse(p->file, "belongs to another survey than " + first.file.string());
    }
    if (p->shard < 1 || p->shard > n) {
      refuse(p->file, "names shard " + std::to_string(p->shard) + " of " + std::to_string(n));
    }
    if (by_shard[static_cast<std::size_t>(p->shard - 1)]) {
      refuse(p->file, "is shard " + std::to_string(p->shard) + " again");
    }
    by_shard[static_cast<std::size_t>(p->shard - 1)] = p.get();
  }
  for (int k = 0; k < n; ++k) {
    if (!by_shard[static_cast<std::size_t>(k)]) {
      throw SurveyMergeRefused("shard " + std::to_string(k + 1) + " of " + std::to_string(n) +
                               " is missing");
    }
  }
  write(first.header);
  for (std::size_t body = 1;; ++body) {
    PartReader& p = *by_shard[(body - 1) % static_cast<std::size_t>(n)];
    if (const auto end = p.marker(csv_end, end_key)) {
      for (PartReader* q : by_shard) {
        const auto e = q->marker(csv_end, end_key);
        if (!e || *e != *end || static_cast<std::size_t>(*end) != body - 1) {
          refuse(q->file, "does not end where the other parts do");
        }
      }
      return;
    }
    const auto marker = p.marker(csv_body, body_key);
    if (!marker) {
      refuse(p.file, p.has_line ? "a line out of place" : "is incomplete (no end line)");
    }
    if (static_cast<std::size_t>(*marker) != body) {
      refuse(p.file,
             "body " + std::to_string(*marker) + " where " + std::to_string(body) + " was due");
    }
    while (p.advance() && !p.marker(csv_body, body_key) && !p.marker(csv_end, end_key)) {
      write(p.line + "\n");
    }
  }
}

}  // namespace tandem::survey_program
