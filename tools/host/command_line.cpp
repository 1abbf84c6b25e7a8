#include "tools/host/command_line.h"

namespace {

const OptionSpec* findSpec(const std::vector<OptionSpec>& specs, const std::string& name) {
  for (const OptionSpec& spec : specs) {
    if (name == spec.name) return &spec;
  }
  return nullptr;
}

}  // namespace

bool CommandLine::parse(const std::vector<std::string>& arguments, const std::vector<OptionSpec>& specs,
                        std::string& error) {
  positional.clear();
  options.clear();
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
      positional.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const OptionSpec* spec = findSpec(specs, name);
    if (spec == nullptr) {
      error = "unknown option --" + name;
      return false;
    }
    if (options.count(name) != 0) {
      error = "--" + name + " given twice";
      return false;
    }
    std::string value;
    if (equals != std::string::npos) {
      if (!spec->takesValue) {
        error = "--" + name + " takes no value";
        return false;
      }
      value = argument.substr(equals + 1);
    } else if (spec->takesValue) {
      if (i + 1 >= arguments.size()) {
        error = "--" + name + " needs a value";
        return false;
      }
      value = arguments[++i];
    }
    options[name] = value;
  }
  return true;
}

std::string CommandLine::value(const std::string& name, const std::string& fallback) const {
  const auto found = options.find(name);
  return found != options.end() ? found->second : fallback;
}
