#pragma once

#include "hints/hint_text.h"
#include "hints/shaped_hint_window.h"

#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

namespace hints::test {

// The hint the results list shows over its time column.
inline const QString kColumnHint = QStringLiteral("Щелкните колонку  (Время)!");

// A shaped hint window on a fixed screen, with a fixed pointer and a snapshot source that
// returns a known colour and records what was asked for.
struct FakeScreen
{
    QSize size { 1280, 1024 };
    QPoint pointer { 400, 300 };
    QColor snapshotColor { 10, 200, 30 };
    std::vector<QRect> grabs;

    void attach(THintWindow& w)
    {
        w.setScreenSize([this] { return size; });
        w.setPointerPos([this] { return pointer; });
        w.setScreenGrab([this](const QRect& r) {
            grabs.push_back(r);
            QImage img(r.size(), QImage::Format_RGB32);
            img.fill(snapshotColor);
            return img;
        });
    }
};

// The extent the text needs when wrapped at maxWidth in the window's font.
inline QSize TextExtent(const QWidget& w, const QString& text, int maxWidth = 1280)
{
    return MeasureHintText(w.font(), text, maxWidth, false);
}

} // namespace hints::test
