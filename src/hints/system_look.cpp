#include "hints/system_look.h"

#include <QApplication>

namespace hints {

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
