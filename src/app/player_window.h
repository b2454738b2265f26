#pragma once

#include "app/colour_button.h"
#include "app/form.h"
#include "app/picture_box.h"
#include "platform/toolkit.h"

#include <QLineEdit>

namespace brisma::app {

// The cloud player, "免费在线云播放器": a banner, a box for a video link and
// a Play button. Playing is not offered yet; the button only asks for a
// complete entry, whatever the box holds.
class PlayerWindow : public FormWindow
{
public:
    explicit PlayerWindow(platform::Toolkit& toolkit);

    // Loads a new player window: no owner, not modal, gone once closed.
    static PlayerWindow* open(platform::Toolkit& toolkit);

    // 超级按钮_播放 clicked.
    void onPlayClicked();

    // The controls, for a look from outside.
    const PictureBoxWidget& banner() const { return *m_banner; }
    QLineEdit& linkBox() { return *m_linkBox; }
    ColourButton& playButton() { return *m_playButton; }

private:
    platform::Toolkit& m_toolkit;
    PictureBoxWidget* m_banner; // 图片框1
    QLineEdit* m_linkBox;       // 编辑框1
    ColourButton* m_playButton; // 超级按钮_播放
};

} // namespace brisma::app
