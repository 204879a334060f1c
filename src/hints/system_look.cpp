#include "hints/system_look.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>

namespace hints {

QColor SystemColorValue(SystemColor which)
{
    struct Entry
    {
        QPalette::ColorRole role;
        QRgb fallback;
    };
    static constexpr Entry table[] = {
        { QPalette::Button, qRgb(212, 208, 200) },
        { QPalette::WindowText, qRgb(0, 0, 0) },
        { QPalette::ToolTipText, qRgb(0, 0, 0) },
        { QPalette::ToolTipBase, qRgb(255, 255, 225) },
        { QPalette::Midlight, qRgb(241, 239, 226) },
        { QPalette::Shadow, qRgb(113, 111, 100) },
        { QPalette::Window, qRgb(0, 78, 152) },
    };
    const Entry& e = table[static_cast<int>(which)];
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QColor(e.fallback);
    return QGuiApplication::palette().color(QPalette::Active, e.role);
}

QFont FallbackHintFont()
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFont HintFont()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QFont status = QApplication::font("QStatusBar");
        if (status != QApplication::font())
            return status;
    }
    return FallbackHintFont();
}

} // namespace hints
