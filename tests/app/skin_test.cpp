#include "app/colour_button.h"
#include "app/deploy_skin.h"
#include "app/report_list.h"
#include "app_test_support.h"
#include "hsv_adjustment.h"
#include "skin/skin_api.h"
#include "skin_engine.h"
#include "skin_file.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace brisma;
using namespace brisma::skin;

namespace {

TEST(SkinFile, ReadsNamesColoursAndStyle)
{
    const std::string_view file = ".SHE 1\r\n"
                                  "# a comment\r\n"
                                  "[skin]\r\n"
                                  "name = Test\r\n"
                                  "style = Fusion\r\n"
                                  "[colours]\r\n"
                                  "window = #102030\r\n"
                                  "  text=#FFFFFF  \r\n"
                                  "[style]\r\n"
                                  "QHeaderView { color: @text@; }\r\n"
                                  "[other]\r\n"
                                  "window = #000000\r\n";
    const auto skin = parseSkinFile(file);
    ASSERT_TRUE(skin.has_value());
    EXPECT_EQ(skin->name, QStringLiteral("Test"));
    EXPECT_EQ(skin->styleName, QStringLiteral("Fusion"));
    ASSERT_EQ(skin->colours.size(), 2u);
    EXPECT_EQ(skin->colour(QStringLiteral("window")), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(skin->colour(QStringLiteral("text")), QColor(255, 255, 255));
    EXPECT_EQ(skin->styleTemplate, QStringLiteral("QHeaderView { color: @text@; }\n"));
}

TEST(SkinFile, RejectsWhatIsNotASkin)
{
    const std::string tooLarge =
        ".SHE 1\n[colours]\nwindow = #ffffff\n" + std::string(maximumSkinFileSize, '#');
    const std::string_view cases[] = {
        "",
        "MZ\x90\x00",
        "SHE 1\n[colours]\nwindow = #ffffff\n", // the magic needs its dot
        ".SHE 1\n[skin]\nname = no colours\n",
        tooLarge,
    };
    for (std::string_view contents : cases) {
        EXPECT_FALSE(parseSkinFile(contents).has_value()) << contents.substr(0, 40);
    }
}

TEST(SkinFile, SkipsMalformedColourLines)
{
    const auto skin = parseSkinFile(".SHE 1\n[colours]\n"
                                    "a = #12345\n"
                                    "b = red\n"
                                    "c = #12345g\n"
                                    "d #123456\n"
                                    " = #123456\n"
                                    "e = #abcdef\n");
    ASSERT_TRUE(skin.has_value());
    ASSERT_EQ(skin->colours.size(), 1u);
    EXPECT_EQ(skin->colours[0].first, QStringLiteral("e"));
}

TEST(SkinFile, TheCarriedSkinIsOne)
{
    const Bytes carried = app::carriedSkinFile();
    const auto skin = parseSkinFile(
        std::string_view(reinterpret_cast<const char*>(carried.data()), carried.size()));
    ASSERT_TRUE(skin.has_value());
    EXPECT_TRUE(skin->colour(QStringLiteral("window")).has_value());
    EXPECT_FALSE(skin->styleTemplate.isEmpty());
    // Every place in the style names a colour of the skin.
    EXPECT_FALSE(skinStyleSheet(*skin, {}).contains(u'@'));
}

struct HsvCase
{
    const char* name;
    QColor colour;
    HsvAdjustment adjustment;
    QColor expected;
};

TEST(HsvAdjustment, TurnsHueAndScalesSaturationAndValue)
{
    const HsvCase cases[] = {
        {"nothing changes", QColor(58, 142, 230), {0, 0, 0}, QColor(58, 142, 230)},
        {"blue turned by 120 is red", QColor(0, 0, 255), {120, 0, 0}, QColor(255, 0, 0)},
        {"red turned back by 120 is blue", QColor(255, 0, 0), {-120, 0, 0}, QColor(0, 0, 255)},
        {"turning wraps past 360", QColor(255, 0, 255), {180, 0, 0}, QColor(0, 255, 0)},
        {"greys have no hue to turn", QColor(128, 128, 128), {90, 100, 0}, QColor(128, 128, 128)},
        {"saturation -100 gives grey", QColor(255, 0, 0), {0, -100, 0}, QColor(255, 255, 255)},
        {"value -100 gives black", QColor(58, 142, 230), {0, 0, -100}, QColor(0, 0, 0)},
        {"value is held at its top", QColor(0, 0, 200), {0, 0, 100}, QColor(0, 0, 255)},
        {"saturation is held at its top", QColor(255, 64, 64), {0, 100, 0}, QColor(255, 0, 0)},
    };
    for (const HsvCase& c : cases) {
        EXPECT_EQ(adjusted(c.colour, c.adjustment), c.expected) << c.name;
    }
}

TEST(HsvAdjustment, AmountsOutOfRangeAreHeldAtTheirEnds)
{
    const HsvAdjustment held = HsvAdjustment::clamped(400, -250, 101);
    EXPECT_EQ(held.hue, 180);
    EXPECT_EQ(held.saturation, -100);
    EXPECT_EQ(held.value, 100);
}

TEST(SkinEngine, StyleSheetPlacesTakeTheTintedColours)
{
    SkinDescription skin;
    skin.colours = {{QStringLiteral("accent"), QColor(0, 0, 255)}};
    skin.styleTemplate = QStringLiteral("a { color: @accent@; } b { color: @unknown@; }");
    EXPECT_EQ(skinStyleSheet(skin, {120, 0, 0}),
              QStringLiteral("a { color: #ff0000; } b { color: @unknown@; }"));
}

TEST(SkinEngine, NothingToRecolourBeforeAttaching)
{
    test::TestToolkit toolkit;
    SkinEngine engine;
    const QColor before = QApplication::palette().color(QPalette::Highlight);
    EXPECT_FALSE(engine.adjust({120, 90, 40}));
    EXPECT_FALSE(engine.attach("/nonexistent/win8.she"));
    EXPECT_FALSE(engine.attach(nullptr));
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), before);
}

