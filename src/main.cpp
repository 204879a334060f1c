#include "art/artwork.h"
#include "base/error_report.h"
#include "un_main.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

namespace {

// Whatever escapes an event handler is reported in the error box, and the program goes on
// with the next event.
class TApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            base::ReportException(receiver, std::current_exception());
        }
        return false;
    }
};

// Centres the window's frame, not only its inside, on the screen. A window manager frames a
// window only when it maps it, so the frame's size is known at the first exposure, not when the
// window is shown: it is centred at both, and never again.
class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget& form)
        : m_window(*form.windowHandle())
    {
        centre();
        m_window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && m_window.isExposed()) {
            m_window.removeEventFilter(this);
            centre();
        }
        return false;
    }

private:
    void centre()
    {
        const QSize frame = m_window.size().grownBy(m_window.frameMargins());
        const QRect screen = m_window.screen()->geometry();
        m_window.setFramePosition(QPoint(screen.x() + (screen.width() - frame.width()) / 2,
            screen.y() + (screen.height() - frame.height()) / 2));
    }

    QWindow& m_window;
};

} // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Мнемира"));
    try {
        QApplication::setWindowIcon(art::icon());
    } catch (const std::exception&) {
        // The window reports damaged artwork itself when it is built.
    }
    TForm1 form;
    form.show();
    const FrameCentring centring(form);
    return app.exec();
}
