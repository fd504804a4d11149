#include "common/catalogue.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace tandem::common {
namespace {

using nlohmann::ordered_json;

std::string string_json(std::string_view text) {
  return ordered_json(std::string(text))
      .dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

// Walks the value so that its reals go through real_text: nlohmann-json's own printing
// writes 343.0 for 343 and does not promise the shortest form.
void append_json(const ordered_json& value, std::string& out) {
  switch (value.type()) {
    case ordered_json::value_t::object: {
      out += '{';
      bool first = true;
      for (const auto& [key, item] : value.items()) {
        if (!first) {
          out += ',';
        }
        first = false;
        out += string_json(key);
        out += ':';
        append_json(item, out);
      }
      out += '}';
      break;
    }
    case ordered_json::value_t::array: {
      out += '[';
      bool first = true;
      for (const auto& item : value) {
        if (!first) {
          out += ',';
        }
        first = false;
        append_json(item, out);
      }
      out += ']';
      break;
    }
    case ordered_json::value_t::number_float: {
      const double x = value.get<double>();
      out += std::isfinite(x) ? real_text(x) : "null";
      break;
    }
    default:
      out += value.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
      break;
  }
}

}  // namespace

std::string real_text(double x) {
  if (std::isnan(x)) {
    return "nan";  // whatever its sign bit: to_chars would write -nan for some
  }
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, res.ptr);
}

std::string json_text(const ordered_json& value) {
  std::string out;
  append_json(value, out);
  return out;
}

Cell real_cell(double x) {
  std::string text = real_text(x);
  return {text, std::isfinite(x) ? text : "null", Cell::Kind::real};
}

Cell integer_cell(long long n) {
  std::string text = std::to_string(n);
  return {text, text, Cell::Kind::integer};
}

Cell bool_cell(bool b) {
  return {b ? "true" : "false", b ? "true" : "false", Cell::Kind::boolean};
}

Cell text_cell(std::string_view text) {
  return {std::string(text), string_json(text), Cell::Kind::text};
}

Cell composite_cell(std::string csv, const ordered_json& json) {
  return {std::move(csv), json_text(json), Cell::Kind::composite};
}

std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    return std::string(text);
  }
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') {
      out += '"';
    }
    out += c;
  }
  out += '"';
  return out;
}

std::optional<std::vector<std::string>> csv_fields(std::string_view row) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  for (;;) {
    std::string field;
    if (at < row.size() && row[at] == '"') {
      for (++at;; ++at) {
        if (at == row.size()) {
          return std::nullopt;  // the quote is never closed
        }
        if (row[at] == '"') {
          if (at + 1 < row.size() && row[at + 1] == '"') {
            field += '"';
            ++at;
            continue;
          }
          ++at;
          break;
        }
        field += row[at];
      }
    } else {
      const std::size_t end = std::min(row.find(',', at), row.size());
      field.assign(row.substr(at, end - at));
      if (field.find('"') != std::string::npos) {
        return std::nullopt;
      }
      at = end;
    }
    fields.push_back(std::move(field));
    if (at == row.size()) {
      return fields;
    }
    if (row[at] != ',') {
      return std::nullopt;  // text after a closing quote
    }
    ++at;
  }
}

Catalogue::Catalogue(Format format, std::vector<std::string> columns)
    : format_(format), columns_(std::move(columns)) {}

std::string Catalogue::header() const {
  if (format_ == Format::jsonl) {
    return {};
  }
  std::string out;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (i != 0) {
      out += ',';
    }
    out += csv_field(columns_[i]);
  }
  return out + "\n";
}

std::string Catalogue::line(const std::vector<Cell>& cells) const {
  if (cells.size() != columns_.size()) {
    throw std::logic_error("a catalogue record has " + std::to_string(cells.size()) +
                           " cells for " + std::to_string(columns_.size()) + " columns");
  }
  std::string out;
  if (format_ == Format::csv) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i != 0) {
        out += ',';
      }
      out += csv_field(cells[i].csv);
    }
  } else {
    out += '{';
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i != 0) {
        out += ',';
      }
      out += string_json(columns_[i]);
      out += ':';
      out += cells[i].json;
    }
    out += '}';
  }
  return out + "\n";
}

}  // namespace tandem::common
