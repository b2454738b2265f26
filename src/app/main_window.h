#pragma once

#include "app/colour_button.h"
#include "app/controls.h"
#include "app/form.h"
#include "app/memory_font.h"
#include "app/picture_box.h"
#include "app/report_list.h"
#include "app/skin_routines.h"
#include "app/window_hooks.h"
#include "catalogue/category.h"
#include "catalogue/load_category.h"
#include "platform/hosts.h"
#include "platform/toolkit.h"

#include <QLabel>
#include <QTimer>

#include <memory>
#include <vector>

namespace brisma::app {

// The program's first and main window: five category buttons down the left
// side, the movie list, the cloud player button, and a banner in which the
// loading indicator (a spinning glyph and a line of text) shows while a
// category loads.
class MainWindow : public FormWindow
{
public:
    static constexpr int firstGlyph = 0xE052;
    static constexpr int lastGlyph = 0xE0CB;
    static constexpr int glyphStepMilliseconds = 30;
    static constexpr int glyphPauseMilliseconds = 250;

    MainWindow(platform::Toolkit& toolkit, SkinRoutines& skin, Hosts hosts, MainWindowHooks hooks);
    // The window's destruction: removes the glyph font.
    ~MainWindow() override;

    // 超级列表框1, for the windows that read the selected movie.
    platform::ReportList& movieList() { return *m_list; }
    const Hosts& hosts() const { return m_hosts; }

    // The handlers, as the toolkit calls them.
    void onCategoryClicked(const catalogue::Category& category);
    void onPlayerButtonClicked();
    void onThunderMemberButtonClicked();
    void onMovieListDoubleClicked();
    void onGlyphStep();  // 时钟1
    void onPauseEnded(); // 时钟2

    // What the handlers work on, for a look from outside.
    int glyphCounter() const { return m_glyphCounter; }
    FontHandle fontHandle() const { return m_fontHandle; }
    const QtLabel& spinner() const { return *m_spinner; }
    const QtTimer& stepTimer() const { return *m_stepTimer; }
    const QtTimer& pauseTimer() const { return *m_pauseTimer; }

protected:
    bool onCreated() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildBanner();
    void buildButtons();
    void buildMovieList();
    void startLoading(const catalogue::Category& category);

    platform::Toolkit& m_toolkit;
    SkinRoutines& m_skin;
    Hosts m_hosts;
    MainWindowHooks m_hooks;

    // Shared with the worker threads of category loads, which may outlive
    // the window; they then do nothing.
    std::shared_ptr<QtReportList> m_list;
    std::shared_ptr<QtLabel> m_spinner;    // 标签1
    std::shared_ptr<QtLabel> m_status;     // 标签2
    std::unique_ptr<QtTimer> m_stepTimer;  // 时钟1
    std::unique_ptr<QtTimer> m_pauseTimer; // 时钟2
    std::shared_ptr<catalogue::LoadSequence> m_loads;

    FontHandle m_fontHandle = 0;
    int m_glyphCounter = firstGlyph;
};

} // namespace brisma::app
