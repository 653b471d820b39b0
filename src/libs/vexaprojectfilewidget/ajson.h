#pragma once

// Small JSON reader and writer that binds records directly to JSON objects,
// without a document tree in between. A record becomes bindable through
// AJSON(Type, member, ...) placed beside it (at global scope); the names are
// the JSON keys and their order is the order in which members are written.
//
// Supported member types: std::string (UTF-8; other bytes are kept), bool,
// std::vector of bound records. The reader is lenient about unquoted words,
// comments and unknown members, and reports every syntax error as
// ajson::exception with the line and column of the reader at that moment.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ajson {

class exception : public std::exception {
public:
    explicit exception(std::string text) : text_(std::move(text)) {}
    const char *what() const noexcept override { return text_.c_str(); }

private:
    std::string text_;
};

// Specialised by AJSON(); holds the field-name list and the member pointers.
template <typename T>
struct field_list;

template <typename T, typename = void>
struct is_bound : std::false_type {};
template <typename T>
struct is_bound<T, std::void_t<decltype(field_list<T>::names())>> : std::true_type {};

namespace detail {

struct name_ref {
    const char *str;
    std::size_t len;
};

inline bool isNameSpace(char c)
{
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

inline std::vector<name_ref> splitNames(const char *list)
{
    std::vector<name_ref> names;
    const char *p = list;
    for (;;) {
        while (isNameSpace(*p))
            ++p;
        const char *start = p;
        while (*p && *p != ',')
            ++p;
        const char *end = p;
        while (end > start && isNameSpace(end[-1]))
            --end;
        names.push_back({start, std::size_t(end - start)});
        if (*p != ',')
            break;
        ++p;
    }
    return names;
}

// Split once on first use and kept for the life of the process.
template <typename T>
const std::vector<name_ref> &fieldNames()
{
    static const std::vector<name_ref> names = splitNames(field_list<T>::names());
    return names;
}

} // namespace detail

enum token_kind : std::int32_t {
    token_string = 0,   // quoted string or unquoted word
    token_negative = 1, // negative integer, value holds the magnitude
    token_integer = 2,  // non-negative integer
    token_real = 3,
    token_structural = 4, // one of , : [ ] { }
    token_end = 5,
};

namespace detail {

enum : unsigned char {
    cls_quote_stop = 1, // ends a fast run inside a quoted string
    cls_word_stop = 2,  // ends a fast run inside an unquoted word
    cls_word_end = 4,   // ends an unquoted word
};

struct char_classes {
    unsigned char c[256];
    constexpr char_classes() : c{}
    {
        c[0] = cls_quote_stop | cls_word_stop;
        c[unsigned('"')] |= cls_quote_stop;
        c[unsigned('\\')] |= cls_quote_stop;
        c[unsigned('\n')] |= cls_quote_stop | cls_word_stop | cls_word_end;
        c[unsigned('\r')] |= cls_quote_stop | cls_word_stop | cls_word_end;
        const char ends[] = "\t ,:[]{}";
        for (const char *p = ends; *p; ++p)
            c[static_cast<unsigned char>(*p)] |= cls_word_stop | cls_word_end;
    }
};

inline constexpr char_classes kClasses{};

inline bool hasClass(char ch, unsigned char cls)
{
    return (kClasses.c[static_cast<unsigned char>(ch)] & cls) != 0;
}

} // namespace detail

class JsonReader {
public:
    struct token {
        const char *str = "";
        std::size_t len = 1;
        std::int32_t kind = token_end;
        bool escaped = false; // a string token holding a backslash
        union {
            std::uint64_t i;
            double d;
        } value{0};
    };

    // Skipped containers may nest this deep; one more level is an error, so a
    // hostile file cannot exhaust the stack.
    static constexpr int kMaxSkipDepth = 512;

    // Reads length bytes from data; a zero byte before that also ends the input.
    JsonReader(const char *data, std::size_t length) : data_(data), length_(length)
    {
        atEnd_ = data_ == nullptr || length_ == 0 || data_[0] == 0;
        // The first byte counts like any other: a line feed there ends line 0.
        if (!atEnd_ && data_[0] == '\n')
            line_ = 1;
    }

