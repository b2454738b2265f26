#include "app/url_reader.h"

#include <curl/curl.h>

#include <memory>

namespace brisma::app {
namespace {

constexpr long connectTimeoutSeconds = 60;
// The transfer gives up after this long without a byte.
constexpr long stallTimeoutSeconds = 30;

struct Body
{
    Bytes bytes;
    bool tooLarge = false;
};

std::size_t appendToBody(char* data, std::size_t size, std::size_t count, void* context)
{
    auto* body = static_cast<Body*>(context);
    const std::size_t length = size * count;
    if (length > maximumUrlBodySize - body->bytes.size()) {
        body->tooLarge = true;
        return 0; // makes curl stop with an error
    }
    body->bytes.insert(body->bytes.end(), data, data + length);
    return length;
}

bool isWebAddress(const Text& address)
{
    const auto startsWith = [&](std::string_view prefix) {
        if (address.size() < prefix.size()) {
            return false;
        }
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            const char c = address[i];
            const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            if (lower != prefix[i]) {
                return false;
            }
        }
        return true;
    };
    return (startsWith("http://") || startsWith("https://")) && address.find('\0') == Text::npos;
}

} // namespace

Bytes readUrlIntoBytes(const Text& address)
{
    if (!isWebAddress(address)) {
        return {};
    }
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        return {};
    }
    Body body;
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, connectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, stallTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "127.0.0.1,localhost,::1");
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendToBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(handle) != CURLE_OK || body.tooLarge) {
        return {};
    }
    return std::move(body.bytes);
}

} // namespace brisma::app
