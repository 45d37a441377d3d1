#include "JsonClass.h"

#include <cstring>
#include <limits>

namespace vantor::model {
namespace {

inline bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// p is on an opening quote. Returns the position of the closing quote, or end when
// the string is not closed. A backslash protects the character after it.
inline const char *SkipString(const char *p, const char *end)
{
    for (++p; p < end; ++p) {
        const char c = *p;
        if (c == '"')
            return p;
        if (c == '\\' && ++p >= end)
            break;
    }
    return end;
}

// Looks for the bracket that closes a container whose content starts at p. "[" and
// "{" are counted separately. Returns its position; end when the text ends first;
// null when a closing bracket would make its own count negative (or closes the
// container while the other kind is still open).
const char *FindClose(const char *p, const char *end, char closer)
{
    std::size_t squares = 0;
    std::size_t braces = 0;
    for (; p < end; ++p) {
        switch (*p) {
        case '"':
            p = SkipString(p, end);
            if (p >= end)
                return end;
            break;
        case '[': ++squares; break;
        case '{': ++braces; break;
        case ']':
            if (squares == 0)
                return closer == ']' && braces == 0 ? p : nullptr;
            --squares;
            break;
        case '}':
            if (braces == 0)
                return closer == '}' && squares == 0 ? p : nullptr;
            --braces;
            break;
        default: break;
        }
    }
    return end;
}

// End of a scalar that starts at p: the first comma or "}" at depth 0 outside strings.
const char *ScalarEnd(const char *p, const char *end)
{
    std::size_t depth = 0;
    for (; p < end; ++p) {
        switch (*p) {
        case '"':
            p = SkipString(p, end);
            if (p >= end)
                return end;
            break;
        case '[':
        case '{': ++depth; break;
        case ']':
            if (depth > 0)
                --depth;
            break;
        case '}':
            if (depth == 0)
                return p;
            --depth;
            break;
        case ',':
            if (depth == 0)
                return p;
            break;
        default: break;
        }
    }
    return end;
}

// The position after the first comma at depth 0 outside strings, or null.
const char *AfterComma(const char *p, const char *end)
{
    std::size_t depth = 0;
    for (; p < end; ++p) {
        switch (*p) {
        case '"':
            p = SkipString(p, end);
            if (p >= end)
                return nullptr;
            break;
        case '[':
        case '{': ++depth; break;
        case ']':
        case '}':
            if (depth > 0)
                --depth;
            break;
        case ',':
            if (depth == 0)
                return p + 1;
            break;
        default: break;
        }
    }
    return nullptr;
}

} // namespace

JsonClass JsonClass::Make(const char *first, const char *end)
{
    if (first == nullptr || end == nullptr || first >= end)
        return {};
    while (first < end && IsBlank(*first))
        ++first;
    while (end > first && IsBlank(end[-1]))
        --end;
    if (first == end)
        return {};
    if (*first == '[') {
        const char *close = FindClose(first + 1, end, ']');
        if (close == nullptr || close == end)
            return {};
        return {Array, first + 1, close};
    }
    if (*first == '{') {
        const char *close = FindClose(first + 1, end, '}');
        if (close == nullptr)
            return {};
        return {close == end ? None : Object, first + 1, close};
    }
    return {Scalar, first, ScalarEnd(first, end)};
}

JsonClass JsonClass::Member(std::string_view key) const
{
    if (kind_ == Scalar || kind_ == Array || begin_ == nullptr)
        return {};
    const char *const end = end_;
    std::size_t depth = 0;
    bool expectKey = true; // at the start of the span or after a comma at depth 0
    for (const char *p = begin_; p < end; ++p) {
        switch (*p) {
        case '"': {
            const char *close = SkipString(p, end);
            if (close >= end)
                return {};
            if (depth == 0 && expectKey) {
                expectKey = false;
                const std::size_t length = static_cast<std::size_t>(close - p - 1);
                if (length == key.size() && std::memcmp(p + 1, key.data(), length) == 0) {
                    // The value follows the next colon at depth 0.
                    std::size_t inner = 0;
                    for (const char *q = close + 1; q < end; ++q) {
                        switch (*q) {
                        case '"':
                            q = SkipString(q, end);
                            if (q >= end)
                                return {};
                            break;
                        case '[':
                        case '{': ++inner; break;
                        case ']':
                        case '}':
                            if (inner == 0)
                                return {};
                            --inner;
                            break;
                        case ':':
                            if (inner == 0)
                                return Make(q + 1, end);
                            break;
                        default: break;
                        }
                    }
                    return {};
                }
            }
            p = close;
            break;
        }
        case '[':
        case '{': ++depth; break;
        case ']':
        case '}':
            if (depth == 0)
                return {}; // closes past the object
            --depth;
            break;
        case ',':
            if (depth == 0)
                expectKey = true;
            break;
        default: break;
        }
    }
    return {};
}

JsonClass JsonClass::Element(std::size_t index) const
{
    JsonElements elements(*this);
    for (; index > 0; --index)
        elements.Advance();
    return elements.Current();
}

std::size_t JsonClass::Count() const
{
    return CountUpTo(std::numeric_limits<std::size_t>::max() - 1);
}

std::size_t JsonClass::CountUpTo(std::size_t limit) const
{
    std::size_t count = 0;
    for (JsonElements elements(*this); elements.Current().kind() != None && count <= limit;
         elements.Advance())
        ++count;
    return count;
}

std::string_view JsonClass::ScalarText() const
{
    const char *end = end_;
    while (end > begin_ && IsBlank(end[-1]))
        --end;
    return {begin_, static_cast<std::size_t>(end - begin_)};
}

std::int64_t JsonClass::Integer(std::int64_t def) const
{
    if (kind_ != Scalar)
        return def;
    const std::string_view text = ScalarText();
    if (text == "true")
        return 1;
    if (text == "false")
        return 0;
    // atol: leading white space, an optional sign, decimal digits; anything else stops.
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr std::uint64_t kMaxMagnitude = std::uint64_t{1} << 63; // |INT64_MIN|
    std::uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (magnitude > (kMaxMagnitude - digit) / 10)
            magnitude = kMaxMagnitude; // saturate, as strtol does
        else
            magnitude = magnitude * 10 + digit;
    }
    if (negative)
        return magnitude >= kMaxMagnitude ? std::numeric_limits<std::int64_t>::min()
                                          : -static_cast<std::int64_t>(magnitude);
    return magnitude >= kMaxMagnitude ? std::numeric_limits<std::int64_t>::max()
                                      : static_cast<std::int64_t>(magnitude);
}

bool JsonClass::Flag(bool def) const
{
    if (kind_ != Scalar)
        return def;
    const std::string_view text = ScalarText();
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    return Integer(0) != 0;
}

std::string_view JsonClass::String() const
{
    if (kind_ != Scalar)
        return {};
    const std::string_view text = ScalarText();
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return {};
    return text.substr(1, text.size() - 2);
}

JsonElements::JsonElements(const JsonClass &array)
{
    if (array.kind() != JsonClass::Array)
        return;
    end_ = array.end();
    next_ = array.begin();
    Advance();
}

void JsonElements::Advance()
{
    const char *start = next_;
    if (start == nullptr) {
        current_ = {};
        return;
    }
    current_ = JsonClass::Make(start, end_);
    switch (current_.kind()) {
    case JsonClass::Scalar: {
        // A scalar inside an array ends on its comma or on the array's end.
        const char *stop = current_.end();
        next_ = stop < end_ && *stop == ',' ? stop + 1 : nullptr;
        break;
    }
    case JsonClass::Array:
    case JsonClass::Object: next_ = AfterComma(current_.end() + 1, end_); break;
    default: next_ = AfterComma(start, end_); break;
    }
}

} // namespace vantor::model
