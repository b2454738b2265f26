#pragma once

#include "demo-site/site.h"

#include <optional>
#include <string>
#include <vector>

namespace brisma::demo {

struct Options
{
    int port = 0;
    std::string logFile; // empty: no request log
    int delayMs = 0;
    // Everything but hosts.site, which is known once the port is bound.
    SiteSettings site;
    bool help = false;
};

struct ParsedOptions
{
    std::optional<Options> options; // empty when the command line is wrong
    std::string error;
};

// Parses the arguments after the program name.
ParsedOptions parseOptions(const std::vector<std::string>& arguments);
std::string usage();

// "\r", "\n", "\0" and "\\" become CR, LF, a zero byte and a backslash; any
// other backslash is an error.
std::optional<std::string> unescape(const std::string& text);

} // namespace brisma::demo
