#pragma once

#include "hsv_adjustment.h"
#include "skin_file.h"

#include <QPalette>
#include <QString>

#include <optional>

namespace brisma::skin {

// The palette roles a skin file may colour, by the names the file uses.
struct PaletteRoleName
{
    const char16_t* name;
    QPalette::ColorRole role;
};
extern const PaletteRoleName paletteRoleNames[19];

// The skin's palette with every colour recoloured by `adjustment`. Disabled
// texts take the skin's placeholder colour when it has one.
QPalette skinPalette(const SkinDescription& skin, const HsvAdjustment& adjustment);

// The skin's style sheet, its @name@ places filled with the recoloured
// colours. Places naming no colour of the skin stay as written.
QString skinStyleSheet(const SkinDescription& skin, const HsvAdjustment& adjustment);

// A skin: attached once, then recoloured on request. Only for the
// user-interface thread of a QApplication.
class SkinEngine
{
public:
    // The one the exported routines use.
    static SkinEngine& instance();

    bool attach(const char* skinFile);
    bool adjust(const HsvAdjustment& adjustment);
    bool isAttached() const { return m_skin.has_value(); }

private:
    void apply(const HsvAdjustment& adjustment);

    std::optional<SkinDescription> m_skin;
};

// True on the thread of a running QApplication (not a bare QGuiApplication):
// the only place where the application's look may change.
bool onApplicationThread();

} // namespace brisma::skin