    const token &current() const { return tok_; }
    bool negative() const { return negative_; }
    std::uint64_t line() const { return line_; }
    std::uint64_t col() const { return col_; }
    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return atEnd_ ? 0 : length_ - offset_; }
    // Where the current token begins (the end of the input for its end).
    std::size_t tokenOffset() const { return tok_.kind == token_end ? offset_ : std::size_t(tok_.str - data_); }

    bool isChar(char c) const { return tok_.kind == token_structural && tok_.str[0] == c; }

    [[noreturn]] void error(const char *msg) const
    {
        std::string text = "error at line :";
        text += std::to_string(line_);
        text += " col :";
        text += std::to_string(col_);
        text += " msg:";
        text += msg;
        throw exception(std::move(text));
    }

    void nextToken()
    {
        for (;;) {
            char c = byte();
            while (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                advance();
                c = byte();
            }
            negative_ = false;
            switch (c) {
            case 0:
                tok_.str = "";
                tok_.len = 1;
                tok_.kind = token_end;
                return;
            case '"':
                readQuoted();
                return;
            case ',':
            case ':':
            case '[':
            case ']':
            case '{':
            case '}':
                tok_.str = data_ + offset_;
                tok_.len = 1;
                tok_.kind = token_structural;
                advance();
                return;
            case '/':
                skipComment();
                continue;
            case '-':
                tok_.str = data_ + offset_;
                tok_.kind = token_negative;
                tok_.value.i = 0;
                negative_ = true;
                advance();
                readNumber();
                return;
            default:
                if (c >= '0' && c <= '9') {
                    tok_.str = data_ + offset_;
                    tok_.kind = token_integer;
                    tok_.value.i = std::uint64_t(c - '0');
                    advance();
                    readNumber();
                    return;
                }
                readWord();
                return;
            }
        }
    }

private:
    char byte() const { return atEnd_ ? 0 : data_[offset_]; }

    // Line counts the line feeds passed; col counts the bytes passed since the
    // last line feed, carriage returns excluded.
#if defined(__GNUC__)
    __attribute__((always_inline))
#endif
    void advance()
    {
        if (atEnd_)
            return;
        ++offset_;
        if (offset_ >= length_) {
            ++col_;
            atEnd_ = true;
            return;
        }
        const char c = data_[offset_];
        if (c != '\r')
            ++col_;
        if (c == 0) {
            atEnd_ = true;
        } else if (c == '\n') {
            ++line_;
            col_ = 0;
        }
    }

    // The current byte is ordinary for cls; move over the following ordinary
    // bytes in one go and land, through advance(), on the first one that is not.
    void skipRun(unsigned char cls)
    {
        std::size_t q = offset_ + 1;
        while (q < length_ && !detail::hasClass(data_[q], cls))
            ++q;
        col_ += q - 1 - offset_;
        offset_ = q - 1;
        advance();
    }

    // Index of the first byte at or after q (below length_) that can end a run
    // inside a quoted string: quote, backslash, line feed, carriage return, zero.
    std::size_t findQuoteStop(std::size_t q) const
    {
#if defined(__SSE2__)
        const __m128i quote = _mm_set1_epi8('"');
        const __m128i backslash = _mm_set1_epi8('\\');
        const __m128i below14 = _mm_set1_epi8(14); // catches 0, \n and \r with a few harmless extras
        while (q + 16 <= length_) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data_ + q));
            const __m128i low = _mm_cmpeq_epi8(_mm_max_epu8(v, below14), below14);
            const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, backslash)), low);
            const int mask = _mm_movemask_epi8(hit);
            if (mask != 0) {
                q += std::size_t(__builtin_ctz(unsigned(mask)));
                if (detail::hasClass(data_[q], detail::cls_quote_stop))
                    return q;
                ++q; // a control byte that is plain content
                continue;
            }
            q += 16;
        }
