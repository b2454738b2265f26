#include "app/picture_box.h"

#include "app/ui_dispatcher.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace brisma::app {
namespace {

// Pictures come from the network: only the two kinds the program shows are
// read, each by its own reader, so no other image plugin sees the bytes.
QImage readPicture(const Bytes& bytes)
{
    if (bytes.empty()) {
        return {};
    }
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()));
    for (const char* format : {"jpeg", "bmp"}) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, format);
        reader.setDecideFormatFromContent(false);
        if (!reader.canRead()) {
            continue;
        }
        QImage image = reader.read();
        if (!image.isNull()) {
            return image;
        }
    }
    return {};
}

} // namespace

PictureBoxWidget::PictureBoxWidget(Fit fit, QWidget* parent) : QWidget(parent), m_fit(fit)
{}

void PictureBoxWidget::setPicture(const Bytes& picture)
{
    m_bytes = picture;
    m_image = readPicture(picture);
    update();
}

void PictureBoxWidget::paintEvent(QPaintEvent*)
{
    if (m_image.isNull()) {
        return;
    }
    QPainter painter(this);
    if (m_fit == Fit::Stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_image);
    } else {
        painter.drawImage(QPoint(0, 0), m_image);
    }
}

QtPictureBox::QtPictureBox(PictureBoxWidget* box) : m_box(box)
{}

void QtPictureBox::setPicture(const Bytes& picture)
{
    onWidget(m_box, [&](PictureBoxWidget& box) { box.setPicture(picture); });
}

Bytes QtPictureBox::picture() const
{
    return onWidget(Bytes{}, m_box, [](PictureBoxWidget& box) { return box.picture(); });
}

} // namespace brisma::app
