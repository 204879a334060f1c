#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace hints {

class Application;

// Decides when the application's hint shows and hides (Qt's tooltips cannot keep these
// timings or this drawing). Only controls given a hint show one. When the pointer comes to
// rest over such a control the manager waits HintPause ms (HintShortPause ms when the
// pointer left a shown hint's control less than HintPause ms ago), then measures the text
// with the screen width and shows the hint window at the pointer's x, below the pointer
// image. The hint hides after HintHidePause ms, when the pointer leaves the control and
// on any key or mouse button press. It is not shown again until the pointer leaves and
// returns, or, after a press ended it, until the pointer moves again.
class HintManager : public QObject
{
public:
    explicit HintManager(Application& app);
    ~HintManager() override;

    void setControlHint(QWidget* control, const QString& text);
    QString controlHint(QWidget* control) const;

    void cancelHint();
    bool isHintShowing() const { return m_state == State::Shown; }
    // The control under the pointer that has a hint, if any.
    QWidget* currentControl() const { return m_control; }

    // Height of the pointer image below the hot spot: the pixmap of a custom cursor, else
    // the X cursor size (XCURSOR_SIZE), else 32 pixels, the usual size of an arrow cursor
    // image on X11 and Windows.
    static int PointerImageHeight(const QWidget* control);

    // An event of a native window (a QWindow), seen before any widget gets it: each input event
    // counts once, whether or not the widget beneath tracks the mouse. The application's event
    // filter hands them on.
    void windowEvent(QObject* window, QEvent* event);

private:
    enum class State { Outside, Waiting, Shown, Ended, EndedByPress };

    QWidget* hintedControlAt(QObject* window, const QPoint& windowPos) const;
    void pointerAt(QWidget* control, const QPoint& globalPos);
    void pressed();
    void hideHint(bool byLeaving);
    void startWaiting(bool shortPause);
    void showNow();

    Application& m_app;
    QHash<QWidget*, QString> m_hints;
    QPointer<QWidget> m_control;
    QPoint m_lastPos;
    bool m_havePos = false;
    State m_state = State::Outside;
    QTimer m_pauseTimer;
    QTimer m_hideTimer;
    QElapsedTimer m_sinceLeftShown;
};

} // namespace hints
