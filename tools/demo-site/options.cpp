#include "demo-site/options.h"

#include "platform/hosts.h"

#include <charconv>
#include <functional>
#include <map>

namespace brisma::demo {

namespace {

std::optional<int> parseNumber(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

// The port of a "host:port" value; 80 without one.
int portOf(const std::string& host)
{
    const auto colon = host.rfind(':');
    if (colon == std::string::npos) {
        return 80;
    }
    return parseNumber(std::string_view(host).substr(colon + 1), 1, 65535).value_or(80);
}

std::optional<IndexPageRef> parsePageRef(const std::string& value)
{
    const auto colon = value.rfind(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    const std::string path = value.substr(0, colon);
    const auto page = parseNumber(std::string_view(value).substr(colon + 1), 1, pagesPerCategory);
    if (!isIndexPath(path) || !page) {
        return std::nullopt;
    }
    return IndexPageRef{path, *page};
}

// Each option takes one value and stores it; false means the value is wrong.
using Setter = std::function<bool(Options&, const std::string&)>;

Setter number(int Options::*field, int lowest, int highest)
{
    return [=](Options& options, const std::string& value) {
        auto parsed = parseNumber(value, lowest, highest);
        if (parsed) {
            options.*field = *parsed;
        }
        return parsed.has_value();
    };
}

Setter pageSet(std::set<IndexPageRef> SiteFaults::*field)
{
    return [=](Options& options, const std::string& value) {
        auto ref = parsePageRef(value);
        if (ref) {
            (options.site.faults.*field).insert(*ref);
        }
        return ref.has_value();
    };
}

Setter pathSet(std::set<std::string> SiteFaults::*field)
{
    return [=](Options& options, const std::string& value) {
        if (value.empty() || value.front() != '/') {
            return false;
        }
        (options.site.faults.*field).insert(value);
        return true;
    };
}

Setter host(Text SiteHosts::*field)
{
    return [=](Options& options, const std::string& value) {
        options.site.hosts.*field = value;
        return !value.empty();
    };
}

const std::map<std::string, Setter>& setters()
{
    static const std::map<std::string, Setter> table{
        {"--port", number(&Options::port, 0, 65535)},
        {"--delay-ms", number(&Options::delayMs, 0, 600000)},
        {"--log",
         [](Options& options, const std::string& value) {
             options.logFile = value;
             return !value.empty();
         }},
        {"--version-text",
         [](Options& options, const std::string& value) {
             auto text = unescape(value);
             if (text) {
                 options.site.versionText = *text;
             }
             return text.has_value();
         }},
        {"--mismatch", pageSet(&SiteFaults::dateMissing)},
        {"--misindent", pageSet(&SiteFaults::misindented)},
        {"--surplus-address", pageSet(&SiteFaults::surplusAddress)},
        {"--close", pathSet(&SiteFaults::closed)},
        {"--fail500", pathSet(&SiteFaults::failing)},
        {"--third-site", host(&SiteHosts::thirdSite)},
        {"--image-server", host(&SiteHosts::imageServer)},
    };
    return table;
}

Options defaults()
{
    const Hosts build = Hosts::build();
    Options options;
    options.port = portOf(build.movieSite);
    options.site.hosts.thirdSite = build.thirdSite;
    options.site.hosts.imageServer = build.imageServer;
    return options;
}

} // namespace

std::optional<std::string> unescape(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            result += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case 'r':
            result += '\r';
            break;
        case 'n':
            result += '\n';
            break;
        case '0':
            result += '\0';
            break;
        case '\\':
            result += '\\';
            break;
        default:
            return std::nullopt;
        }
    }
    return result;
}

ParsedOptions parseOptions(const std::vector<std::string>& arguments)
{
    Options options = defaults();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const auto setter = setters().find(name);
        if (setter == setters().end()) {
            return {std::nullopt, "unknown option " + name};
        }
        if (!value) {
            if (i + 1 == arguments.size()) {
                return {std::nullopt, name + " needs a value"};
            }
            value = arguments[++i];
        }
        if (!setter->second(options, *value)) {
            return {std::nullopt, "bad value for " + name + ": " + *value};
        }
    }
    return {options, {}};
}

std::string usage()
{
    const Options fallback = defaults();
    return "Usage: brisma-demo-site [OPTION VALUE]...\n"
           "Serves the Brisma demo movie site, its pictures and the update files on\n"
           "127.0.0.1. Options take their value as the next argument or after '='.\n"
           "\n"
           "  --port N              listen on port N (default " +
           std::to_string(fallback.port) +
           "); 0 picks a free port.\n"
           "                        The first line on stdout is always\n"
           "                        \"listening on 127.0.0.1:PORT\".\n"
           "  --log FILE            append every request to FILE: its request line, then\n"
           "                        its header lines in arrival order, then an empty line\n"
           "  --version-text TEXT   body of /vorpel.txt (default \"1\"); \\r \\n \\0 \\\\\n"
           "                        stand for CR, LF, a zero byte and a backslash\n"
           "  --delay-ms N          wait N milliseconds before answering each request\n"
           "  --mismatch PATH:PAGE  one movie of that index page has no date\n"
           "                        (PATH is /ys/, /bd/, /1080p/, /720P/ or /3d/; PAGE 1-10)\n"
           "  --misindent PATH:PAGE the date tables of that index page are indented\n"
           "                        with 25 spaces instead of 26\n"
           "  --surplus-address PATH:PAGE\n"
           "                        that index page has one more poster link, without\n"
           "                        title or date, after its twelve movies\n"
           "  --close PATH          answer requests for PATH by closing the connection\n"
           "  --fail500 PATH        answer requests for PATH with 500 and an error page\n"
           "  --third-site HOST     the third site named in synopses (default " +
           fallback.site.hosts.thirdSite +
           ")\n"
           "  --image-server HOST   the image server named in synopses (default " +
           fallback.site.hosts.imageServer +
           ")\n"
           "  --help                show this text\n"
           "\n"
           "The fault options may be given several times. PATH is the request path\n"
           "without query, for example /3d/index_2.htm or /vorpel.txt.\n";
}

} // namespace brisma::demo
