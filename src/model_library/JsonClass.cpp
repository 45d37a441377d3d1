#include "JsonClass.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <limits>

namespace vantor::model {
namespace {

inline bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Character classes of the scans: each scan skips runs of characters it does not care
// about in a tight loop and looks closer only at the others.
enum CharClass : std::uint8_t {
    kQuote = 1,
    kBackslash = 2,
    kBracket = 4, // [ ] { }
    kComma = 8,
    kColon = 16,
};

struct CharClasses {
    std::uint8_t of[256] = {};
    constexpr CharClasses()
    {
        of[static_cast<unsigned char>('"')] = kQuote;
        of[static_cast<unsigned char>('\\')] = kBackslash;
        for (char c : {'[', ']', '{', '}'})
            of[static_cast<unsigned char>(c)] = kBracket;
        of[static_cast<unsigned char>(',')] = kComma;
        of[static_cast<unsigned char>(':')] = kColon;
    }
};
constexpr CharClasses kClasses;

// The first position at or after p whose character is in one of the classes of Mask,
// or end. Sixteen bytes at a time where the processor allows.
template <std::uint8_t Mask>
inline const char *SkipTo(const char *p, const char *end)
{
    // Most runs are short (numbers, brackets): look at a few bytes one by one first.
    for (const char *stop = end - p > 8 ? p + 8 : end; p < stop; ++p)
        if ((kClasses.of[static_cast<unsigned char>(*p)] & Mask) != 0)
            return p;
#if defined(__SSE2__)
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        __m128i hits = _mm_setzero_si128();
        const auto match = [&](char c) {
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)));
        };
        if constexpr ((Mask & kQuote) != 0)
            match('"');
        if constexpr ((Mask & kBackslash) != 0)
            match('\\');
        if constexpr ((Mask & kBracket) != 0) {
            match('[');
            match(']');
            match('{');
            match('}');
        }
        if constexpr ((Mask & kComma) != 0)
            match(',');
        if constexpr ((Mask & kColon) != 0)
            match(':');
        const int found = _mm_movemask_epi8(hits);
        if (found != 0)
            return p + __builtin_ctz(static_cast<unsigned>(found));
        p += 16;
    }
#endif
    while (p < end && (kClasses.of[static_cast<unsigned char>(*p)] & Mask) == 0)
        ++p;
    return p;
}

// p is on an opening quote. Returns the position of the closing quote, or end when
// the string is not closed. A backslash protects the character after it.
inline const char *SkipString(const char *p, const char *end)
{
    for (++p;; ++p) {
        p = SkipTo<kQuote | kBackslash>(p, end);
        if (p >= end)
            return end;
        if (*p == '"')
            return p;
        if (++p >= end) // the protected character
            return end;
    }
}

thread_local JsonScanCache *activeCache = nullptr;

// Looks for the bracket that closes a container whose content starts at p. "[" and
// "{" are counted separately. Returns its position; end when the text ends first;
// null when a closing bracket would make its own count negative (or closes the
// container while the other kind is still open).
//
// With a scan cache, a remembered container is answered at once, and the scan
// remembers the large containers it crosses while everything it has seen is properly
// nested (each closing bracket matches the latest open one): scanning from such a
// container's opening bracket would stop exactly at its closing one.
const char *ScanToClose(const char *p, const char *end, char closer, JsonScanCache *cache)
{
    std::size_t squares = 0;
    std::size_t braces = 0;
    constexpr std::size_t kTracked = 32; // nesting levels whose opening brackets are kept
    const char *opens[kTracked];
    std::size_t depth = 0;
    bool nested = cache != nullptr;
    for (;; ++p) {
        p = SkipTo<kQuote | kBracket>(p, end);
        if (p >= end)
            return end;
        const char c = *p;
        switch (c) {
        case '"':
            p = SkipString(p, end);
            if (p >= end)
                return end;
            continue;
        case '[': ++squares; break;
        case '{': ++braces; break;
        case ']':
            if (squares == 0)
                return closer == ']' && braces == 0 ? p : nullptr;
            --squares;
            break;
        default: // '}'
            if (braces == 0)
                return closer == '}' && squares == 0 ? p : nullptr;
            --braces;
            break;
        }
        if (!nested)
            continue;
        if (c == '[' || c == '{') {
            if (depth == kTracked)
                nested = false;
            else
                opens[depth++] = p;
        } else if (depth == 0 || *opens[depth - 1] != (c == ']' ? '[' : '{')) {
            nested = false;
        } else {
            const char *open = opens[--depth];
            if (p - open >= JsonScanCache::kMinLength)
                cache->Remember(open, p);
        }
    }
}

const char *FindClose(const char *p, const char *end, char closer)
{
    JsonScanCache *cache = activeCache;
    if (cache != nullptr) {
        const char *close = cache->Find(p - 1);
        if (close != nullptr && close < end) {
#if defined(VANTOR_MODEL_VERIFY_SCAN_CACHE)
            if (ScanToClose(p, end, closer, nullptr) != close)
                __builtin_trap();
#endif
            return close;
        }
    }
    return ScanToClose(p, end, closer, cache);
}

// End of a scalar that starts at p: the first comma or "}" at depth 0 outside strings.
const char *ScalarEnd(const char *p, const char *end)
{
    std::size_t depth = 0;
    for (;; ++p) {
        p = SkipTo<kQuote | kBracket | kComma>(p, end);
        if (p >= end)
            return end;
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
        default: // ','
            if (depth == 0)
                return p;
            break;
        }
    }
}

