#pragma once

#include "text/types.h"

#include <string>
#include <string_view>

// The ANSI code page of simplified Chinese Windows, code page 936, as Windows
// defines it: user-defined areas map to the private-use code points, 0x80 is
// the euro sign, and characters the code page cannot hold become "?".
namespace brisma::platform {

// GBK bytes to UTF-16. Invalid or truncated sequences never make it read past
// the end of the input; each becomes one replacement character.
std::u16string gbkToUtf16(std::string_view gbk);

// UTF-16 to GBK. Unmappable characters (and unpaired surrogates) become "?".
Text utf16ToGbk(std::u16string_view utf16);

// Convenience for the Qt side and for tests: UTF-8 <-> GBK by way of UTF-16.
Text utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);

} // namespace brisma::platform
