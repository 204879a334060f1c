// A window with a results-like list carrying the hint, wired as the game window wires it.
// For looking at the hint under a real X server; not part of the game.
// Optional arguments: shape shadowDepth hasTail alignment (default 0 1 0 2, the game's).
#include "hints/app_events.h"
#include "hints/application.h"
#include "hints/hint_appearance.h"

#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget form;
    form.setWindowTitle(QStringLiteral("Мнемира"));
    form.setFixedSize(800, 600);

    auto* list = new QTableWidget(2, 3, &form);
    list->setGeometry(157, 160, 508, 320);
    list->setHorizontalHeaderLabels({ QStringLiteral("Время (мин,секунд,млсекунд)"),
        QStringLiteral("Имя"), QStringLiteral("Дата") });
    list->verticalHeader()->hide();
    list->setColumnWidth(0, 165);
    list->setColumnWidth(1, 180);
    list->setColumnWidth(2, 135);
    list->setItem(0, 0, new QTableWidgetItem(QStringLiteral("1:28:92")));
    list->setItem(0, 1, new QTableWidgetItem(QStringLiteral("Новый игрок")));
    list->setItem(1, 0, new QTableWidgetItem(QStringLiteral("5:59:99")));

    // What the game window does once its controls exist, then first thing in FormCreate.
    auto* AppEvents1 = new hints::TAppEvents(&form);
    AppEvents1->SetHintColor(QColor(255, 255, 0));
    AppEvents1->Loaded();
    const QStringList args = QCoreApplication::arguments();
    auto arg
        = [&args](int i, int fallback) { return args.size() > i ? args[i].toInt() : fallback; };
    hints::SetHintAppearance(
        quint8(arg(1, 0)), quint8(arg(2, 1)), arg(3, 0) != 0, quint8(arg(4, 2)));
    hints::Application::instance().setControlHint(
        list, QStringLiteral("Щелкните колонку  (Время)!"));

    form.show();
    const QRect screen = form.screen()->geometry();
    form.move((screen.width() - form.frameGeometry().width()) / 2,
        (screen.height() - form.frameGeometry().height()) / 2);
    return app.exec();
}
