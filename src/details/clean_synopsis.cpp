#include "details/clean_synopsis.h"

#include "text/regex_object.h"

namespace brisma::details {
namespace {

const Text lineBreak = "\r\n";

// An LF, then any whitespace (further line breaks, spaces, tabs), then a CR:
// removing it joins the CR of one line break to the LF after the last blank
// line, so text lines stay as they are.
const Text blankLines = "\\n\\s*\\r";

} // namespace

Text CleanSynopsis(Text& text)
{
    // The object's lifetime is the COM initialisation for this call.
    RegexObject regex;
    if (text.starts_with(lineBreak)) {
        text.erase(0, lineBreak.size());
    }
    if (text.ends_with(lineBreak)) {
        text.erase(text.size() - lineBreak.size());
    }
    regex.Create(blankLines, text);
    return regex.ReplaceMatches({});
}

} // namespace brisma::details
