#pragma once

#include "text/types.h"

// Folding the cookies a response set into the cookies a caller sent, so the
// caller can send the result with its next request.
namespace brisma::web {

// The merged cookie text, items joined by "; ": first the cookies the
// response set (newCookies), then the caller's (oldCookies) whose names the
// response did not set; cookies set to "deleted", empty items and exact
// repeats are left out. Both arguments lose every space: oldCookies then
// holds the result, newCookies its own items without spaces.
Text MergeCookies(Text& oldCookies, Text& newCookies);

// The bytes in front of the item's first "=" (all of it without one),
// trimmed of spaces.
Text CookieName(const Text& item);

// True when some item of the list has exactly that name.
bool HasCookieNamed(const TextArray& list, const Text& name);

// The 1-based index of the first item equal to text, or -1.
int IndexOfItem(const TextArray& list, const Text& text);

// The pieces of text between separators, each kept only at its first
// occurrence, joined again by the separator.
Text RemoveDuplicateItems(const Text& text, const Text& separator);

} // namespace brisma::web
