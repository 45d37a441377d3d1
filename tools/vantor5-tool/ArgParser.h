#pragma once
// A small command-line parser for the tool's subcommands: flags, options with a
// value ("-o FILE", "--output=FILE") and positional arguments, with Russian help.

#include <map>
#include <string>
#include <vector>

namespace vantor::tool {

class ArgParser {
public:
    ArgParser(std::string usage, std::string description);

    // names: "-o|--output" style aliases; the first long name is the key for Has/Value.
    void AddFlag(const std::string &names, const std::string &help);
    void AddOption(const std::string &names, const std::string &valueName, const std::string &help);

    // False on a usage error; Error() then says what is wrong.
    bool Parse(const std::vector<std::string> &args);

    bool HelpRequested() const { return help_; }
    bool Has(const std::string &key) const;
    std::string Value(const std::string &key, const std::string &fallback = {}) const;
    const std::vector<std::string> &Positionals() const { return positionals_; }
    const std::string &Error() const { return error_; }
    std::string HelpText() const;

private:
    struct Option {
        std::vector<std::string> names;
        std::string key;
        std::string valueName; // empty for a flag
        std::string help;
    };
    void Add(const std::string &names, const std::string &valueName, const std::string &help);
    const Option *Find(const std::string &name) const;

    std::string usage_;
    std::string description_;
    std::vector<Option> options_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> positionals_;
    std::string error_;
    bool help_ = false;
};

} // namespace vantor::tool
