#pragma once

#include "text/types.h"

#include <optional>

// The one HTTP request routine of the program, in two forms: the body as
// Text (converted to GBK when the response looks like UTF-8) and the body as
// Bytes, unconverted. Every call opens, uses and closes its own handles;
// nothing is retried and the status code is not looked at, so an error
// page's body comes back like any other. Safe to call from several threads.
namespace brisma::web {

// url: "http://", "https://" or no scheme (http).
// method: 1 sends POST, anything else GET; anything but 0 sends a body:
//     postBytes, or postText's bytes when postBytes is empty.
// cookies: not given (null) leaves cookies to the process-wide store. Given,
//     even empty, the store is left out: these cookies are sent, and on
//     return the pointee holds them merged with what the response set.
// receivedCookies: gets the name=value pairs the response set, "; "-joined.
// extraHeaders: more request lines, CR LF between them; a User-Agent line
//     also names the agent.
// redirectAddress: gets the response's Location (or Content-Location)
//     value, or the whole response header block when it has none.
// noRedirect: true returns a redirection response instead of following it.
// proxy: given as "host:port", plain-http requests to hosts other than
//     loopback go through that proxy.
// responseHeaders: gets the raw response header block; 5000 spaces when
//     none arrived or it did not fit into 5000 bytes.
// The out arguments are written only once a request could be opened; the
// result is empty on every failure.
Text WebRequest(const Text& url, int method = 0, const Text& postText = {}, Text* cookies = nullptr,
                Text* receivedCookies = nullptr, const Text& extraHeaders = {},
                Text* redirectAddress = nullptr, bool noRedirect = false,
                const Bytes& postBytes = {}, const std::optional<Text>& proxy = std::nullopt,
                Text* responseHeaders = nullptr);

Bytes WebRequestBytes(const Text& url, int method = 0, const Text& postText = {},
                      Text* cookies = nullptr, Text* receivedCookies = nullptr,
                      const Text& extraHeaders = {}, Text* redirectAddress = nullptr,
                      bool noRedirect = false, const Bytes& postBytes = {},
                      const std::optional<Text>& proxy = std::nullopt,
                      Text* responseHeaders = nullptr);

// The bytes behind the first ":" of text, trimmed of spaces; empty without
// a ":".
Text ValueAfterColon(const Text& text);

} // namespace brisma::web
