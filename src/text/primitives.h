#pragma once

#include "text/types.h"

// The GBK text primitives every other routine of the program builds on.
//
// Positions count bytes from 1 (a two-byte character counts 2); a search that
// finds nothing gives -1. Texts are walked one GBK character at a time: a byte
// of 0x80 or above begins a two-byte character, and no match ever starts at a
// character's second byte. Ignoring case folds the ASCII letters only.
namespace brisma {

// Position of the first occurrence of needle that begins at or after
// startPosition (1 or less: the first byte), or -1. An empty needle is found
// at the start position itself when that lies inside the text.
int FindText(const Text& text, const Text& needle, int startPosition = 1,
             bool caseSensitive = true);

// count bytes from position, fewer when the text ends first; empty when
// position is below 1 or beyond the end, or count is 0 or negative.
Text MidText(const Text& text, int position, int count);

// Removes the leading and trailing runs of spaces: 0x20 and the full-width
// space A1 A1. Tabs and line breaks are not spaces.
Text TrimSpaces(const Text& text);

// Replaces every occurrence of oldText, scanning from the left and going on
// behind each replacement, so replacements never overlap.
Text ReplaceText(const Text& text, const Text& oldText, const Text& newText,
                 bool caseSensitive = true);

// Cuts text at every separator: an empty text gives no pieces, a separator at
// the very end gives no empty last piece, two separators in a row give an
// empty piece between them.
TextArray SplitText(const Text& text, const Text& separator);

// Removes every 0x20 and every full-width space A1 A1, wherever they stand.
Text RemoveAllSpaces(const Text& text);

} // namespace brisma
