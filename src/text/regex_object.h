#pragma once

#include "text/types.h"

#include <memory>

namespace brisma::platform::com {
class VBScriptRegExp;
class RegExpMatchCollection;
class RegExpMatch;
} // namespace brisma::platform::com

namespace brisma {

// Regular-expression matching and replacement on GBK texts, driving the
// scripting engine ("VBScript.RegExp"). One Create compiles one pattern
// against one subject; the queries answer about that Create.
//
// Texts cross into the engine as UTF-16 and come back as GBK. Nothing
// throws: an engine that cannot be made, a pattern it rejects or an index
// outside the matches gives empty Text, false or 0.
//
// COM is initialised on the constructing thread for the object's lifetime,
// so an object is used on the thread that made it.
class RegexObject
{
public:
    RegexObject();
    ~RegexObject();
    // A copy shares the engine and its matches and keeps its own subject;
    // it takes its own COM initialisation, undone by its own destruction.
    RegexObject(const RegexObject& other);
    RegexObject& operator=(const RegexObject& other);

    // True when the engine produced a match collection, also one that is
    // empty. With expandQuotePlaceholder, "#引号" in the pattern stands for a
    // double quote.
    bool Create(const Text& pattern, const Text& subject, bool caseSensitive = false,
                bool multiline = true, bool global = true, bool expandQuotePlaceholder = false);

    Text GetPattern() const;

    // The subject of the last Create with its matches replaced (all of them
    // when global, else the first). Empty when the engine failed.
    Text ReplaceMatches(const Text& replacement) const;

    int MatchCount() const;

    // Match `index` (from 1). When position is given it receives the byte
    // offset (from 0) of the match in the subject, or -2 when the text is
    // not found there.
    Text MatchText(int index, int* position = nullptr) const;

    // Group `subIndex` (from 1) of match `index` (from 1); a group that took
    // no part gives empty Text. position receives the byte offset of the
    // first occurrence of the group's text at or after the match, or -2.
    Text SubMatchText(int index, int subIndex, int* position = nullptr) const;

    // Number of groups in the first match; 0 when nothing matched.
    int SubMatchCount() const;

private:
    std::shared_ptr<platform::com::RegExpMatch> match(int index) const;
    int positionOf(const Text& found, const platform::com::RegExpMatch& match) const;
    void release();

    std::shared_ptr<platform::com::VBScriptRegExp> m_engine;
    std::shared_ptr<platform::com::RegExpMatchCollection> m_matches;
    Text m_subject;
};

} // namespace brisma
