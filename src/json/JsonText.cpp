#include "json/JsonText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vantor::json {
namespace {

void AppendEscaped(std::string &out, const std::string &text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '"';
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\f': out += "\\f"; break;
        case '\r': out += "\\r"; break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0x0F];
            } else {
                out += ch; // every other byte, UTF-8 sequences included, as it is
            }
        }
    }
    out += '"';
}

void AppendScalar(std::string &out, const Json &value)
{
    switch (value.type()) {
    case Json::value_t::string: AppendEscaped(out, value.get_ref<const std::string &>()); break;
    case Json::value_t::boolean: out += value.get<bool>() ? "true" : "false"; break;
    case Json::value_t::number_integer: out += std::to_string(value.get<std::int64_t>()); break;
    case Json::value_t::number_unsigned: out += std::to_string(value.get<std::uint64_t>()); break;
    case Json::value_t::number_float: out += FormatNumber(value.get<double>()); break;
    default: out += "null"; break; // null, and the parser's "discarded" marker
    }
}

bool IsContainer(const Json &value)
{
    return value.is_object() || value.is_array();
}

// One open object or array while rendering: the node and the next member to write.
struct OpenContainer {
    const Json *node;
    std::size_t next;
};

void AppendLineBreak(std::string &out, std::size_t depth)
{
    out += "\r\n";
    out.append(depth, '\t');
}

} // namespace

std::string FormatNumber(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return "0";
    // 15 significant digits, rounded once: "d.dddddddddddddde[+-]x".
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string digits;
    digits += buffer[0];
    digits.append(buffer + 2, 14);
    const int exponent = std::atoi(buffer + 17);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out += digits;
        out.append(integerDigits - digits.size(), '0');
    } else {
        out.append(digits, 0, integerDigits);
        out += '.';
        out.append(digits, integerDigits);
    }
    return out;
}

std::string Render(const Json &root, Layout layout)
{
    const bool indented = layout == Layout::Indented;
    std::string out;
    // An explicit stack instead of recursion: documents nested thousands of levels
    // deep render without exhausting the call stack.
    std::vector<OpenContainer> open;

    auto begin = [&](const Json &value) {
        if (!IsContainer(value)) {
            AppendScalar(out, value);
        } else if (value.empty()) {
            out += value.is_object() ? "{}" : "[]";
        } else {
            out += value.is_object() ? '{' : '[';
            open.push_back({&value, 0});
        }
    };

    begin(root);
    while (!open.empty()) {
        const Json &node = *open.back().node;
        const std::size_t index = open.back().next;
        const std::size_t depth = open.size();
        if (index == node.size()) {
            open.pop_back();
            if (indented)
                AppendLineBreak(out, depth - 1);
            out += node.is_object() ? '}' : ']';
            continue;
        }
        if (index > 0)
            out += ',';
        if (indented)
            AppendLineBreak(out, depth);
        ++open.back().next;
        if (node.is_object()) {
            const auto &member =
                *(node.get_ref<const Json::object_t &>().begin() + static_cast<std::ptrdiff_t>(index));
            AppendEscaped(out, member.first);
            out += indented ? ": " : ":";
            begin(member.second);
        } else {
            begin(node.get_ref<const Json::array_t &>()[index]);
        }
    }
    return out;
}

namespace {

void Locate(std::string_view text, std::size_t offset, const char *reason, ParseError *error)
{
    if (!error)
        return;
    error->offset = offset;
    error->line = 1;
    error->column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++error->line;
            error->column = 1;
        } else {
            ++error->column;
        }
    }
    error->reason = reason;
}

} // namespace

std::optional<Json> Parse(std::string_view text, ParseError *error)
{
    // nlohmann stops at a NUL byte as if the text ended there ("123\0garbage" would
    // parse). A raw NUL is never valid JSON, so refuse it here.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
        Locate(text, nul, "недопустимый нулевой байт", error);
        return std::nullopt;
    }
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error &e) {
        // nlohmann counts the byte that stopped it from 1.
        Locate(text, e.byte > 0 ? e.byte - 1 : 0, text.empty() ? "пустой текст" : "неверный синтаксис JSON",
               error);
    } catch (const std::exception &) {
        if (error)
            error->reason = "текст не удалось разобрать";
    }
    return std::nullopt;
}

std::optional<Json> ParseObject(std::string_view text, ParseError *error)
{
    auto value = Parse(text, error);
    if (value && !value->is_object()) {
        if (error) {
            *error = ParseError{};
            error->reason = "корень документа не является объектом";
        }
        return std::nullopt;
    }
    return value;
}

} // namespace vantor::json
