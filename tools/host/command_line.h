// The arguments of one verb: positional arguments and "--name value" / "--name=value"
// options from a list the verb declares. "--" ends the options.
#pragma once

#include <map>
#include <string>
#include <vector>

struct OptionSpec {
  const char* name;  // without the leading dashes
  bool takesValue;
};

class CommandLine {
 public:
  // False with a reason for an undeclared option, a missing value, a value given to a
  // flag, or an option given twice.
  bool parse(const std::vector<std::string>& arguments, const std::vector<OptionSpec>& specs, std::string& error);

  const std::vector<std::string>& positionals() const { return positional; }
  bool has(const std::string& name) const { return options.count(name) != 0; }
  // The option's value, or `fallback` when it was not given.
  std::string value(const std::string& name, const std::string& fallback = std::string()) const;

 private:
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
};
