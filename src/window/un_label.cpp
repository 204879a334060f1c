// The text label: sized to its text, transparent or opaque; the clock's hundredths keep a picture
// of each of their texts, so a tick neither lays out nor measures text.
#include "un_label.h"

#include <QEvent>
#include <QPainter>

TLabel::TLabel(QWidget* parent, const QString& text, const QFont& font, const QColor& colour)
    : QWidget(parent)
    , m_text(text)
    , m_colour(colour)
{
    setFont(font);
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

void TLabel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    const QRect old = geometry();
    fitToText();
    // A label that keeps its texts' pictures (the clock's) paints a new text at once where the
    // old one was: asking for a paint later would wake the event loop again on every tick.
    if (m_keepsPictures && geometry() == old)
        repaint();
    else
        update();
}

void TLabel::setBackground(const QColor& colour)
{
    m_background = colour;
    // Filled whole, so Qt paints nothing beneath it first.
    setAttribute(Qt::WA_OpaquePaintEvent, colour.isValid());
    for (Known& k : m_known)
        k.picture = QImage();
    update();
}

void TLabel::setKeepsTextPictures(bool keep)
{
    m_keepsPictures = keep;
    if (!keep) {
        for (Known& k : m_known)
            k.picture = QImage();
    }
}

TLabel::Known& TLabel::known(const QString& text)
{
    if (const auto found = m_known.find(text); found != m_known.end())
        return *found;
    if (m_known.size() >= 256)
        m_known.clear(); // a label whose texts keep changing learns them as they come
    return *m_known.insert(text, Known());
}

void TLabel::fitToText()
{
    Known& k = known(m_text);
    if (k.width < 0)
        k.width = QFontMetrics(font()).horizontalAdvance(m_text);
    if (m_height < 0)
        m_height = QFontMetrics(font()).height();
    const int height = m_height;
    const QRect old = geometry();
    const QRect fitted(
        m_right ? old.x() + old.width() - k.width : old.x(), old.y(), k.width, height);
    if (fitted != old)
        setGeometry(fitted);
}

void TLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_known.clear();
        m_height = -1;
    }
    QWidget::changeEvent(event);
}

void TLabel::draw(QPainter& painter) const
{
    if (m_background.isValid())
        painter.fillRect(rect(), m_background);
    painter.setPen(m_colour);
    painter.setFont(font());
    painter.drawText(rect(), (m_right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop, m_text);
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // At a whole-pixel ratio a picture of the text, drawn the same way, copies pixel for pixel.
    const qreal ratio = devicePixelRatio();
    if (!m_keepsPictures || !m_background.isValid() || (ratio != 1 && ratio != 2)) {
        draw(painter);
        return;
    }
    QImage& picture = known(m_text).picture;
    if (picture.size() != size() * ratio || picture.devicePixelRatio() != ratio) {
        picture = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(ratio);
        QPainter onPicture(&picture);
        draw(onPicture);
    }
    painter.drawImage(0, 0, picture);
}
