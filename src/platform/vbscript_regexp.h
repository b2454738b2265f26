#pragma once

#include "platform/com.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The scripting regular-expression engine ("VBScript.RegExp") as an
// automation object. Texts cross as UTF-16, offsets count UTF-16 code units
// from 0, and patterns follow the scripting engine's syntax and matching
// rules rather than PCRE2's own:
//   - `.` matches anything but LF;
//   - `\s` is [ \f\n\r\t\v], `\v` is the vertical tab alone;
//   - with Multiline, `^` and `$` also match next to CR and LF; without it
//     `$` matches only at the very end (never before a final LF);
//   - an unknown escape of a letter stands for the letter;
//   - group syntax beyond (?:, (?= and (?! is an error, so is a quantifier
//     on a quantifier;
//   - after an empty match the next search starts one code unit further on.
// A pattern the engine rejects makes Execute and Replace fail.
namespace brisma::platform::com {

// One entry of a match's SubMatches: the group's text, or Empty when the
// group took no part in the match (which a caller may tell from "").
struct SubMatch
{
    bool participated = false;
    std::u16string value;
};

class RegExpSubMatches : public AutomationObject
{
public:
    explicit RegExpSubMatches(std::vector<SubMatch> items);

    long Count() const;
    // Fails (nullopt) for an index outside 0 .. Count - 1.
    std::optional<SubMatch> Item(long index) const;

private:
    std::vector<SubMatch> m_items;
};

class RegExpMatch : public AutomationObject
{
public:
    RegExpMatch(std::u16string value, long firstIndex,
                std::shared_ptr<RegExpSubMatches> subMatches);

    std::u16string Value() const;
    long FirstIndex() const;
    long Length() const;
    std::shared_ptr<RegExpSubMatches> SubMatches() const;

private:
    std::u16string m_value;
    long m_firstIndex;
    std::shared_ptr<RegExpSubMatches> m_subMatches;
};

class RegExpMatchCollection : public AutomationObject
{
public:
    explicit RegExpMatchCollection(std::vector<std::shared_ptr<RegExpMatch>> items);

    long Count() const;
    // Null for an index outside 0 .. Count - 1.
    std::shared_ptr<RegExpMatch> Item(long index) const;

private:
    std::vector<std::shared_ptr<RegExpMatch>> m_items;
};

class VBScriptRegExp : public AutomationObject
{
public:
    VBScriptRegExp();
    ~VBScriptRegExp() override;
    VBScriptRegExp(const VBScriptRegExp&) = delete;
    VBScriptRegExp& operator=(const VBScriptRegExp&) = delete;

    bool IgnoreCase() const;
    void setIgnoreCase(bool ignoreCase);
    bool Multiline() const;
    void setMultiline(bool multiline);
    bool Global() const;
    void setGlobal(bool global);
    std::u16string Pattern() const;
    void setPattern(std::u16string_view pattern);

    // The engine has no such member: the write always fails and changes
    // nothing, so a dot keeps stopping at LF.
    bool setSingleline(bool singleline);

    // Every match (Global) or the first; null when the pattern is invalid or
    // matching gives up.
    std::shared_ptr<RegExpMatchCollection> Execute(std::u16string_view subject);

    // The subject with every match (Global) or the first replaced. The
    // replacement understands $1..$99, $&, $`, $' and $$; any other $ stays.
    // nullopt when the pattern is invalid or matching gives up.
    std::optional<std::u16string> Replace(std::u16string_view subject,
                                          std::u16string_view replacement);

private:
    struct Compiled;
    struct Found;

    const Compiled* compiled();
    std::optional<std::vector<Found>> findAll(std::u16string_view subject);

    bool m_ignoreCase = false;
    bool m_multiline = false;
    bool m_global = false;
    std::u16string m_pattern;
    std::unique_ptr<Compiled> m_compiled;
    bool m_compiledIsCurrent = false;
};

} // namespace brisma::platform::com
