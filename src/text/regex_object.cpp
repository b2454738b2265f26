#include "text/regex_object.h"

#include "platform/codepage.h"
#include "platform/com.h"
#include "platform/vbscript_regexp.h"
#include "text/primitives.h"

#include <algorithm>
#include <optional>

namespace brisma {

namespace com = platform::com;

namespace {

// "#引号", spelt in GBK bytes so that it means the same whatever compiler
// builds it.
const Text quotePlaceholder = "#\xD2\xFD\xBA\xC5";

} // namespace

RegexObject::RegexObject()
{
    com::CoInitialize(nullptr);
}

RegexObject::~RegexObject()
{
    release();
    m_subject.clear();
    com::CoUninitialize();
}

RegexObject::RegexObject(const RegexObject& other)
    : m_engine(other.m_engine), m_matches(other.m_matches), m_subject(other.m_subject)
{
    com::CoInitialize(nullptr);
}

RegexObject& RegexObject::operator=(const RegexObject& other)
{
    if (this != &other) {
        m_engine = other.m_engine;
        m_matches = other.m_matches;
        m_subject = other.m_subject;
    }
    return *this;
}

void RegexObject::release()
{
    // The matches were made by the engine, so they go first.
    m_matches.reset();
    m_engine.reset();
}

bool RegexObject::Create(const Text& pattern, const Text& subject, bool caseSensitive,
                         bool multiline, bool global, bool expandQuotePlaceholder)
{
    release();
    m_engine = com::CreateObjectAs<com::VBScriptRegExp>("VBScript.RegExp");
    if (m_engine) {
        m_engine->setIgnoreCase(!caseSensitive);
        m_engine->setMultiline(multiline);
        m_engine->setSingleline(true); // the engine has no such member; the write fails
        m_engine->setGlobal(global);
        const Text effective =
            expandQuotePlaceholder ? ReplaceText(pattern, quotePlaceholder, "\"", true) : pattern;
        m_engine->setPattern(platform::gbkToUtf16(effective));
        m_matches = m_engine->Execute(platform::gbkToUtf16(subject));
    }
    m_subject = subject;
    return m_matches != nullptr;
}

Text RegexObject::GetPattern() const
{
    return m_engine ? platform::utf16ToGbk(m_engine->Pattern()) : Text();
}

Text RegexObject::ReplaceMatches(const Text& replacement) const
{
    if (!m_engine) {
        return {};
    }
    const std::optional<std::u16string> replaced =
        m_engine->Replace(platform::gbkToUtf16(m_subject), platform::gbkToUtf16(replacement));
    return replaced ? platform::utf16ToGbk(*replaced) : Text();
}

int RegexObject::MatchCount() const
{
    return m_matches ? static_cast<int>(m_matches->Count()) : 0;
}

std::shared_ptr<com::RegExpMatch> RegexObject::match(int index) const
{
    return m_matches ? m_matches->Item(static_cast<long>(index) - 1) : nullptr;
}

// The engine counts UTF-16 units, the subject bytes. The match start is
// found again in bytes by converting what stands before it, and the text is
// searched for from there.
int RegexObject::positionOf(const Text& found, const com::RegExpMatch& match) const
{
    const std::u16string wide = platform::gbkToUtf16(m_subject);
    const std::size_t units =
        std::min<std::size_t>(static_cast<std::size_t>(match.FirstIndex()), wide.size());
    const int byteOffset =
        static_cast<int>(platform::utf16ToGbk(std::u16string_view(wide).substr(0, units)).size());
    if (found.empty()) {
        return byteOffset;
    }
    const bool ignoreCase = m_engine && m_engine->IgnoreCase();
    const int at = FindText(m_subject, found, byteOffset + 1, !ignoreCase);
    return at < 0 ? -2 : at - 1;
}

Text RegexObject::MatchText(int index, int* position) const
{
    const std::shared_ptr<com::RegExpMatch> found = match(index);
    if (!found) {
        return {};
    }
    Text value = platform::utf16ToGbk(found->Value());
    if (position) {
        *position = positionOf(value, *found);
    }
    return value;
}

Text RegexObject::SubMatchText(int index, int subIndex, int* position) const
{
    const std::shared_ptr<com::RegExpMatch> found = match(index);
    if (!found) {
        return {};
    }
    const std::optional<com::SubMatch> group =
        found->SubMatches()->Item(static_cast<long>(subIndex) - 1);
    if (!group) {
        return {};
    }
    Text value = platform::utf16ToGbk(group->value);
    if (position) {
        *position = positionOf(value, *found);
    }
    return value;
}

int RegexObject::SubMatchCount() const
{
    const std::shared_ptr<com::RegExpMatch> first = match(1);
    return first ? static_cast<int>(first->SubMatches()->Count()) : 0;
}

} // namespace brisma
