#include "hints/error_box.h"

#include <QMessageBox>

namespace hints {

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowStandardErrorBox(const QString& message, QWidget* parent)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Мнемира"), ErrorBoxText(message),
        QMessageBox::Ok, parent);
    box.exec();
}

} // namespace hints
