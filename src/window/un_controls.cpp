#include "un_controls.h"

#include "base/click_filter.h"
#include "un_colours.h"

#include <QFocusEvent>
#include <QPainter>

// ---- TImage ---------------------------------------------------------------------------------

TImage::TImage(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
}

void TImage::setPicture(const QImage& picture)
{
    m_picture = picture.convertToFormat(QImage::Format_RGB32);
    coverCheck();
    update();
}

void TImage::coverCheck()
{
    // A picture that covers the control hides whatever lies beneath: Qt then paints none of it.
    const QRectF picture(QPointF(0, 0), m_picture.deviceIndependentSize());
    setAttribute(Qt::WA_OpaquePaintEvent, !m_picture.isNull() && picture.contains(rect()));
}

void TImage::resizeEvent(QResizeEvent* event)
{
    coverCheck();
    QWidget::resizeEvent(event);
}

void TImage::resizePicture(int width, int height, int ratio)
{
    const QSize pixels(width * ratio, height * ratio);
    if (m_picture.size() == pixels && m_picture.devicePixelRatio() == ratio)
        return;
    QImage resized(pixels, QImage::Format_RGB32);
    resized.setDevicePixelRatio(ratio);
    resized.fill(Qt::white);
    if (!m_picture.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, m_picture);
    }
    m_picture = resized;
    coverCheck();
}

void TImage::drawMasked(const QImage& source, const QImage& mask)
{
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    // One bit a pixel, most significant first; 1 (colour index 1) is transparent.
    const QImage bits = mask.isNull() ? QImage() : mask.convertToFormat(QImage::Format_Mono);
    const int w = std::min(src.width(), m_picture.width());
    const int h = std::min(src.height(), m_picture.height());
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(m_picture.scanLine(y));
        const uchar* row = y < bits.height() ? bits.constScanLine(y) : nullptr;
        const int masked = row ? std::min(w, bits.width()) : 0;
        for (int x = 0; x < w; ++x) {
            if (x >= masked || !(row[x >> 3] & (0x80 >> (x & 7))))
                out[x] = in[x];
        }
    }
    update();
}

void TImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_picture.isNull())
        painter.drawImage(0, 0, m_picture);
    // A picture smaller than the control leaves the rest showing what lies below: nothing to do.
}

void TImage::setOnClick(std::function<void()> onClick)
{
    new base::ClickFilter(this, std::move(onClick));
}

// ---- TLabel ---------------------------------------------------------------------------------

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

// ---- TPanel ---------------------------------------------------------------------------------

TPanel::TPanel(QWidget* parent, const QColor& fill)
    : QWidget(parent)
    , m_fill(fill)
{
    // Filled whole, so Qt paints nothing beneath it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int r = width() - 1;
    const int b = height() - 1;
    painter.fillRect(rect(), m_fill);
    painter.setPen(colours::BtnHighlight);
    painter.drawLine(0, 0, r - 1, 0);
    painter.drawLine(0, 0, 0, b - 1);
    painter.setPen(colours::BtnShadow);
    painter.drawLine(r, 0, r, b);
    painter.drawLine(0, b, r, b);
}

// ---- TEdit ----------------------------------------------------------------------------------

void TEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason)
        selectAll();
}

// ---- TBitBtn --------------------------------------------------------------------------------

TBitBtn::TBitBtn(QWidget* parent, const QString& caption, const QFont& font, const QColor& colour)
    : QPushButton(parent)
    , m_caption(caption)
    , m_colour(colour)
{
    setFont(font);
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    // The accessible text without the marker; the caption itself is painted here, so Qt makes
    // no shortcut of its own: the window handles the accelerators.
    setAccessibleName(QString(caption).remove(u'&'));
    const int amp = caption.indexOf(u'&');
    if (amp >= 0 && amp + 1 < caption.size())
        m_accelerator = caption.at(amp + 1).toUpper();
    // Qt's own press and release make the click; only the double-click press is taken away.
    new base::ClickFilter(this);
}

void TBitBtn::setGlyph(const QImage& glyphs)
{
    m_glyph = QImage();
    if (!glyphs.isNull())
        m_glyph = glyphs.copy(0, 0, glyphs.width() / 2, glyphs.height())
                      .convertToFormat(QImage::Format_ARGB32);
    if (!m_glyph.isNull()) {
        const QRgb key = glyphs.pixel(0, glyphs.height() - 1);
        for (int y = 0; y < m_glyph.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_glyph.scanLine(y));
            for (int x = 0; x < m_glyph.width(); ++x) {
                if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                    line[x] = 0;
            }
        }
    }
    update();
}

void TBitBtn::setEnterTarget(bool on)
{
    if (on == m_enterTarget)
        return;
    m_enterTarget = on;
    update();
}

bool TBitBtn::canTakeFocus() const
{
    for (const QWidget* w = this; w; w = w->parentWidget()) {
        if (!w->isVisible() || !w->isEnabled())
            return false;
    }
    return true;
}

void TBitBtn::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect r = rect();
    painter.fillRect(r, colours::BtnFace);
    const bool down = isDown();
    if (m_enterTarget) {
        painter.setPen(colours::WindowFrame);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (down) {
        painter.setPen(colours::BtnShadow);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
        painter.setPen(colours::BtnHighlight);
        painter.drawLine(x0, y0, x1 - 1, y0);
        painter.drawLine(x0, y0, x0, y1 - 1);
        painter.setPen(colours::DkShadow);
        painter.drawLine(x1, y0, x1, y1);
        painter.drawLine(x0, y1, x1, y1);
        painter.setPen(colours::Light);
        painter.drawLine(x0 + 1, y0 + 1, x1 - 2, y0 + 1);
        painter.drawLine(x0 + 1, y0 + 1, x0 + 1, y1 - 2);
        painter.setPen(colours::BtnShadow);
        painter.drawLine(x1 - 1, y0 + 1, x1 - 1, y1 - 1);
        painter.drawLine(x0 + 1, y1 - 1, x1 - 1, y1 - 1);
    }

    // Glyph and caption centred as one group, 4 px apart; a pressed button moves them 1 px.
    const QFontMetrics metrics(font());
    const QString plain = QString(m_caption).remove(u'&');
    const int textWidth = metrics.horizontalAdvance(plain);
    const int glyphWidth = qRound(m_glyph.deviceIndependentSize().width());
    const int glyphHeight = qRound(m_glyph.deviceIndependentSize().height());
    const int group = glyphWidth + (glyphWidth > 0 && !plain.isEmpty() ? 4 : 0) + textWidth;
    const int shift = down ? 1 : 0;
    int x = (width() - group + 1) / 2 + shift;
    if (!m_glyph.isNull()) {
        painter.drawImage(x, (height() - glyphHeight) / 2 + shift, m_glyph);
        x += glyphWidth + 4;
    }
    painter.setPen(m_colour);
    const QRect textRect(x, (height() - metrics.height()) / 2 + shift, textWidth, metrics.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, m_caption);

    if (hasFocus()) {
        QPen dots(colours::WindowText);
        dots.setStyle(Qt::DotLine);
        painter.setPen(dots);
        painter.drawRect(rect().adjusted(4, 4, -5, -5));
    }
}