#endif
        while (q < length_ && !detail::hasClass(data_[q], detail::cls_quote_stop))
            ++q;
        return q;
    }

    void readQuoted()
    {
        const std::size_t start = offset_ + 1;
        std::size_t pos = offset_; // the last byte known to be plain (first: the opening quote)
        bool escaped = false;
        for (;;) {
            // Plain bytes in one go; land through advance() on the one that stops the run.
            const std::size_t q = findQuoteStop(pos + 1);
            col_ += q - 1 - pos;
            offset_ = q - 1;
            advance();
            if (atEnd_)
                error("not a valid quote string!");
            const char c = data_[offset_];
            if (c == '"')
                break;
            if (c == '\n')
                error("not a valid quote string!");
            if (c == '\\') {
                escaped = true;
                advance(); // the escaped byte belongs to the string, whatever it is
                if (atEnd_)
                    error("not a valid quote string!");
            }
            pos = offset_; // a carriage return or an escaped byte: plain content
        }
        tok_.str = data_ + start;
        tok_.len = offset_ - start;
        tok_.kind = token_string;
        tok_.escaped = escaped;
        advance();
    }

    void readWord()
    {
        const std::size_t start = offset_;
        for (;;) {
            skipRun(detail::cls_word_stop);
            if (atEnd_)
                error("not a valid string!");
            if (detail::hasClass(data_[offset_], detail::cls_word_end))
                break;
        }
        tok_.str = data_ + start;
        tok_.len = offset_ - start;
        tok_.kind = token_string;
        tok_.escaped = std::memchr(tok_.str, '\\', tok_.len) != nullptr;
    }

    void skipComment()
    {
        advance();
        const char c = byte();
        if (c == '/') {
            while (!atEnd_ && data_[offset_] != '\n')
                advance();
            return;
        }
        if (c != '*')
            error("not a comment!");
        advance();
        for (;;) {
            if (atEnd_)
                error("not a comment!");
            if (data_[offset_] == '*') {
                advance();
                if (byte() == '/') {
                    advance();
                    return;
                }
                continue;
            }
            advance();
        }
    }

    void readNumber()
    {
        for (;;) {
            const char c = byte();
            if (c >= '0' && c <= '9') {
                if (tok_.kind == token_real) {
                    tok_.value.d += (c - '0') * fractionStep_;
                    fractionStep_ *= 0.1;
                } else {
                    // Unsigned on purpose: an overlong integer wraps instead of overflowing.
                    tok_.value.i = tok_.value.i * 10u + std::uint64_t(c - '0');
                }
                advance();
            } else if (c == '.') {
                if (tok_.kind == token_real)
                    error("not a valid number!");
                toReal();
                advance();
            } else if (c == 'e' || c == 'E') {
                if (tok_.kind != token_real)
                    toReal();
                advance();
                readExponent();
                break;
            } else {
                break;
            }
        }
        tok_.len = std::size_t(data_ + offset_ - tok_.str);
    }

    void toReal()
    {
        tok_.value.d = double(tok_.value.i);
        tok_.kind = token_real;
        fractionStep_ = 0.1;
    }

    void readExponent()
    {
        while (byte() == '+')
            advance();
        bool down = false;
        if (byte() == '-') {
            down = true;
            advance();
        }
        exponent_ = 0;
        for (char c = byte(); c >= '0' && c <= '9'; c = byte()) {
            // Saturate: beyond this every finite value has become inf or 0 anyway.
            if (exponent_ < 100000)
                exponent_ = exponent_ * 10 + (c - '0');
            advance();
        }
        double &v = tok_.value.d;
        // Stop once the value can no longer change, so a huge exponent costs nothing.
        if (down) {
            for (std::int32_t n = 0; n < exponent_ && v != 0.0; ++n)
                v *= 0.1;
        } else {
            for (std::int32_t n = 0; n < exponent_ && v != 0.0 && std::isfinite(v); ++n)
                v *= 10.0;
        }
    }

    const char *data_;
    token tok_;
    bool negative_ = false;
    std::uint64_t col_ = 0;
    std::uint64_t line_ = 0;
    std::size_t length_;
    std::size_t offset_ = 0;
    bool atEnd_ = false;
    double fractionStep_ = 0.1;
    std::int32_t exponent_ = 0;
};

