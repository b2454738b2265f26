#include "platform/adodb_stream.h"

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace brisma::platform::com {
namespace {

struct Codec
{
    std::string icuName;
    std::string_view byteOrderMark;
};

std::string lowered(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

// Windows' names first, so that "gbk" and "gb2312" mean code page 936 with
// its user-defined areas, exactly as the rest of the program reads GBK.
std::optional<Codec> codecFor(std::string_view charset)
{
    struct Known
    {
        std::string_view name;
        const char* icuName;
        std::string_view byteOrderMark;
    };
    static constexpr Known known[] = {
        {"utf-8", "UTF-8", "\xEF\xBB\xBF"},   {"unicode", "UTF-16LE", "\xFF\xFE"},
        {"utf-16", "UTF-16LE", "\xFF\xFE"},   {"unicodefffe", "UTF-16BE", "\xFE\xFF"},
        {"gbk", "windows-936-2000", ""},      {"gb2312", "windows-936-2000", ""},
        {"cp936", "windows-936-2000", ""},    {"windows-936", "windows-936-2000", ""},
        {"big5", "windows-950-2000", ""},     {"gb18030", "GB18030", ""},
        {"us-ascii", "US-ASCII", ""},         {"iso-8859-1", "ISO-8859-1", ""},
        {"windows-1252", "windows-1252", ""},
    };
    const std::string name = lowered(charset);
    for (const Known& entry : known) {
        if (entry.name == name) {
            return Codec{entry.icuName, entry.byteOrderMark};
        }
    }
    if (name.empty()) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.c_str(), &status);
    if (U_FAILURE(status) || !converter) {
        return std::nullopt;
    }
    ucnv_close(converter);
    return Codec{name, {}};
}

struct ConverterCloser
{
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter(const Codec& codec)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(codec.icuName.c_str(), &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    // "?" for what the charset cannot hold, as WideCharToMultiByte does.
    // Charsets whose characters are wider keep ICU's own substitute.
    UErrorCode substitution = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &substitution);
    return converter;
}

std::optional<std::u16string> decode(const Codec& codec, const std::uint8_t* data, std::size_t size)
{
    if (size > static_cast<std::size_t>(INT32_MAX)) {
        return std::nullopt;
    }
    Converter converter = openConverter(codec);
    if (!converter) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text(reinterpret_cast<const char*>(data), static_cast<int32_t>(size),
                                  converter.get(), status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    return std::u16string(text.getBuffer(), static_cast<std::size_t>(text.length()));
}

std::optional<Bytes> encode(const Codec& codec, std::u16string_view text)
{
    if (text.size() > static_cast<std::size_t>(INT32_MAX / 4)) {
        return std::nullopt;
    }
    Converter converter = openConverter(codec);
    if (!converter) {
        return std::nullopt;
    }
    const auto length = static_cast<int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    const int32_t needed =
        ucnv_fromUChars(converter.get(), nullptr, 0, text.data(), length, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(needed) + 1, '\0');
    status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()), text.data(),
                        length, &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    return Bytes(out.begin(), out.begin() + written);
}

bool startsWith(const Bytes& data, std::size_t from, std::string_view prefix)
{
    return !prefix.empty() && data.size() - from >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), data.begin() + static_cast<long>(from),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

} // namespace

bool AdodbStream::setType(long type)
{
    if (type != adTypeBinary && type != adTypeText) {
        return false;
    }
    if (m_open && m_position != 0) {
        return false;
    }
    m_type = type;
    return true;
}

bool AdodbStream::setPosition(long position)
{
    if (!m_open || position < 0) {
        return false;
    }
    m_position = static_cast<std::size_t>(position);
    return true;
}

bool AdodbStream::setCharset(std::string_view charset)
{
    if (m_open && m_position != 0) {
        return false;
    }
    m_charset = charset;
    return true;
}

bool AdodbStream::Open()
{
    if (m_open) {
        return false;
    }
    m_open = true;
    m_data.clear();
    m_position = 0;
    return true;
}

bool AdodbStream::Close()
{
    if (!m_open) {
        return false;
    }
    m_open = false;
    Bytes().swap(m_data);
    m_position = 0;
    return true;
}

void AdodbStream::writeAtPosition(const Bytes& bytes)
{
    if (bytes.empty()) {
        return;
    }
    const std::size_t end = m_position + bytes.size();
    if (m_data.size() < end) {
        m_data.resize(end, 0);
    }
    std::copy(bytes.begin(), bytes.end(), m_data.begin() + static_cast<long>(m_position));
    m_position = end;
}

bool AdodbStream::Write(const Bytes& buffer)
{
    if (!m_open || m_type != adTypeBinary) {
        return false;
    }
    writeAtPosition(buffer);
    return true;
}

std::optional<Bytes> AdodbStream::Read(long numBytes)
{
    if (!m_open || m_type != adTypeBinary || (numBytes < 0 && numBytes != adReadAll)) {
        return std::nullopt;
    }
    if (m_position >= m_data.size()) {
        return Bytes();
    }
    const std::size_t from = m_position;
    std::size_t count = m_data.size() - from;
    if (numBytes != adReadAll) {
        count = std::min(count, static_cast<std::size_t>(numBytes));
    }
    Bytes result(m_data.begin() + static_cast<long>(from),
                 m_data.begin() + static_cast<long>(from + count));
    m_position = from + count;
    return result;
}

std::optional<std::u16string> AdodbStream::ReadText(long numChars)
{
    if (!m_open || m_type != adTypeText || numChars != adReadAll) {
        return std::nullopt;
    }
    const std::optional<Codec> codec = codecFor(m_charset);
    if (!codec) {
        return std::nullopt;
    }
    std::size_t from = std::min(m_position, m_data.size());
    if (from == 0 && startsWith(m_data, 0, codec->byteOrderMark)) {
        from = codec->byteOrderMark.size();
    }
    std::optional<std::u16string> text = decode(*codec, m_data.data() + from, m_data.size() - from);
    if (text) {
        m_position = std::max(m_position, m_data.size());
    }
    return text;
}

bool AdodbStream::WriteText(std::u16string_view text, long options)
{
    if (!m_open || m_type != adTypeText || (options != adWriteChar && options != adWriteLine)) {
        return false;
    }
    const std::optional<Codec> codec = codecFor(m_charset);
    if (!codec) {
        return false;
    }
    std::u16string line(text);
    if (options == adWriteLine) {
        line += u"\r\n";
    }
    std::optional<Bytes> bytes = encode(*codec, line);
    if (!bytes) {
        return false;
    }
    if (m_position == 0 && !bytes->empty()) {
        bytes->insert(bytes->begin(), codec->byteOrderMark.begin(), codec->byteOrderMark.end());
    }
    writeAtPosition(*bytes);
    return true;
}

std::shared_ptr<AutomationObject> makeAdodbStream()
{
    return std::make_shared<AdodbStream>();
}

} // namespace brisma::platform::com
