#include "un_notice.h"

#include "game/pause.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDBusConnection>

#include <thread>

void PauseAnsweringScreenReaders(std::chrono::milliseconds length)
{
    // Qt's bridge to AT-SPI, where a screen reader's calls are posted to this thread.
    QObject* bridge = QAccessible::isActive()
        ? QDBusConnection(QStringLiteral("a11y"))
              .objectRegisteredAt(QStringLiteral("/org/a11y/atspi/accessible"))
        : nullptr;
    if (!bridge) {
        game::BlockingPause(length);
        return;
    }
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + length;
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        std::this_thread::sleep_until(std::min(end, now + std::chrono::milliseconds(1)));
        QCoreApplication::sendPostedEvents(bridge, QEvent::MetaCall);
    }
}

TNotice::TNotice(QWidget* window)
    : QWidget(window)
{
    // One pixel that draws nothing and takes no clicks: the window's pixels stay as they are.
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TNotice::say(const QString& text)
{
    // A notice is presented as it appears: hidden first, so that it appears again.
    hide();
    setAccessibleName(text);
    show();
    raise();
}