namespace detail {

template <typename T>
struct is_vector : std::false_type {};
template <typename T, typename A>
struct is_vector<std::vector<T, A>> : std::true_type {};

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Four hex digits at p (at least four bytes available); -1 if one is not hex.
inline long hex4(const char *p)
{
    long v = 0;
    for (int i = 0; i < 4; ++i) {
        const int h = hexValue(p[i]);
        if (h < 0)
            return -1;
        v = v * 16 + h;
    }
    return v;
}

inline char *putUtf8(char *out, unsigned long cp)
{
    if (cp < 0x80) {
        *out++ = char(cp);
    } else if (cp < 0x800) {
        *out++ = char(0xC0 | (cp >> 6));
        *out++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = char(0xE0 | (cp >> 12));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    } else {
        *out++ = char(0xF0 | (cp >> 18));
        *out++ = char(0x80 | ((cp >> 12) & 0x3F));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    }
    return out;
}

// Decodes the escapes of a string token into out; false on an invalid escape.
// Every escape is at least as long as what it decodes to, so len bytes suffice.
inline bool decodeString(const char *s, std::size_t len, std::string &out)
{
    const char *end = s + len;
    out.resize(len);
    char *const first = &out[0];
    char *o = first;
    // On failure the member keeps what was decoded before the bad escape.
    auto fail = [&] {
        out.resize(std::size_t(o - first));
        return false;
    };
    while (s < end) {
        // Runs between escapes are short in paths, so a plain loop beats memchr.
        if (*s != '\\') {
            *o++ = *s++;
            continue;
        }
        if (++s == end)
            return fail();
        switch (*s++) {
        case '"': *o++ = '"'; break;
        case '\\': *o++ = '\\'; break;
        case '/': *o++ = '/'; break;
        case 'b': *o++ = '\b'; break;
        case 'f': *o++ = '\f'; break;
        case 'n': *o++ = '\n'; break;
        case 'r': *o++ = '\r'; break;
        case 't': *o++ = '\t'; break;
        case 'u': {
            if (end - s < 4)
                return fail();
            long cp = hex4(s);
            if (cp <= 0)
                return fail();
            s += 4;
            // A high surrogate directly followed by an escaped low one is one
            // character above U+FFFF; alone, each half is kept as it is.
            if (cp >= 0xD800 && cp <= 0xDBFF && end - s >= 6 && s[0] == '\\' && s[1] == 'u') {
                const long low = hex4(s + 2);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    s += 6;
                }
            }
            o = putUtf8(o, static_cast<unsigned long>(cp));
            break;
        }
        default:
            return fail();
        }
    }
    out.resize(std::size_t(o - first));
    return true;
}

template <typename T>
void readRecord(JsonReader &rd, T &rec);

inline void readMember(JsonReader &rd, std::string &value)
{
    const auto &t = rd.current();
    if (t.kind != token_string)
        rd.error("not a valid string.");
    if (!t.escaped)
        value.assign(t.str, t.len);
    else if (!decodeString(t.str, t.len, value))
        rd.error("not a valid string.");
    rd.nextToken();
}

inline void readMember(JsonReader &rd, bool &value)
{
    const auto &t = rd.current();
    switch (t.kind) {
    case token_string:
        value = t.len == 4 && (t.str[0] | 0x20) == 't' && (t.str[1] | 0x20) == 'r'
                && (t.str[2] | 0x20) == 'u' && (t.str[3] | 0x20) == 'e';
        break;
    case token_negative:
    case token_integer:
        value = t.value.i != 0;
        break;
    case token_real:
        value = t.value.d != 0.0;
        break;
    default:
        rd.error("not a valid bool.");
    }
    rd.nextToken();
}

