#include "common/cli.hpp"

#include <ostream>
#include <utility>

#include "tandem/version.hpp"

namespace tandem::common {
namespace {

// "Usage: " and the synopsis lines, aligned under one another.
std::string synopsis(const ProgramText& text) {
  std::string out;
  for (std::size_t i = 0; i < text.usage.size(); ++i) {
    out += (i == 0 ? "Usage: " : "       ") + text.usage[i] + "\n";
  }
  return out;
}

// The usage block that follows the one-line reason of a bad argument.
std::string usage_block(const ProgramText& text) {
  return synopsis(text) + "Try '" + text.name + " --help' for more information.\n";
}

// The program's own synopsis at the top of --help; subcommands keep CLI11's.
class Formatter : public CLI::Formatter {
 public:
  explicit Formatter(ProgramText text) : text_(std::move(text)) {}
  std::string make_usage(const CLI::App* app, std::string name) const override {
    if (app->get_parent() != nullptr) {
      return CLI::Formatter::make_usage(app, std::move(name));
    }
    return "\n" + synopsis(text_);
  }

 private:
  ProgramText text_;
};

// CLI11 words some of its errors over several lines; the reason must stay one line.
std::string one_line(std::string reason) {
  for (char& c : reason) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  while (!reason.empty() && reason.back() == ' ') {
    reason.pop_back();
  }
  return reason;
}

}  // namespace

std::unique_ptr<CLI::App> make_app(const ProgramText& text) {
  auto app = std::make_unique<CLI::App>(text.description, text.name);
  app->set_version_flag("--version", text.name + " " + tandem::version,
                        "Print the program's name and version, then exit");
  app->set_help_flag("-h,--help", "Print this help, then exit");
  app->footer("Examples:\n" + text.examples);
  app->formatter(std::make_shared<Formatter>(text));
  app->failure_message([text](const CLI::App*, const CLI::Error& e) {
    return text.name + ": " + one_line(e.what()) + "\n" + usage_block(text);
  });
  return app;
}

std::optional<int> parse(CLI::App& app, int argc, const char* const* argv, std::ostream& out,
                         std::ostream& err) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == static_cast<int>(CLI::ExitCodes::Success) ? 0 : exit_usage;
  }
  return std::nullopt;
}

int usage_error(const ProgramText& text, std::string_view reason, std::ostream& err) {
  err << text.name << ": " << reason << "\n" << usage_block(text) << std::flush;
  return exit_usage;
}

}  // namespace tandem::common
