#pragma once
// The two text layouts of configuration documents, and parsing.
//
// Every document the program writes (to files, to devices, to the model library)
// goes through Render(); the exact bytes matter because devices and stored files
// compare them. Parsing is nlohmann's and never throws to the caller.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::json {

// A document tree. Member order is kept as read or as inserted.
using Json = nlohmann::ordered_json;

enum class Layout {
    Compact,  // no blanks or line breaks between tokens (devices, model library)
    Indented, // one member or element per line, tab indentation, CR LF (files, display)
};

std::string Render(const Json &value, Layout layout);
inline std::string RenderCompact(const Json &value)
{
    return Render(value, Layout::Compact);
}
inline std::string RenderIndented(const Json &value)
{
    return Render(value, Layout::Indented);
}

// A number in general decimal format: at most 15 significant digits, a full stop,
// no trailing zeros; an exponent ("1E20", "1.5E-7") only for values of 1e15 and
// above or below 1e-5 in magnitude.
std::string FormatNumber(double value);

// Where and why parsing stopped. Line and column count from 1; the column counts bytes.
struct ParseError {
    std::size_t offset = 0;
    std::size_t line = 1;
    std::size_t column = 1;
    std::string reason; // Russian, for messages shown to the user
};

// Parses any JSON value. Returns nothing for text that is not valid JSON
// (including bytes that are not UTF-8 inside strings).
std::optional<Json> Parse(std::string_view text, ParseError *error = nullptr);

// Parses text whose root must be an object; anything else gives nothing.
std::optional<Json> ParseObject(std::string_view text, ParseError *error = nullptr);

} // namespace vantor::json
