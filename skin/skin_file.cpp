#include "skin_file.h"

#include <fstream>
#include <string>

namespace brisma::skin {
namespace {

constexpr std::string_view magic = ".SHE";

enum class Section
{
    None,
    Skin,
    Colours,
    Style,
    Unknown
};

std::string_view trimmed(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Section sectionNamed(std::string_view name)
{
    if (name == "skin") {
        return Section::Skin;
    }
    if (name == "colours") {
        return Section::Colours;
    }
    if (name == "style") {
        return Section::Style;
    }
    return Section::Unknown;
}

// Only "#rrggbb": colour names and other spellings are not part of the format.
std::optional<QColor> parseColour(std::string_view text)
{
    if (text.size() != 7 || text.front() != '#') {
        return std::nullopt;
    }
    for (char c : text.substr(1)) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) {
            return std::nullopt;
        }
    }
    return QColor(toQString(text));
}

struct Setting
{
    std::string_view key;
    std::string_view value;
};

std::optional<Setting> parseSetting(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    Setting setting{trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
    if (setting.key.empty()) {
        return std::nullopt;
    }
    return setting;
}

void applySetting(SkinDescription& skin, Section section, const Setting& setting)
{
    if (section == Section::Skin) {
        if (setting.key == "name") {
            skin.name = toQString(setting.value);
        } else if (setting.key == "style") {
            skin.styleName = toQString(setting.value);
        }
        return;
    }
    if (section == Section::Colours) {
        if (const auto colour = parseColour(setting.value)) {
            skin.colours.emplace_back(toQString(setting.key), *colour);
        }
    }
}

} // namespace

std::optional<QColor> SkinDescription::colour(const QString& colourName) const
{
    for (const auto& [name, value] : colours) {
        if (name == colourName) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<SkinDescription> parseSkinFile(std::string_view contents)
{
    if (contents.size() > maximumSkinFileSize || contents.substr(0, magic.size()) != magic) {
        return std::nullopt;
    }
    SkinDescription skin;
    Section section = Section::None;
    std::string_view rest = contents;
    bool firstLine = true;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view rawLine = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (firstLine) {
            firstLine = false; // the magic and the format version
            continue;
        }
        const std::string_view line = trimmed(rawLine);
        if (section == Section::Style && !(line.size() > 1 && line.front() == '[')) {
            std::string_view styleLine = rawLine;
            if (!styleLine.empty() && styleLine.back() == '\r') {
                styleLine.remove_suffix(1);
            }
            skin.styleTemplate += toQString(styleLine);
            skin.styleTemplate += u'\n';
            continue;
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            section = sectionNamed(line.substr(1, line.size() - 2));
            continue;
        }
        if (const auto setting = parseSetting(line)) {
            applySetting(skin, section, *setting);
        }
    }
    if (skin.colours.empty()) {
        return std::nullopt;
    }
    return skin;
}

std::optional<SkinDescription> loadSkinFile(const char* path)
{
    if (path == nullptr) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::string contents;
    contents.resize(maximumSkinFileSize + 1);
    file.read(contents.data(), static_cast<std::streamsize>(contents.size()));
    contents.resize(static_cast<std::size_t>(file.gcount()));
    return parseSkinFile(contents);
}

} // namespace brisma::skin