// The position after the first comma at depth 0 outside strings, or null.
const char *AfterComma(const char *p, const char *end)
{
    std::size_t depth = 0;
    for (;; ++p) {
        p = SkipTo<kQuote | kBracket | kComma>(p, end);
        if (p >= end)
            return nullptr;
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
        default: // ','
            if (depth == 0)
                return p + 1;
            break;
        }
    }
}

// After a key: the position after the next ":" at depth 0 outside strings; null when
// the text ends first or a bracket closes past the object.
const char *AfterColon(const char *p, const char *end)
{
    std::size_t depth = 0;
    for (;; ++p) {
        p = SkipTo<kQuote | kBracket | kColon>(p, end);
        if (p >= end)
            return nullptr;
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
            if (depth == 0)
                return nullptr;
            --depth;
            break;
        default: // ':'
            if (depth == 0)
                return p + 1;
            break;
        }
    }
}

} // namespace

JsonScanCache::JsonScanCache() : previous_(activeCache)
{
    activeCache = this;
}

JsonScanCache::~JsonScanCache()
{
    activeCache = previous_;
}

JsonScanCache *JsonScanCache::Active()
{
    return activeCache;
}

std::size_t JsonScanCache::SlotOf(const char *open)
{
    return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(open) * 0x9E3779B97F4A7C15ull) >> 53) %
           kSlots;
}

const char *JsonScanCache::Find(const char *open) const
{
    for (std::size_t slot = SlotOf(open);; slot = (slot + 1) % kSlots) {
        if (slots_[slot].open == open)
            return slots_[slot].close;
        if (slots_[slot].open == nullptr)
            return nullptr;
    }
}

void JsonScanCache::Remember(const char *open, const char *close)
{
    if (used_ >= kSlots * 3 / 4)
        return; // full enough: probing must stay short and always meet an empty slot
    std::size_t slot = SlotOf(open);
    while (slots_[slot].open != nullptr && slots_[slot].open != open)
        slot = (slot + 1) % kSlots;
    if (slots_[slot].open == nullptr)
        ++used_;
    slots_[slot] = {open, close};
}

// Make, written straight into view. Kept inline in the walks: returning the 24-byte
// view through memory and reading it back at once costs more than the scan of a
// short value.
__attribute__((always_inline)) inline void JsonClass::MakeInto(JsonClass &view, const char *first,
                                                               const char *end)
{
    view = {};
    if (first == nullptr || end == nullptr || first >= end)
        return;
    while (first < end && IsBlank(*first))
        ++first;
    while (end > first && IsBlank(end[-1]))
        --end;
    if (first == end)
        return;
    if (*first == '[') {
        const char *close = FindClose(first + 1, end, ']');
        if (close != nullptr && close != end)
            view = {Array, first + 1, close};
        return;
    }
    if (*first == '{') {
        const char *close = FindClose(first + 1, end, '}');
        if (close != nullptr)
            view = {close == end ? None : Object, first + 1, close};
        return;
    }
    view = {Scalar, first, ScalarEnd(first, end)};
}

JsonClass JsonClass::Make(const char *first, const char *end)
{
    JsonClass view;
    MakeInto(view, first, end);
    return view;
}

JsonClass JsonClass::Member(std::string_view key) const
{
    JsonClass value;
    FindMembers(&key, &value, 1);
    return value;
}

void JsonClass::FindMembers(const std::string_view *keys, JsonClass *values, std::size_t count) const
{
    for (std::size_t i = 0; i < count; ++i)
        values[i] = {};
    if (kind_ == Scalar || kind_ == Array || begin_ == nullptr || count == 0 || count > kMaxKeys)
        return;
    const char *const end = end_;
    std::size_t depth = 0;
    std::uint64_t missing =
        count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1; // keys not met yet
    bool expectKey = true; // at the start of the span or after a comma at depth 0
    for (const char *p = begin_;; ++p) {
        p = SkipTo<kQuote | kBracket | kComma>(p, end);
        if (p >= end)
            return;
        switch (*p) {
        case '"': {
            const char *close = SkipString(p, end);
            if (close >= end)
                return;
            if (depth == 0 && expectKey) {
                expectKey = false;
                const std::string_view name(p + 1, static_cast<std::size_t>(close - p - 1));
                std::size_t k = 0;
                while (k < count && ((missing >> k & 1) == 0 || keys[k] != name))
                    ++k;
                if (k < count) {
                    // The value follows the next colon at depth 0. The first occurrence of
                    // a key wins; a key without a colon ends the look-up.
                    const char *colon = AfterColon(close + 1, end);
                    if (colon == nullptr)
                        return;
                    MakeInto(values[k], colon, end);
                    missing &= ~(std::uint64_t{1} << k);
                    if (missing == 0)
                        return;
                    // Go on after the value when the colon follows the key directly and
                    // the value is well formed: a scan would cross it at the same depth.
                    // Otherwise go on from the key, like a look-up of the other keys.
                    const char *q = close + 1;
                    while (q < colon - 1 && IsBlank(*q))
                        ++q;
                    const JsonClass &value = values[k];
                    if (q != colon - 1 || value.kind_ == None)
                        p = close;
                    else if (value.kind_ == Scalar)
                        p = value.end_ - 1; // its terminator comes next
                    else
                        p = value.end_; // its closing bracket
                    break;
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
                return; // closes past the object
            --depth;
            break;
        default: // ','
            if (depth == 0)
                expectKey = true;
            break;
        }
    }
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
    if (begin_ < end_ && (*begin_ == 't' || *begin_ == 'f')) {
        const std::string_view word = ScalarText();
        if (word == "true")
            return 1;
        if (word == "false")
            return 0;
    }
    const std::string_view text(begin_, static_cast<std::size_t>(end_ - begin_));
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
    JsonClass::MakeInto(current_, start, end_);
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
