// The game's window with a pointer moved from inside: nothing outside a headless Wayland
// compositor can move its pointer, so this program does what a player's mouse would. It opens
// the results page with a click on "Результаты", rests the pointer over the list, and once the
// hint shows prints one line, in the window's coordinates:
//
//     hint X Y W H pointer PX PY
//
// then waits for its input to close. The harness captures the screen meanwhile.
//
//     mnemira_hint_probe [PX PY]      (the pointer's place; default 300 260, over the list)
#include "hints/application.h"
#include "hints/hint_window.h"
#include "window/un_main.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QPoint pointer
        = args.size() == 3 ? QPoint(args[1].toInt(), args[2].toInt()) : QPoint(300, 260);
    TForm1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form, 20000))
        return 3;
    QWindow* window = form.windowHandle();
    const QWidget* results = form.control(game::Control::BitBtn4);
    QTest::mouseClick(window, Qt::LeftButton, {}, results->mapTo(&form, results->rect().center()));
    // The hint stays until the harness has looked (it would hide after 2.5 s).
    hints::Application::instance().setHintHidePause(0);
    // Coming to rest over the list: two moves, then no more.
    QTest::mouseMove(window, pointer - QPoint(5, 5));
    QTest::mouseMove(window, pointer);

    const hints::THintWindow* hint = hints::Application::instance().hintWindow();
    if (!hint || !QTest::qWaitFor([&] { return hint->isVisible(); }, 10000))
        return 4;
    QTest::qWait(300); // the popup's first frame on the screen
    const QRect place(hints::ScreenOrigin(hint) - hints::ScreenOrigin(&form), hint->size());
    std::printf("hint %d %d %d %d pointer %d %d\n", place.x(), place.y(), place.width(),
        place.height(), pointer.x(), pointer.y());
    std::fflush(stdout);
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, &QApplication::quit);
    return QApplication::exec();
}
