#include "platform/vbscript_regexp.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdint>
#include <utility>

namespace brisma::platform::com {
namespace {

bool isDigit(char32_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isOctalDigit(char32_t c)
{
    return c >= u'0' && c <= u'7';
}

bool isAsciiLetter(char32_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

void appendHex(std::u16string& out, char32_t value)
{
    static constexpr char16_t digits[] = u"0123456789abcdef";
    std::u16string reversed;
    do {
        reversed.push_back(digits[value % 16]);
        value /= 16;
    } while (value != 0);
    out.append(reversed.rbegin(), reversed.rend());
}

// A character the PCRE2 pattern must take literally, whatever it is.
// Surrogates go in raw so that an escaped pair still forms one character.
void appendLiteral(std::u16string& out, char32_t c)
{
    if (isSurrogate(c)) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    out += u"\\x{";
    appendHex(out, c);
    out.push_back(u'}');
}

// Rewrites a pattern of the scripting engine into PCRE2 syntax, so that PCRE2
// applies the scripting engine's rules (see the header). Gives nullopt for
// a pattern the scripting engine would reject.
class PatternTranslator
{
public:
    PatternTranslator(std::u16string_view pattern, bool multiline)
        : m_in(pattern), m_multiline(multiline)
    {}

    std::optional<std::u16string> translate()
    {
        m_groupCount = countGroups();
        while (m_pos < m_in.size()) {
            if (!step()) {
                return std::nullopt;
            }
        }
        return m_out;
    }

private:
    // A class member is a single character or a class escape such as \d.
    struct ClassAtom
    {
        char32_t character = 0;
        char16_t classEscape = 0;
    };

    bool more(std::size_t ahead = 0) const { return m_pos + ahead < m_in.size(); }
    char16_t peek(std::size_t ahead = 0) const { return more(ahead) ? m_in[m_pos + ahead] : 0; }

    int countGroups() const
    {
        int count = 0;
        bool inClass = false;
        for (std::size_t i = 0; i < m_in.size(); ++i) {
            const char16_t c = m_in[i];
            if (c == u'\\') {
                ++i;
            } else if (inClass) {
                inClass = c != u']';
            } else if (c == u'[') {
                inClass = true;
                if (i + 1 < m_in.size() && m_in[i + 1] == u'^') {
                    ++i;
                }
                if (i + 1 < m_in.size() && m_in[i + 1] == u']') {
                    ++i;
                    inClass = false;
                }
            } else if (c == u'(' && (i + 1 >= m_in.size() || m_in[i + 1] != u'?')) {
                ++count;
            }
        }
        return count;
    }

    bool step()
    {
        const char16_t c = peek();
        switch (c) {
        case u'\\':
            return escape();
        case u'[':
            m_quantifiable = true;
            return characterClass();
        case u'(':
            return openGroup();
        case u')':
        case u'|':
            m_out.push_back(c);
            ++m_pos;
            m_quantifiable = c == u')';
            return true;
        case u'^':
            m_out += m_multiline ? u"(?<![^\\n\\r])" : u"^";
            ++m_pos;
            m_quantifiable = false;
            return true;
        case u'$':
            m_out += m_multiline ? u"(?![^\\n\\r])" : u"\\z";
            ++m_pos;
            m_quantifiable = false;
            return true;
        case u'.':
            m_out += u"[^\\n]";
            ++m_pos;
            m_quantifiable = true;
            return true;
        case u'*':
        case u'+':
        case u'?':
            return quantifier(1);
        case u'{':
            if (std::size_t length = bracedQuantifierLength()) {
                return quantifier(length);
            }
            break;
        default:
            break;
        }
        character(c);
        ++m_pos;
        return true;
    }

    void character(char32_t c)
    {
        if (c < 0x80 && !isAsciiLetter(c) && !isDigit(c)) {
            appendLiteral(m_out, c);
        } else {
            m_out.push_back(static_cast<char16_t>(c));
        }
        m_quantifiable = true;
    }

    bool quantifier(std::size_t length)
    {
        if (!m_quantifiable) {
            return false; // nothing to repeat, or a quantifier on a quantifier
        }
        m_out.append(m_in.substr(m_pos, length));
        m_pos += length;
        if (peek() == u'?') {
            m_out.push_back(u'?');
            ++m_pos;
        }
        m_quantifiable = false;
        return true;
    }

    // Length of {n}, {n,} or {n,m} at the current position, 0 when the brace
    // does not start one (it is then a plain character).
    std::size_t bracedQuantifierLength() const
    {
        std::size_t i = 1;
        auto digits = [&] {
            const std::size_t from = i;
            while (isDigit(peek(i))) {
                ++i;
            }
            return i > from;
        };
        if (!digits()) {
            return 0;
        }
        if (peek(i) == u',') {
            ++i;
            digits();
        }
        return peek(i) == u'}' ? i + 1 : 0;
    }

    bool openGroup()
    {
        if (peek(1) != u'?') {
            m_out.push_back(u'(');
            ++m_pos;
        } else {
            const char16_t kind = peek(2);
            if (kind != u':' && kind != u'=' && kind != u'!') {
                return false;
            }
            m_out += u"(?";
            m_out.push_back(kind);
            m_pos += 3;
        }
        m_quantifiable = false;
        return true;
    }

    bool escape()
    {
        ++m_pos;
        if (!more()) {
            return false;
        }
        const char16_t c = peek();
        switch (c) {
        case u'b':
        case u'B':
        case u'd':
        case u'D':
        case u'w':
        case u'W':
        case u's':
        case u'S':
            m_out.push_back(u'\\');
            m_out.push_back(c);
            ++m_pos;
            // A word boundary is an assertion: nothing to repeat.
            m_quantifiable = c != u'b' && c != u'B';
            return true;
        default:
            break;
        }
        if (isDigit(c) && c != u'0') {
            if (std::optional<int> group = backReference()) {
                m_out += u"\\g{";
                appendDecimal(*group);
                m_out.push_back(u'}');
                m_quantifiable = true;
                return true;
            }
        }
        if (c == u'c' && !isAsciiLetter(peek(1))) {
            // A lone \c is a backslash followed by the letter c.
            appendLiteral(m_out, u'\\');
            m_quantifiable = true;
            return true;
        }
        appendLiteral(m_out, characterEscape(false));
        m_quantifiable = true;
        return true;
    }

    void appendDecimal(int value)
    {
        std::u16string reversed;
        do {
            reversed.push_back(static_cast<char16_t>(u'0' + value % 10));
            value /= 10;
        } while (value != 0);
        m_out.append(reversed.rbegin(), reversed.rend());
    }

    // \n with n no greater than the number of groups refers back to group n;
    // otherwise the digits are an octal escape or plain digits.
    std::optional<int> backReference()
    {
        std::size_t i = 0;
        int value = 0;
        while (isDigit(peek(i)) && value <= 1000) {
            value = value * 10 + (peek(i) - u'0');
            ++i;
        }
        if (value < 1 || value > m_groupCount) {
            return std::nullopt;
        }
        m_pos += i;
        return value;
    }

    // The character an escape stands for, with the current position on the
    // character after the backslash; moves past the escape.
    char32_t characterEscape(bool inClass)
    {
        const char16_t c = peek();
        ++m_pos;
        switch (c) {
        case u'b':
            return 0x08; // only reached inside a class
        case u'f':
            return 0x0C;
        case u'n':
            return 0x0A;
        case u'r':
            return 0x0D;
        case u't':
            return 0x09;
        case u'v':
            return 0x0B;
        case u'c':
            if (isAsciiLetter(peek()) || (inClass && (isDigit(peek()) || peek() == u'_'))) {
                const char32_t control = peek() % 32;
                ++m_pos;
                return control;
            }
            return u'c';
        case u'x':
            return hexEscape(2, u'x');
        case u'u':
            return hexEscape(4, u'u');
        default:
            break;
        }
        if (isOctalDigit(c)) {
            return octalEscape(c);
        }
        return combineSurrogates(c);
    }

    char32_t hexEscape(std::size_t digits, char16_t letter)
    {
        char32_t value = 0;
        for (std::size_t i = 0; i < digits; ++i) {
            const int digit = hexValue(peek(i));
            if (digit < 0) {
                return letter;
            }
            value = value * 16 + static_cast<char32_t>(digit);
        }
        m_pos += digits;
        return value;
    }

    // Up to three octal digits, as long as the value stays below 0400.
    char32_t octalEscape(char16_t first)
    {
        char32_t value = first - u'0';
        for (int i = 0; i < 2 && isOctalDigit(peek()); ++i) {
            const char32_t next = value * 8 + (peek() - u'0');
            if (next > 0377) {
                break;
            }
            value = next;
            ++m_pos;
        }
        return value;
    }

    // A high surrogate just taken, followed by a low one, is one character.
    char32_t combineSurrogates(char16_t c)
    {
        if (isHighSurrogate(c) && isLowSurrogate(peek())) {
            const char32_t low = peek();
            ++m_pos;
            return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (low - 0xDC00);
        }
        return c;
    }

    ClassAtom classAtom()
    {
        const char16_t c = peek();
        ++m_pos;
        if (c != u'\\') {
            return {combineSurrogates(c), 0};
        }
        const char16_t e = peek();
        switch (e) {
        case u'd':
        case u'D':
        case u'w':
        case u'W':
        case u's':
        case u'S':
            ++m_pos;
            return {0, e};
        case u'c':
            if (!isAsciiLetter(peek(1)) && !isDigit(peek(1)) && peek(1) != u'_') {
                return {u'\\', 0}; // the c is taken as the next member
            }
            break;
        default:
            break;
        }
        return {characterEscape(true), 0};
    }

    void appendClassAtom(const ClassAtom& atom)
    {
        if (atom.classEscape) {
            m_out.push_back(u'\\');
            m_out.push_back(atom.classEscape);
        } else {
            appendLiteral(m_out, atom.character);
        }
    }

    bool characterClass()
    {
        ++m_pos;
        m_out.push_back(u'[');
        if (peek() == u'^' && more()) {
            m_out.push_back(u'^');
            ++m_pos;
        }
        while (more() && peek() != u']') {
            if (peek() == u'\\' && !more(1)) {
                return false;
            }
            const ClassAtom first = classAtom();
            if (peek() == u'-' && more(1) && peek(1) != u']') {
                ++m_pos;
                if (peek() == u'\\' && !more(1)) {
                    return false;
                }
                const ClassAtom last = classAtom();
                if (!first.classEscape && !last.classEscape) {
                    if (first.character > last.character) {
                        return false;
                    }
                    appendClassAtom(first);
                    m_out.push_back(u'-');
                    appendClassAtom(last);
                } else {
                    // A class escape cannot bound a range: the dash is literal.
                    appendClassAtom(first);
                    m_out += u"\\-";
                    appendClassAtom(last);
                }
                continue;
            }
            appendClassAtom(first);
        }
        if (!more()) {
            return false; // unterminated class
        }
        ++m_pos;
        m_out.push_back(u']');
        return true;
    }

    std::u16string_view m_in;
    bool m_multiline;
    std::size_t m_pos = 0;
    int m_groupCount = 0;
    bool m_quantifiable = false;
    std::u16string m_out;
};

PCRE2_SPTR16 codeUnits(std::u16string_view text)
{
    return reinterpret_cast<PCRE2_SPTR16>(text.data());
}

// Expands one replacement text for one match, the way the scripting engine
// does: $nn is taken as two digits when group nn exists, else as $n
// followed by a digit; a $ that starts nothing known stays as it is.
class ReplacementExpander
{
public:
    ReplacementExpander(std::u16string_view subject, std::u16string_view replacement,
                        int groupCount)
        : m_subject(subject), m_replacement(replacement), m_groupCount(groupCount)
    {}

    template <class Span>
    void expand(std::u16string& out, std::size_t begin, std::size_t end, const Span& group) const
    {
        const std::u16string_view r = m_replacement;
        for (std::size_t i = 0; i < r.size(); ++i) {
            if (r[i] != u'$' || i + 1 == r.size()) {
                out.push_back(r[i]);
                continue;
            }
            const char16_t next = r[i + 1];
            if (next == u'$') {
                out.push_back(u'$');
                ++i;
            } else if (next == u'&') {
                out.append(m_subject.substr(begin, end - begin));
                ++i;
            } else if (next == u'`') {
                out.append(m_subject.substr(0, begin));
                ++i;
            } else if (next == u'\'') {
                out.append(m_subject.substr(end));
                ++i;
            } else if (isDigit(next)) {
                i += groupReference(out, r, i + 1, group);
            } else {
                out.push_back(u'$');
            }
        }
    }

private:
    // Appends the group named by the digits at `at` and gives how many
    // characters it used; 0 (and a literal $) when no group fits.
    template <class Span>
    std::size_t groupReference(std::u16string& out, std::u16string_view r, std::size_t at,
                               const Span& group) const
    {
        const int one = r[at] - u'0';
        if (at + 1 < r.size() && isDigit(r[at + 1])) {
            const int two = one * 10 + (r[at + 1] - u'0');
            if (two >= 1 && two <= m_groupCount) {
                out.append(group(two));
                return 2;
            }
        }
        if (one >= 1 && one <= m_groupCount) {
            out.append(group(one));
            return 1;
        }
        out.push_back(u'$');
        return 0;
    }

    std::u16string_view m_subject;
    std::u16string_view m_replacement;
    int m_groupCount;
};

} // namespace

// --- SubMatches, Match, MatchCollection ---------------------------------

RegExpSubMatches::RegExpSubMatches(std::vector<SubMatch> items) : m_items(std::move(items))
{}

long RegExpSubMatches::Count() const
{
    return static_cast<long>(m_items.size());
}

std::optional<SubMatch> RegExpSubMatches::Item(long index) const
{
    if (index < 0 || index >= Count()) {
        return std::nullopt;
    }
    return m_items[static_cast<std::size_t>(index)];
}

RegExpMatch::RegExpMatch(std::u16string value, long firstIndex,
                         std::shared_ptr<RegExpSubMatches> subMatches)
    : m_value(std::move(value)), m_firstIndex(firstIndex), m_subMatches(std::move(subMatches))
{}

std::u16string RegExpMatch::Value() const
{
    return m_value;
}

long RegExpMatch::FirstIndex() const
{
    return m_firstIndex;
}

long RegExpMatch::Length() const
{
    return static_cast<long>(m_value.size());
}

std::shared_ptr<RegExpSubMatches> RegExpMatch::SubMatches() const
{
    return m_subMatches;
}

RegExpMatchCollection::RegExpMatchCollection(std::vector<std::shared_ptr<RegExpMatch>> items)
    : m_items(std::move(items))
{}

long RegExpMatchCollection::Count() const
{
    return static_cast<long>(m_items.size());
}

std::shared_ptr<RegExpMatch> RegExpMatchCollection::Item(long index) const
{
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return m_items[static_cast<std::size_t>(index)];
}

// --- the engine ------------------------------------------------------------

struct VBScriptRegExp::Compiled
{
    pcre2_code_16* code = nullptr;
    int groupCount = 0;

    ~Compiled() { pcre2_code_free_16(code); }
};

// One match as offsets into the subject; unset groups hold PCRE2_UNSET.
struct VBScriptRegExp::Found
{
    std::size_t begin;
    std::size_t end;
    std::vector<std::pair<std::size_t, std::size_t>> groups;
};

VBScriptRegExp::VBScriptRegExp() = default;
VBScriptRegExp::~VBScriptRegExp() = default;

bool VBScriptRegExp::IgnoreCase() const
{
    return m_ignoreCase;
}

void VBScriptRegExp::setIgnoreCase(bool ignoreCase)
{
    m_ignoreCase = ignoreCase;
    m_compiledIsCurrent = false;
}

bool VBScriptRegExp::Multiline() const
{
    return m_multiline;
}

void VBScriptRegExp::setMultiline(bool multiline)
{
    m_multiline = multiline;
    m_compiledIsCurrent = false;
}

bool VBScriptRegExp::Global() const
{
    return m_global;
}

void VBScriptRegExp::setGlobal(bool global)
{
    m_global = global;
}

std::u16string VBScriptRegExp::Pattern() const
{
    return m_pattern;
}

void VBScriptRegExp::setPattern(std::u16string_view pattern)
{
    m_pattern = pattern;
    m_compiledIsCurrent = false;
}

bool VBScriptRegExp::setSingleline(bool)
{
    return false;
}

const VBScriptRegExp::Compiled* VBScriptRegExp::compiled()
{
    if (m_compiledIsCurrent) {
        return m_compiled.get();
    }
    m_compiledIsCurrent = true;
    m_compiled.reset();

    const std::optional<std::u16string> translated =
        PatternTranslator(m_pattern, m_multiline).translate();
    if (!translated) {
        return nullptr;
    }
    // UTF mode without UCP: case folds beyond ASCII as the scripting engine
    // does, while \d, \s and \w keep to ASCII. Unset groups match empty in
    // back references, and [] and [^] are the empty and the full class.
    std::uint32_t options =
        PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF;
    if (m_ignoreCase) {
        options |= PCRE2_CASELESS;
    }
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code_16* code = pcre2_compile_16(codeUnits(*translated), translated->size(), options,
                                           &error, &errorOffset, nullptr);
    if (!code) {
        return nullptr;
    }
    auto result = std::make_unique<Compiled>();
    result->code = code;
    std::uint32_t groups = 0;
    pcre2_pattern_info_16(code, PCRE2_INFO_CAPTURECOUNT, &groups);
    result->groupCount = static_cast<int>(groups);
    m_compiled = std::move(result);
    return m_compiled.get();
}

std::optional<std::vector<VBScriptRegExp::Found>>
VBScriptRegExp::findAll(std::u16string_view subject)
{
    const Compiled* compiledPattern = compiled();
    if (!compiledPattern) {
        return std::nullopt;
    }
    std::unique_ptr<pcre2_match_data_16, decltype(&pcre2_match_data_free_16)> data(
        pcre2_match_data_create_from_pattern_16(compiledPattern->code, nullptr),
        &pcre2_match_data_free_16);
    if (!data) {
        return std::nullopt;
    }
    std::vector<Found> found;
    std::size_t start = 0;
    while (start <= subject.size()) {
        const int rc = pcre2_match_16(compiledPattern->code, codeUnits(subject), subject.size(),
                                      start, 0, data.get(), nullptr);
        if (rc == PCRE2_ERROR_NOMATCH) {
            break;
        }
        if (rc < 0) {
            return std::nullopt; // gave up, for instance at the match limit
        }
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(data.get());
        Found match{ovector[0], ovector[1], {}};
        for (int g = 1; g <= compiledPattern->groupCount; ++g) {
            match.groups.emplace_back(ovector[2 * g], ovector[2 * g + 1]);
        }
        found.push_back(std::move(match));
        if (!m_global) {
            break;
        }
        const Found& last = found.back();
        start = last.end;
        if (last.end == last.begin) {
            // An empty match moves the search on by one character.
            start += (start + 1 < subject.size() && isHighSurrogate(subject[start]) &&
                      isLowSurrogate(subject[start + 1]))
                         ? 2
                         : 1;
        }
    }
    return found;
}

std::shared_ptr<RegExpMatchCollection> VBScriptRegExp::Execute(std::u16string_view subject)
{
    const std::optional<std::vector<Found>> found = findAll(subject);
    if (!found) {
        return nullptr;
    }
    std::vector<std::shared_ptr<RegExpMatch>> matches;
    matches.reserve(found->size());
    for (const Found& f : *found) {
        std::vector<SubMatch> subMatches;
        for (const auto& [begin, end] : f.groups) {
            if (begin == PCRE2_UNSET) {
                subMatches.push_back({});
            } else {
                subMatches.push_back({true, std::u16string(subject.substr(begin, end - begin))});
            }
        }
        matches.push_back(std::make_shared<RegExpMatch>(
            std::u16string(subject.substr(f.begin, f.end - f.begin)), static_cast<long>(f.begin),
            std::make_shared<RegExpSubMatches>(std::move(subMatches))));
    }
    return std::make_shared<RegExpMatchCollection>(std::move(matches));
}

std::optional<std::u16string> VBScriptRegExp::Replace(std::u16string_view subject,
                                                      std::u16string_view replacement)
{
    const std::optional<std::vector<Found>> found = findAll(subject);
    if (!found) {
        return std::nullopt;
    }
    const ReplacementExpander expander(subject, replacement, compiled()->groupCount);
    std::u16string result;
    std::size_t copied = 0;
    for (const Found& f : *found) {
        result.append(subject.substr(copied, f.begin - copied));
        auto group = [&](int number) {
            const auto& [begin, end] = f.groups[static_cast<std::size_t>(number - 1)];
            return begin == PCRE2_UNSET ? std::u16string_view()
                                        : subject.substr(begin, end - begin);
        };
        expander.expand(result, f.begin, f.end, group);
        copied = f.end;
    }
    result.append(subject.substr(copied));
    return result;
}

std::shared_ptr<AutomationObject> makeVBScriptRegExp()
{
    return std::make_shared<VBScriptRegExp>();
}

} // namespace brisma::platform::com
