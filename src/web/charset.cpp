#include "web/charset.h"

#include "platform/adodb_stream.h"
#include "platform/codepage.h"
#include "platform/com.h"

namespace brisma::web {
namespace {

using platform::com::AdodbStream;

const Text defaultFromCharset = "UTF-8";
const Text defaultToCharset = "GBK";

// A member call that fails changes nothing and yields nothing, and the
// next step goes on regardless; without an object every step is such a
// call, which leaves the result empty.
Bytes convertThroughStream(const Bytes& data, const Text& fromCharset, const Text& toCharset,
                           std::optional<int> startPosition)
{
    const auto stream = platform::com::CreateObjectAs<AdodbStream>("Adodb.Stream");
    if (!stream) {
        return {};
    }
    stream->setType(AdodbStream::adTypeBinary);
    stream->Open();
    stream->Write(data);

    stream->setPosition(0);
    stream->setType(AdodbStream::adTypeText);
    stream->setCharset(fromCharset);
    // The decoded text is held as the program holds all text: in GBK.
    const Text text = platform::utf16ToGbk(stream->ReadText().value_or(std::u16string()));

    stream->Close();
    stream->Open();
    stream->setCharset(toCharset);
    stream->WriteText(platform::gbkToUtf16(text));

    stream->setPosition(0);
    stream->setType(AdodbStream::adTypeBinary);
    if (startPosition) {
        stream->setPosition(*startPosition);
    }
    return stream->Read().value_or(Bytes());
}

} // namespace

Bytes ConvertCharset(const Bytes& data, const Text& fromCharset, const Text& toCharset,
                     std::optional<int> startPosition)
{
    const Text from = fromCharset.empty() ? defaultFromCharset : fromCharset;
    const Text to = toCharset.empty() ? defaultToCharset : toCharset;
    platform::com::CoInitialize();
    Bytes result = convertThroughStream(data, from, to, startPosition);
    platform::com::CoUninitialize();
    return result;
}

} // namespace brisma::web