template <typename T, typename A>
void readMember(JsonReader &rd, std::vector<T, A> &value)
{
    static_assert(is_bound<T>::value, "vector elements must be records bound with AJSON()");
    if (!rd.isChar('[')) {
        const auto &t = rd.current();
        if (t.len >= 4 && std::memcmp(t.str, "null", 4) == 0) {
            rd.nextToken();
            return;
        }
        rd.error("array must start with [.");
    }
    rd.nextToken();
    if (rd.isChar(']')) {
        rd.nextToken();
        return;
    }
    const std::size_t firstAt = rd.offset();
    bool estimated = false;
    for (;;) {
        value.emplace_back();
        readRecord(rd, value.back());
        if (!estimated) {
            // Guess the element count from the first element's size, so a long list
            // is not moved on every doubling. At most one slot per 64 bytes left,
            // so the guess never reserves more than a small multiple of the input.
            estimated = true;
            const std::size_t used = rd.offset() - firstAt;
            const std::size_t guess = rd.remaining() / (used > 64 ? used : 64);
            if (guess > value.capacity() - value.size())
                value.reserve(value.size() + guess);
        }
        if (rd.isChar(',')) {
            rd.nextToken();
            if (rd.isChar(']')) {
                rd.nextToken();
                return;
            }
            continue;
        }
        if (rd.isChar(']')) {
            rd.nextToken();
            return;
        }
        rd.error("no valid array!");
    }
}

inline void skipValue(JsonReader &rd, int depth)
{
    const auto &t = rd.current();
    if (t.kind <= token_real) {
        rd.nextToken();
        return;
    }
    if (t.kind == token_end)
        return; // the enclosing record reports it
    const char c = t.str[0];
    if (c != '[' && c != '{')
        return; // a key with no value
    if (depth >= JsonReader::kMaxSkipDepth)
        rd.error("nesting too deep!");
    rd.nextToken();
    if (c == '[') {
        while (!rd.isChar(']')) {
            if (t.kind == token_end || rd.isChar(':') || rd.isChar('}'))
                rd.error("invalid json document!");
            skipValue(rd, depth + 1);
            if (rd.isChar(','))
                rd.nextToken();
        }
    } else {
        while (!rd.isChar('}')) {
            if (t.kind > token_real)
                rd.error("invalid json document!");
            rd.nextToken();
            if (!rd.isChar(':'))
                rd.error("invalid json document!");
            rd.nextToken();
            skipValue(rd, depth + 1);
            if (rd.isChar(','))
                rd.nextToken();
        }
    }
    rd.nextToken();
}

template <typename T, std::size_t... I>
void readMemberAt(JsonReader &rd, T &rec, std::size_t index, std::index_sequence<I...>)
{
    const auto members = field_list<T>::members();
    (void)((index == I ? (readMember(rd, rec.*std::get<I>(members)), true) : false) || ...);
}

template <typename T>
void readRecord(JsonReader &rd, T &rec)
{
    using members_t = decltype(field_list<T>::members());
    constexpr std::size_t count = std::tuple_size<members_t>::value;
    if (!rd.isChar('{'))
        rd.error("read object must start with {!");
    rd.nextToken();
    if (rd.isChar('}')) {
        rd.nextToken();
        return;
    }
    const auto &names = fieldNames<T>();
    for (;;) {
        const auto &t = rd.current();
        if (t.kind != token_string)
            rd.error("object key must be string");
        std::size_t index = count;
        for (std::size_t i = 0; i < count && i < names.size(); ++i) {
            // Names of one record often share a prefix; the last byte tells them apart sooner.
            if (names[i].len == t.len && (t.len == 0 || names[i].str[t.len - 1] == t.str[t.len - 1])
                && std::memcmp(names[i].str, t.str, t.len) == 0) {
                index = i;
                break;
            }
        }
        rd.nextToken();
        if (!rd.isChar(':'))
            rd.error("invalid json document!");
        rd.nextToken();
        if (index < count)
            readMemberAt(rd, rec, index, std::make_index_sequence<count>{});
        else
            skipValue(rd, 0);
        if (rd.isChar(',')) {
            rd.nextToken();
            continue;
        }
        if (rd.isChar('}')) {
            rd.nextToken();
            return;
        }
        rd.error("invalid json document!");
    }
}

} // namespace detail

class JsonWriter {
public:
    static constexpr std::size_t kStep = 1024;

    JsonWriter() : buf_(static_cast<char *>(std::malloc(kStep))), cap_(kStep)
    {
        if (!buf_)
            throw std::bad_alloc();
    }
    ~JsonWriter() { std::free(buf_); }
    JsonWriter(const JsonWriter &) = delete;
    JsonWriter &operator=(const JsonWriter &) = delete;

