#include "un_controls.h"

#include "base/click_filter.h"
#include "un_colours.h"

#include <QFocusEvent>
#include <QPainter>

namespace {

// A one-pixel edge: `light` along the top and left, `dark` along the bottom and right, which
// take the corners they share.
void drawEdge(QPainter& painter, const QRect& r, const QColor& light, const QColor& dark)
{
    const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
    painter.setPen(light);
    painter.drawLine(x0, y0, x1 - 1, y0);
    painter.drawLine(x0, y0, x0, y1 - 1);
    painter.setPen(dark);
    painter.drawLine(x1, y0, x1, y1);
    painter.drawLine(x0, y1, x1, y1);
}

} // namespace

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
    painter.fillRect(rect(), m_fill);
    drawEdge(painter, rect(), colours::BtnHighlight, colours::BtnShadow);
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
    paintFace(painter);
    paintCaption(painter);
    if (hasFocus()) {
        QPen dots(colours::WindowText);
        dots.setStyle(Qt::DotLine);
        painter.setPen(dots);
        painter.drawRect(rect().adjusted(4, 4, -5, -5));
    }
}

// The face: raised, or flat while held down; framed dark when Enter would press it.
void TBitBtn::paintFace(QPainter& painter) const
{
    QRect r = rect();
    painter.fillRect(r, colours::BtnFace);
    if (m_enterTarget) {
        painter.setPen(colours::WindowFrame);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (isDown()) {
        painter.setPen(colours::BtnShadow);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    drawEdge(painter, r, colours::BtnHighlight, colours::DkShadow);
    drawEdge(painter, r.adjusted(1, 1, -1, -1), colours::Light, colours::BtnShadow);
}

// Glyph and caption centred as one group, 4 px apart; a pressed button moves them 1 px.
void TBitBtn::paintCaption(QPainter& painter) const
{
    const QFontMetrics metrics(font());
    const QString plain = QString(m_caption).remove(u'&');
    const int textWidth = metrics.horizontalAdvance(plain);
    const int glyphWidth = qRound(m_glyph.deviceIndependentSize().width());
    const int glyphHeight = qRound(m_glyph.deviceIndependentSize().height());
    const int group = glyphWidth + (glyphWidth > 0 && !plain.isEmpty() ? 4 : 0) + textWidth;
    const int shift = isDown() ? 1 : 0;
    int x = (width() - group + 1) / 2 + shift;
    if (!m_glyph.isNull()) {
        painter.drawImage(x, (height() - glyphHeight) / 2 + shift, m_glyph);
        x += glyphWidth + 4;
    }
    painter.setPen(m_colour);
    const QRect textRect(x, (height() - metrics.height()) / 2 + shift, textWidth, metrics.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, m_caption);
}
