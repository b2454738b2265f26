#pragma once

#include <QColor>
#include <QString>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace brisma::skin {

// What a ".SHE" skin file describes: named colours, the Qt style to draw
// with, and a style sheet template whose @name@ places take the colours.
struct SkinDescription
{
    QString name;
    QString styleName;
    std::vector<std::pair<QString, QColor>> colours; // in file order
    QString styleTemplate;

    std::optional<QColor> colour(const QString& colourName) const;
};

// Skin files are small; anything larger is not one of ours.
inline constexpr std::size_t maximumSkinFileSize = 256 * 1024;

// Reads a skin file's contents. Nothing when it does not start with ".SHE",
// holds no colour, or is too large. Malformed lines are skipped.
std::optional<SkinDescription> parseSkinFile(std::string_view contents);

// Reads and parses the file at `path` (the system's own bytes).
std::optional<SkinDescription> loadSkinFile(const char* path);

} // namespace brisma::skin
