#pragma once

#include <string>

// Plain HTTP over a socket of our own, so the tests see exactly which bytes
// the demo site sends (and whether it sends any).
namespace brisma::test {

struct RawResponse
{
    bool connected = false;
    std::string bytes; // everything received until the site closed
    int status = 0;    // of the first response; 0 when none came
    std::string head;  // status line and header lines of the first response
    std::string body;  // the rest after the first head
};

// Sends request as given and reads until the connection closes.
RawResponse exchange(int port, const std::string& request);

// GET target with Host and "Connection: close", then extraHeaders, each line
// ending in CR LF.
RawResponse get(int port, const std::string& target, const std::string& extraHeaders = {});

} // namespace brisma::test
