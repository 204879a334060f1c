#include "un_main.h"

TForm1::TForm1(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Мнемира"));
    setFixedSize(800, 600);
}
