#include "hints/hint_text.h"

#include "hints/hint_appearance.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <cmath>
#include <vector>

namespace hints {

namespace {

struct LaidOutLine
{
    QTextLine line;
    int width;
};

// Lays out text wrapped at maxWidth; returns the lines with their whole-pixel widths.
std::vector<LaidOutLine> layOut(QTextLayout& layout, int maxWidth, bool rightToLeft)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<LaidOutLine> lines;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(maxWidth);
        lines.push_back({ line, int(std::ceil(line.naturalTextWidth() - 1e-6)) });
    }
    layout.endLayout();
    return lines;
}

QString prepared(QString text)
{
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

} // namespace

QSize MeasureHintText(const QFont& font, const QString& text, int maxWidth, bool rightToLeft)
{
    QTextLayout layout(prepared(text), font);
    const auto lines = layOut(layout, maxWidth, rightToLeft);
    int width = 0;
    for (const auto& l : lines)
        width = std::max(width, l.width);
    return { width, int(lines.size()) * QFontMetrics(font).height() };
}

void DrawHintText(QPainter& p, const QFont& font, const QRect& box, const QString& text,
    quint8 alignment, bool rightToLeft)
{
    QTextLayout layout(prepared(text), font);
    const auto lines = layOut(layout, box.width(), rightToLeft);
    const int lineHeight = QFontMetrics(font).height();
    int y = box.top();
    for (const auto& l : lines) {
        int x = box.left();
        if (alignment == taRightJustify)
            x = box.left() + box.width() - l.width;
        else if (alignment == taCenter)
            x = box.left() + (box.width() - l.width) / 2;
        l.line.draw(&p, QPointF(x - l.line.x(), y - l.line.y()));
        y += lineHeight;
    }
}

} // namespace hints
