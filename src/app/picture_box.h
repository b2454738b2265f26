#pragma once

#include "platform/toolkit.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace brisma::app {

// A picture box: shows a JPEG or BMP picture given as Bytes, stretched to
// the whole box or at its own size from the top left corner. No border.
class PictureBoxWidget : public QWidget
{
public:
    enum class Fit
    {
        Stretch,
        OwnSize
    };

    explicit PictureBoxWidget(Fit fit, QWidget* parent = nullptr);

    // Bytes that hold no picture the box can read show nothing, but are
    // still what picture() gives back.
    void setPicture(const Bytes& picture);
    Bytes picture() const { return m_bytes; }
    bool hasImage() const { return !m_image.isNull(); }
    QSize imageSize() const { return m_image.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Fit m_fit;
    Bytes m_bytes;
    QImage m_image;
};

class QtPictureBox : public platform::PictureBox
{
public:
    explicit QtPictureBox(PictureBoxWidget* box);

    void setPicture(const Bytes& picture) override;
    Bytes picture() const override;

private:
    QPointer<PictureBoxWidget> m_box;
};

} // namespace brisma::app