    const char *data() const { return buf_; }
    std::size_t size() const { return len_; }
    std::size_t capacity() const { return cap_; }

    void put(char c)
    {
        if (len_ == cap_)
            reserveFor(1);
        buf_[len_++] = c;
    }

    void write(const char *s, std::size_t n)
    {
        if (cap_ - len_ < n)
            reserveFor(n);
        std::memcpy(buf_ + len_, s, n);
        len_ += n;
    }

    // Quoted. Valid UTF-8 comes out as pure ASCII; bytes that are not part of
    // valid UTF-8 are written as they are, since the reader copies them back
    // unchanged and a file name may hold any byte. Stops at a zero byte.
    void writeString(const char *s, std::size_t n)
    {
        static const char hex[] = "0123456789ABCDEF";
        put('"');
        const unsigned char *p = reinterpret_cast<const unsigned char *>(s);
        const unsigned char *end = p + n;
        while (p < end) {
            const unsigned char *run = p;
            while (p < end && *p >= 0x20 && *p < 0x7F && *p != '"' && *p != '\\')
                ++p;
            if (p != run)
                write(reinterpret_cast<const char *>(run), std::size_t(p - run));
            if (p == end)
                break;
            const unsigned char b = *p;
            if (b < 0x80) {
                if (b == 0)
                    break;
                char e = 0;
                switch (b) {
                case '"': e = '"'; break;
                case '\\': e = '\\'; break;
                case 0x08: e = 'b'; break;
                case 0x09: e = 't'; break;
                case 0x0A: e = 'n'; break;
                case 0x0C: e = 'f'; break;
                case 0x0D: e = 'r'; break;
                default: break;
                }
                if (e) {
                    const char esc[2] = {'\\', e};
                    write(esc, 2);
                } else {
                    writeU16(b, hex);
                }
                ++p;
                continue;
            }
            unsigned long cp = 0;
            const int used = decodeUtf8(p, end, cp);
            if (used == 0) {
                // Also an encoded lone surrogate: as an escape it could pair up
                // with a following one when read back.
                put(char(b));
                ++p;
                continue;
            }
            p += used;
            if (cp >= 0x10000) {
                cp -= 0x10000;
                writeU16(0xD800 + (cp >> 10), hex);
                writeU16(0xDC00 + (cp & 0x3FF), hex);
            } else {
                writeU16(cp, hex);
            }
        }
        put('"');
    }

private:
    // Grows by whole steps of 1024 bytes: each byte that does not fit raises
    // the capacity to the current length plus 1024, rounded down to 1024.
    void reserveFor(std::size_t n)
    {
        std::size_t cap = cap_;
        while (cap - len_ < n)
            cap = (cap + kStep) / kStep * kStep;
        char *grown = static_cast<char *>(std::realloc(buf_, cap));
        if (!grown)
            throw std::bad_alloc();
        buf_ = grown;
        cap_ = cap;
    }

    void writeU16(unsigned long v, const char *hex)
    {
        const char esc[6] = {'\\', 'u', hex[(v >> 12) & 0xF], hex[(v >> 8) & 0xF], hex[(v >> 4) & 0xF], hex[v & 0xF]};
        write(esc, 6);
    }

    // Length of the valid sequence at p (first byte >= 0x80), 0 if invalid:
    // overlong forms, encoded surrogates and values above U+10FFFF are refused.
    static int decodeUtf8(const unsigned char *p, const unsigned char *end, unsigned long &cp)
    {
        const unsigned char b = p[0];
        int n;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            n = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 3;
            cp = b & 0x0F;
            if (b == 0xE0)
                lo = 0xA0;
            else if (b == 0xED)
                hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 4;
            cp = b & 0x07;
            if (b == 0xF0)
                lo = 0x90;
            else if (b == 0xF4)
                hi = 0x8F;
        } else {
            return 0;
        }
        if (end - p < n)
            return 0;
        if (p[1] < lo || p[1] > hi)
            return 0;
        cp = (cp << 6) | (p[1] & 0x3F);
        for (int i = 2; i < n; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return 0;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        return n;
    }

    char *buf_;
    std::size_t len_ = 0;
    std::size_t cap_;
};

