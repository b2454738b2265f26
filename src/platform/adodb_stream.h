#pragma once

#include "platform/com.h"
#include "text/types.h"

#include <optional>
#include <string>
#include <string_view>

namespace brisma::platform::com {

// The "Adodb.Stream" automation object: a stream of bytes that can also be
// read and written as text in a named charset. Text crosses the object as
// UTF-16, as a BSTR does; what the caller makes of it is the caller's affair.
//
// Charset names are those Windows knows ("utf-8", "gbk", "gb2312", "big5",
// "unicode", "unicodeFFFE", "iso-8859-1", ...), in any letter case; an
// unknown name is taken but makes ReadText and WriteText fail. ReadText from
// the start skips the charset's byte order mark; WriteText at position 0
// writes it ("utf-8": EF BB BF, "unicode": FF FE, "unicodeFFFE": FE FF).
// Characters the charset cannot hold are written as "?".
//
// Every member reports failure by its result and then has changed nothing.
class AdodbStream : public AutomationObject
{
public:
    static constexpr long adTypeBinary = 1;
    static constexpr long adTypeText = 2;
    static constexpr long adReadAll = -1;
    static constexpr long adWriteChar = 0;
    static constexpr long adWriteLine = 1; // appends CR LF

    // adTypeText until set. Settable while closed, or while open at
    // position 0.
    long Type() const { return m_type; }
    bool setType(long type);

    // In bytes. Needs an open stream; may be set beyond the end, where
    // reads find nothing and a write fills the gap with zero bytes.
    long Position() const { return static_cast<long>(m_position); }
    bool setPosition(long position);

    // "Unicode" until set. Settable while closed, or while open at
    // position 0.
    std::string Charset() const { return m_charset; }
    bool setCharset(std::string_view charset);

    long Size() const { return static_cast<long>(m_data.size()); }

    // Opens an empty stream; fails when already open.
    bool Open();
    // Drops the contents; fails when not open.
    bool Close();

    // Binary streams only: writes at the position and moves it behind.
    bool Write(const Bytes& buffer);
    // Binary streams only: up to numBytes (or all) from the position.
    std::optional<Bytes> Read(long numBytes = adReadAll);

    // Text streams only: the rest of the stream decoded. Only adReadAll is
    // supported.
    std::optional<std::u16string> ReadText(long numChars = adReadAll);
    // Text streams only: encodes text at the position and moves it behind.
    bool WriteText(std::u16string_view text, long options = adWriteChar);

private:
    void writeAtPosition(const Bytes& bytes);

    bool m_open = false;
    long m_type = adTypeText;
    std::string m_charset = "Unicode";
    Bytes m_data;
    std::size_t m_position = 0;
};

} // namespace brisma::platform::com
