#pragma once

#include "app/controls.h"
#include "app/form.h"
#include "app/picture_box.h"
#include "platform/hosts.h"
#include "platform/toolkit.h"

#include <QPlainTextEdit>

#include <memory>

namespace brisma::app {

// One movie of the movie list: its title as the caption, its poster, its
// synopsis (编辑框1) and its download addresses (编辑框2). Filled once, by
// its created handler, before it shows.
class DetailWindow : public FormWindow
{
public:
    // movieList is read by the created handler only.
    DetailWindow(const platform::ReportList& movieList, Hosts hosts);
    ~DetailWindow() override;

    // Loads a new detail window for the movie selected in movieList: no
    // owner, not modal, gone once closed.
    static DetailWindow* open(const platform::ReportList& movieList, const Hosts& hosts);

    // The controls, for a look from outside.
    const PictureBoxWidget& poster() const { return *m_posterWidget; }
    const QPlainTextEdit& synopsis() const { return *m_synopsisWidget; }
    const QPlainTextEdit& links() const { return *m_linksWidget; }

protected:
    bool onCreated() override;

private:
    QPlainTextEdit* buildTextBox(const char16_t* formName);

    const platform::ReportList* m_movieList;
    Hosts m_hosts;
    PictureBoxWidget* m_posterWidget; // 图片框1
    QPlainTextEdit* m_synopsisWidget; // 编辑框1
    QPlainTextEdit* m_linksWidget;    // 编辑框2
    std::unique_ptr<QtPictureBox> m_poster;
    std::unique_ptr<QtEditBox> m_synopsisBox;
    std::unique_ptr<QtEditBox> m_linksBox;
};

} // namespace brisma::app