namespace detail {

inline void writeMember(JsonWriter &w, const std::string &value)
{
    w.writeString(value.data(), value.size());
}

inline void writeMember(JsonWriter &w, bool value)
{
    if (value)
        w.write("true", 4);
    else
        w.write("false", 5);
}

template <typename T>
void writeRecord(JsonWriter &w, const T &rec);

template <typename T, typename A>
void writeMember(JsonWriter &w, const std::vector<T, A> &value)
{
    w.put('[');
    bool first = true;
    for (const T &item : value) {
        if (!first)
            w.put(',');
        first = false;
        writeRecord(w, item);
    }
    w.put(']');
}

template <typename T, std::size_t... I>
void writeMembers(JsonWriter &w, const T &rec, std::index_sequence<I...>)
{
    const auto members = field_list<T>::members();
    const auto &names = fieldNames<T>();
    auto one = [&](std::size_t i, const auto &value) {
        if (i)
            w.put(',');
        w.writeString(names[i].str, names[i].len);
        w.put(':');
        writeMember(w, value);
    };
    (one(I, rec.*std::get<I>(members)), ...);
}

template <typename T>
void writeRecord(JsonWriter &w, const T &rec)
{
    using members_t = decltype(field_list<T>::members());
    w.put('{');
    writeMembers(w, rec, std::make_index_sequence<std::tuple_size<members_t>::value>{});
    w.put('}');
}

} // namespace detail

// Fills rec from data (length bytes; a zero byte also ends the input).
template <typename T>
void loadFromBuffer(T &rec, const char *data, std::size_t length)
{
    JsonReader rd(data, length);
    rd.nextToken();
    detail::readRecord(rd, rec);
}

// Reads the one record that begins at data and returns where the token after
// it begins, so a caller can find the records that are whole in a damaged text.
template <typename T>
std::size_t loadRecord(T &rec, const char *data, std::size_t length)
{
    JsonReader rd(data, length);
    rd.nextToken();
    detail::readRecord(rd, rec);
    return rd.tokenOffset();
}

// As loadFromBuffer, for the whole content of a file: a UTF-8 byte-order
// mark at the start is skipped.
template <typename T>
void loadFromFileContent(T &rec, const char *data, std::size_t length)
{
    if (length >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
        data += 3;
        length -= 3;
    }
    loadFromBuffer(rec, data, length);
}

template <typename T>
void loadFromFile(T &rec, const char *path)
{
    struct closer {
        void operator()(std::FILE *f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, closer> file(std::fopen(path, "rb"));
    if (!file)
        throw std::logic_error(std::string("can't open file:") + path);
    long size = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0)
        size = std::ftell(file.get());
    std::rewind(file.get());
    // The size is only a hint (a folder or a growing file may report anything),
    // so read until the end instead of trusting it.
    const std::size_t hint = size > 0 ? std::size_t(size) : 0;
    // One spare byte lets the read that finds the end do so without growing.
    std::size_t capacity = (hint < (std::size_t(1) << 24) ? hint : (std::size_t(1) << 24)) + 2;
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::size_t got = 0;
    for (;;) {
        if (got + 1 == capacity) {
            std::unique_ptr<char[]> grown(new char[capacity * 2]);
            std::memcpy(grown.get(), buffer.get(), got);
            buffer = std::move(grown);
            capacity *= 2;
        }
        const std::size_t n = std::fread(buffer.get() + got, 1, capacity - 1 - got, file.get());
        got += n;
        if (n == 0)
            break;
    }
    // A folder opens on some systems, but nothing can be read from it.
    if (std::ferror(file.get()))
        throw std::logic_error(std::string("can't open file:") + path);
    buffer[got] = 0;
    loadFromFileContent(rec, buffer.get(), got);
}

template <typename T>
void loadFromFile(T &rec, const std::string &path)
{
    loadFromFile(rec, path.c_str());
}

template <typename T>
std::string toJson(const T &rec)
{
    JsonWriter w;
    detail::writeRecord(w, rec);
    return std::string(w.data(), w.size());
}

} // namespace ajson