// The skin library as the program uses it: written out, loaded by name,
// called through its two exported routines.
class SkinLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_folder.path().empty());
        app::DeploySkin(m_toolkit, m_recorded, m_folder.path());
        m_library = ::dlopen((m_folder.path() + "/jedata.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_library, nullptr) << ::dlerror();
        m_attach = reinterpret_cast<SkinHAttachExRoutine>(::dlsym(m_library, "SkinH_AttachEx"));
        m_adjust = reinterpret_cast<SkinHAdjustHsvRoutine>(::dlsym(m_library, "SkinH_AdjustHSV"));
        ASSERT_NE(m_attach, nullptr);
        ASSERT_NE(m_adjust, nullptr);
        const Bytes carried = app::carriedSkinFile();
        m_skin = *parseSkinFile(
            std::string_view(reinterpret_cast<const char*>(carried.data()), carried.size()));
    }

    std::string skinFile() const { return m_folder.path() + "/win8.she"; }
    QColor skinColour(const char* name, HsvAdjustment tint = {}) const
    {
        return adjusted(*m_skin.colour(QString::fromLatin1(name)), tint);
    }

    test::TemporaryFolder m_folder;
    test::TestToolkit m_toolkit;
    test::RecordingSkin m_recorded;
    void* m_library = nullptr;
    SkinHAttachExRoutine m_attach = nullptr;
    SkinHAdjustHsvRoutine m_adjust = nullptr;
    SkinDescription m_skin;
};

TEST_F(SkinLibrary, ExportsOnlyItsTwoRoutines)
{
    EXPECT_EQ(::dlsym(m_library, "_ZN6brisma4skin10SkinEngine8instanceEv"), nullptr);
    EXPECT_EQ(::dlsym(m_library,
                      "_ZN6brisma4skin13parseSkinFileESt17basic_string_viewIcSt11char_traitsIcEE"),
              nullptr);
}

TEST_F(SkinLibrary, AttachDrawsEveryWindowInTheSkin)
{
    EXPECT_EQ(m_attach(skinFile().c_str(), ""), 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), skinColour("window"));
    EXPECT_TRUE(qApp->styleSheet().contains(skinColour("header").name()));

    QWidget window; // made after attaching, it is drawn in the skin
    window.resize(50, 50);
    window.show();
    EXPECT_EQ(test::pixelOf(window, 25, 25), skinColour("window"));
}

TEST_F(SkinLibrary, AdjustHsvRecoloursFromTheSkinsOwnColours)
{
    ASSERT_EQ(m_adjust(120, 90, 40), 0) << "nothing to recolour before attaching";
    m_attach(skinFile().c_str(), "");
    EXPECT_EQ(m_adjust(120, 90, 40), 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight),
              skinColour("highlight", {120, 90, 40}));
    EXPECT_TRUE(qApp->styleSheet().contains(skinColour("header", {120, 90, 40}).name()));
    // Calls do not add up: each starts from the skin file.
    m_adjust(-80, 0, 0);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight),
              skinColour("highlight", {-80, 0, 0}));
    m_adjust(0, 0, 0);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), skinColour("window"));
}

TEST_F(SkinLibrary, AFileThatIsNoSkinChangesNothing)
{
    const std::string notSkin = m_folder.path() + "/not.she";
    test::writeTextFile(notSkin, "MZ this is no skin");
    const QPalette before = QApplication::palette();
    EXPECT_EQ(m_attach(notSkin.c_str(), ""), 0);
    EXPECT_EQ(m_attach(nullptr, nullptr), 0);
    EXPECT_EQ(QApplication::palette(), before);
}

TEST_F(SkinLibrary, NeverRecoloursTheProgramsOwnColours)
{
    QWidget window;
    window.resize(400, 300);
    auto* button = new app::ColourButton(
        "BD高清", {rgb(12, 100, 233), rgb(10, 88, 205), rgb(7, 70, 165)}, &window);
    button->setGeometry(0, 0, 240, 65);
    auto* list = new app::ReportListWidget(&window);
    list->setGeometry(0, 80, 300, 200);
    list->setColumns({{"标题", 100}});
    list->setBackgroundColour(rgb(0, 163, 0));
    list->setTextColour(rgb(255, 255, 255));
    window.show();

    m_attach(skinFile().c_str(), "");
    m_adjust(150, 100, 0);
    EXPECT_EQ(test::pixelOf(*button, 3, 3), QColor(12, 100, 233));
    EXPECT_EQ(test::pixelOf(*list->viewport(), 150, 150), QColor(0, 163, 0));
    EXPECT_EQ(list->palette().color(QPalette::Text), QColor(255, 255, 255));
    EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(255, 255, 255));
}

} // namespace
