#include "platform/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <memory>

namespace brisma::platform {
namespace {

struct ConverterCloser
{
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's windows-936-2000 table is the one that maps the user-defined areas
// to the private-use code points exactly as Windows does (glibc's GBK does
// not). A converter is not thread-safe, so each call opens its own; opening
// one from ICU's cache is cheap.
Converter openCodePage936()
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-936-2000", &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    // Unmappable characters become "?", as WideCharToMultiByte's default.
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    return converter;
}

} // namespace

std::u16string gbkToUtf16(std::string_view gbk)
{
    if (gbk.empty()) {
        return {};
    }
    Converter converter = openCodePage936();
    if (!converter) {
        return {};
    }
    // Every input byte yields at most one UTF-16 unit.
    std::u16string out(gbk.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_toUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                   gbk.data(), static_cast<int32_t>(gbk.size()), &status);
    if (U_FAILURE(status)) {
        return {};
    }
    out.resize(static_cast<std::size_t>(length));
    return out;
}

Text utf16ToGbk(std::u16string_view utf16)
{
    if (utf16.empty()) {
        return {};
    }
    Converter converter = openCodePage936();
    if (!converter) {
        return {};
    }
    // Each UTF-16 unit yields at most two bytes.
    Text out(utf16.size() * 2 + 2, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                     utf16.data(), static_cast<int32_t>(utf16.size()), &status);
    if (U_FAILURE(status)) {
        return {};
    }
    out.resize(static_cast<std::size_t>(length));
    return out;
}

Text utf8ToGbk(std::string_view utf8)
{
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    return utf16ToGbk(
        std::u16string_view(unicode.getBuffer(), static_cast<std::size_t>(unicode.length())));
}

std::string gbkToUtf8(std::string_view gbk)
{
    std::u16string utf16 = gbkToUtf16(gbk);
    icu::UnicodeString unicode(utf16.data(), static_cast<int32_t>(utf16.size()));
    std::string out;
    unicode.toUTF8String(out);
    return out;
}

} // namespace brisma::platform