// Binds a record: AJSON(Type, member1, member2, ...) at global scope, beside
// the record. The stringized list is the field-name list.
#define AJSON_PP_MEMBER_PTR(T, m) &T::m
#define AJSON_PP_EXPAND(x) x
#define AJSON_PP_NTH(_1, _2, _3, _4, _5, _6, _7, _8, _9, _10, _11, _12, _13, _14, _15, _16, _17, _18, _19, _20, _21, _22, _23, _24, _25, _26, _27, _28, _29, _30, _31, _32, N, ...) N
#define AJSON_PP_COUNT(...) AJSON_PP_EXPAND(AJSON_PP_NTH(__VA_ARGS__, 32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1))
#define AJSON_PP_CAT_(a, b) a##b
#define AJSON_PP_CAT(a, b) AJSON_PP_CAT_(a, b)
#define AJSON_PP_FE_1(M, T, x) M(T, x)
#define AJSON_PP_FE_2(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_1(M, T, __VA_ARGS__))
#define AJSON_PP_FE_3(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_2(M, T, __VA_ARGS__))
#define AJSON_PP_FE_4(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_3(M, T, __VA_ARGS__))
#define AJSON_PP_FE_5(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_4(M, T, __VA_ARGS__))
#define AJSON_PP_FE_6(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_5(M, T, __VA_ARGS__))
#define AJSON_PP_FE_7(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_6(M, T, __VA_ARGS__))
#define AJSON_PP_FE_8(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_7(M, T, __VA_ARGS__))
#define AJSON_PP_FE_9(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_8(M, T, __VA_ARGS__))
#define AJSON_PP_FE_10(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_9(M, T, __VA_ARGS__))
#define AJSON_PP_FE_11(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_10(M, T, __VA_ARGS__))
#define AJSON_PP_FE_12(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_11(M, T, __VA_ARGS__))
#define AJSON_PP_FE_13(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_12(M, T, __VA_ARGS__))
#define AJSON_PP_FE_14(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_13(M, T, __VA_ARGS__))
#define AJSON_PP_FE_15(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_14(M, T, __VA_ARGS__))
#define AJSON_PP_FE_16(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_15(M, T, __VA_ARGS__))
#define AJSON_PP_FE_17(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_16(M, T, __VA_ARGS__))
#define AJSON_PP_FE_18(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_17(M, T, __VA_ARGS__))
#define AJSON_PP_FE_19(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_18(M, T, __VA_ARGS__))
#define AJSON_PP_FE_20(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_19(M, T, __VA_ARGS__))
#define AJSON_PP_FE_21(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_20(M, T, __VA_ARGS__))
#define AJSON_PP_FE_22(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_21(M, T, __VA_ARGS__))
#define AJSON_PP_FE_23(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_22(M, T, __VA_ARGS__))
#define AJSON_PP_FE_24(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_23(M, T, __VA_ARGS__))
#define AJSON_PP_FE_25(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_24(M, T, __VA_ARGS__))
#define AJSON_PP_FE_26(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_25(M, T, __VA_ARGS__))
#define AJSON_PP_FE_27(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_26(M, T, __VA_ARGS__))
#define AJSON_PP_FE_28(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_27(M, T, __VA_ARGS__))
#define AJSON_PP_FE_29(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_28(M, T, __VA_ARGS__))
#define AJSON_PP_FE_30(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_29(M, T, __VA_ARGS__))
#define AJSON_PP_FE_31(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_30(M, T, __VA_ARGS__))
#define AJSON_PP_FE_32(M, T, x, ...) M(T, x), AJSON_PP_EXPAND(AJSON_PP_FE_31(M, T, __VA_ARGS__))
#define AJSON_PP_FOR_EACH(M, T, ...) AJSON_PP_EXPAND(AJSON_PP_CAT(AJSON_PP_FE_, AJSON_PP_COUNT(__VA_ARGS__))(M, T, __VA_ARGS__))

#define AJSON(TYPE, ...)                                                                    \
    template <>                                                                            \
    struct ajson::field_list<TYPE> {                                                       \
        static const char *names() { return #__VA_ARGS__; }                                \
        static auto members() { return std::make_tuple(AJSON_PP_FOR_EACH(AJSON_PP_MEMBER_PTR, TYPE, __VA_ARGS__)); } \
    };
