#include "art/artwork.h"
#include "base/error_report.h"
#include "un_main.h"

#include <QApplication>
#include <QScreen>

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
    // Centred once, frame included; not re-centred later.
    const QRect frame = form.frameGeometry();
    const QRect screen = form.screen()->geometry();
    form.move(screen.x() + (screen.width() - frame.width()) / 2,
        screen.y() + (screen.height() - frame.height()) / 2);
    return app.exec();
}
