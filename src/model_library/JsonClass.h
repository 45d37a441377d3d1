#pragma once
// The model library's own JSON reader. It works in place on the caller's text and
// builds no tree: a JsonClass is a view (kind, begin, end) of one value inside the
// text. Nothing here copies text or allocates; a view is valid only while the text is.
//
// The reader is lenient by design: malformed or missing values give a view of kind
// None, and the value readers then return the caller's default. It does not decode
// escape sequences; keys are compared with their raw bytes.
//
// Inside a string a backslash always protects the next character, in every scan, so a
// string holding an escaped quote never ends early. Blanks (every byte up to 32) that
// trail a scalar are ignored when its number, flag or string is read.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantor::model {

class JsonClass {
public:
    enum Kind : std::uint8_t { None = 0, Scalar = 1, Array = 2, Object = 3 };

    JsonClass() = default;

    // The view of the value that starts at the first non-blank character of
    // [first, end). Blanks just before end are dropped. For an array or object, begin
    // and end delimit the content between the brackets; for a scalar, the text up to
    // the first comma or closing brace at nesting depth 0 (or up to end).
    //
    // An object whose closing brace is not found before end still gets begin/end set
    // to [after "{", end) with kind None, and member look-ups work on that span: this
    // is how the root object behaves when its text is passed with end on the brace.
    static JsonClass Make(const char *first, const char *end);

    Kind kind() const { return kind_; }
    const char *begin() const { return begin_; }
    const char *end() const { return end_; }
    bool IsArray() const { return kind_ == Array; }
    bool IsObject() const { return kind_ == Object; }
    bool IsScalar() const { return kind_ == Scalar; }

    // The value of the first member whose key (raw bytes between the quotes) equals key.
    // Works on objects, including an unclosed one (see Make); kind None otherwise.
    JsonClass Member(std::string_view key) const;
    // Member(keys[i]) into values[i] for every i < count (at most kMaxKeys), in one walk
    // of the object instead of one per key.
    static constexpr std::size_t kMaxKeys = 64;
    void FindMembers(const std::string_view *keys, JsonClass *values, std::size_t count) const;
    template <std::size_t N>
    void FindMembers(const std::string_view (&keys)[N], JsonClass (&values)[N]) const
    {
        static_assert(N <= kMaxKeys);
        FindMembers(keys, values, N);
    }

    // Element index (0-based) of an array; kind None beyond the last element or for a
    // non-array. Scans from the start of the array: use JsonElements to walk all.
    JsonClass Element(std::size_t index) const;
    // Number of elements of an array, counted until the first element of kind None
    // (a trailing comma adds none); 0 for anything else.
    std::size_t Count() const;
    // Count(), but stops counting once it exceeds limit (returns limit + 1 then).
    std::size_t CountUpTo(std::size_t limit) const;

    // "true" 1, "false" 0, otherwise the leading decimal integer in the manner of
    // atol (no digits: 0; saturates at the 64-bit limits). def when not a scalar.
    std::int64_t Integer(std::int64_t def) const;
    // "true", "false", otherwise Integer != 0. def when not a scalar.
    bool Flag(bool def) const;
    // The characters between the quotes of a quoted scalar; empty otherwise.
    std::string_view String() const;

    std::int64_t IntegerAt(std::string_view key, std::int64_t def) const { return Member(key).Integer(def); }
    bool FlagAt(std::string_view key, bool def) const { return Member(key).Flag(def); }

private:
    JsonClass(Kind kind, const char *begin, const char *end) : kind_(kind), begin_(begin), end_(end) {}
    std::string_view ScalarText() const; // the scalar span without trailing blanks
    static void MakeInto(JsonClass &view, const char *first, const char *end);

    Kind kind_ = None;
    const char *begin_ = nullptr;
    const char *end_ = nullptr;

    friend class JsonElements;
};

// While one exists on a thread, scans remember where large containers close, so a
// container nested in one already scanned is found without scanning it again (reading
// a document would otherwise scan its deepest values once per level of nesting). The
// views made are the same as without it. Fixed size, allocates nothing; the text must
// not change while it exists. Scopes nest.
class JsonScanCache {
public:
    JsonScanCache();
    ~JsonScanCache();
    JsonScanCache(const JsonScanCache &) = delete;
    JsonScanCache &operator=(const JsonScanCache &) = delete;

    // The cache of this thread, or null.
    static JsonScanCache *Active();
    // Where the container opening at open closes, or null when not remembered.
    const char *Find(const char *open) const;
    void Remember(const char *open, const char *close);

    // Containers shorter than this are scanned again rather than remembered.
    static constexpr std::ptrdiff_t kMinLength = 256;

private:
    static constexpr std::size_t kSlots = 2048; // 32 KB
    struct Slot {
        const char *open = nullptr;
        const char *close = nullptr;
    };
    static std::size_t SlotOf(const char *open);

    Slot slots_[kSlots];
    std::size_t used_ = 0;
    JsonScanCache *previous_;
};

// Walks the elements of an array in order, each found from the previous one, so a
// whole array is read in linear time. Gives the same views as JsonClass::Element.
class JsonElements {
public:
    explicit JsonElements(const JsonClass &array);

    // The current element; kind None once past the last one.
    const JsonClass &Current() const { return current_; }
    void Advance();

private:
    const char *next_ = nullptr; // where the element after the current one starts, or null
    const char *end_ = nullptr;
    JsonClass current_;
};

} // namespace vantor::model
