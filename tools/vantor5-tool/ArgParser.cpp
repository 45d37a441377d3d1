#include "ArgParser.h"

#include <sstream>

namespace vantor::tool {

ArgParser::ArgParser(std::string usage, std::string description)
    : usage_(std::move(usage)), description_(std::move(description))
{}

void ArgParser::AddFlag(const std::string &names, const std::string &help)
{
    Add(names, {}, help);
}

void ArgParser::AddOption(const std::string &names, const std::string &valueName, const std::string &help)
{
    Add(names, valueName, help);
}

void ArgParser::Add(const std::string &names, const std::string &valueName, const std::string &help)
{
    Option option;
    std::stringstream split(names);
    for (std::string name; std::getline(split, name, '|');)
        option.names.push_back(name);
    option.key = option.names.back();
    for (const auto &name : option.names)
        if (name.rfind("--", 0) == 0) {
            option.key = name;
            break;
        }
    option.valueName = valueName;
    option.help = help;
    options_.push_back(std::move(option));
}

const ArgParser::Option *ArgParser::Find(const std::string &name) const
{
    for (const auto &option : options_)
        for (const auto &alias : option.names)
            if (alias == name)
                return &option;
    return nullptr;
}

bool ArgParser::Parse(const std::vector<std::string> &args)
{
    bool onlyPositionals = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (onlyPositionals || arg == "-" || arg.empty() || arg[0] != '-') {
            positionals_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositionals = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            help_ = true;
            continue;
        }
        std::string name = arg;
        std::string inlineValue;
        bool hasInlineValue = false;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
            hasInlineValue = true;
        }
        const Option *option = Find(name);
        if (!option) {
            error_ = "неизвестный параметр " + name;
            return false;
        }
        if (option->valueName.empty()) {
            if (hasInlineValue) {
                error_ = "параметр " + name + " не принимает значения";
                return false;
            }
            values_[option->key] = "1";
        } else if (hasInlineValue) {
            values_[option->key] = inlineValue;
        } else if (i + 1 < args.size()) {
            values_[option->key] = args[++i];
        } else {
            error_ = "параметру " + name + " нужно значение " + option->valueName;
            return false;
        }
    }
    return true;
}

bool ArgParser::Has(const std::string &key) const
{
    return values_.count(key) != 0;
}

std::string ArgParser::Value(const std::string &key, const std::string &fallback) const
{
    const auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}

std::string ArgParser::HelpText() const
{
    std::string text = "Использование: vantor5-tool " + usage_ + "\n\n" + description_ + "\n";
    if (!options_.empty())
        text += "\nПараметры:\n";
    for (const auto &option : options_) {
        std::string left = "  ";
        for (std::size_t i = 0; i < option.names.size(); ++i)
            left += (i ? ", " : "") + option.names[i];
        if (!option.valueName.empty())
            left += " " + option.valueName;
        if (left.size() < 28)
            left.append(28 - left.size(), ' ');
        else
            left += "\n" + std::string(28, ' ');
        text += left + option.help + "\n";
    }
    text += "  -h, --help                  эта справка\n";
    return text;
}

} // namespace vantor::tool
