#pragma once

#include "hints/app_event_types.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace hints {

class HintManager;
class THintWindow;

enum TBiDiMode : quint8 {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};

// The application-wide settings and events of this program on top of QApplication: the hint
// settings and the one hint window, the settings Qt has no place for, and the application's
// and screen's event slots that TAppEventList chains. One program-wide object, made on first
// use (a QApplication must exist) and released before the QApplication goes away.
//
// Besides the settings (application.cpp) it is the program's one application-wide event
// filter (application_event_filter.cpp) and the place every reported failure goes
// (application_error_routing.cpp).
//
// Setters compare with the current value and do nothing when it is unchanged.
class Application : public QObject
{
public:
    // Throws std::logic_error when there is no QApplication.
    static Application& instance();
    // Releases the hint manager and the hint window. Runs by itself before the QApplication
    // is destroyed; afterwards instance() makes a fresh object.
    static void shutdown();
    // Whether the object currently exists (without making it).
    static bool exists();

    // --- hints
    QColor hintColor() const { return m_hintColor; }
    void setHintColor(const QColor& color); // also recolours an existing hint window
    int hintPause() const { return m_hintPause; }
    void setHintPause(int ms);
    int hintShortPause() const { return m_hintShortPause; }
    void setHintShortPause(int ms);
    int hintHidePause() const { return m_hintHidePause; }
    void setHintHidePause(int ms);
    bool showHint() const { return m_showHint; }
    // On: creates the hint window of the registered class in the hint colour; off: frees it.
    void setShowHint(bool on);
    using HintWindowClass = std::function<std::unique_ptr<THintWindow>()>;
    // The class of which the hint window is made from the next switch-on (the plain
    // THintWindow until set).
    void setHintWindowClass(HintWindowClass make);
    THintWindow* hintWindow() const { return m_hintWindow.get(); }
    HintManager& hintManager() const { return *m_hintManager; }
    // Gives `control` a pop-up hint (an empty text takes it away); only controls given a
    // hint this way show one. The part before the first "|" is shown.
    void setControlHint(QWidget* control, const QString& text);
    // Hides a shown hint and stops waiting for one.
    void cancelHint();
    // The hint text of the control under the pointer (empty over none); OnHint fires when
    // it changes.
    QString hint() const { return m_hint; }
    void setHint(const QString& text);

    // --- settings stored for the program, forwarded where Qt has a counterpart
    bool updateFormatSettings() const { return m_updateFormatSettings; }
    void setUpdateFormatSettings(bool on) { m_updateFormatSettings = on; }
    bool showMainForm() const { return m_showMainForm; }
    void setShowMainForm(bool on) { m_showMainForm = on; }
    bool updateMetricSettings() const { return m_updateMetricSettings; }
    void setUpdateMetricSettings(bool on) { m_updateMetricSettings = on; }
    bool hintShortCuts() const { return m_hintShortCuts; }
    void setHintShortCuts(bool on) { m_hintShortCuts = on; }
    TBiDiMode biDiMode() const { return m_biDiMode; }
    void setBiDiMode(TBiDiMode mode); // → QGuiApplication::setLayoutDirection
    bool mouseDragImmediate() const { return m_mouseDragImmediate; }
    void setMouseDragImmediate(bool on) { m_mouseDragImmediate = on; }
    int mouseDragThreshold() const; // QStyleHints::startDragDistance
    void setMouseDragThreshold(int pixels);
    QString biDiKeyboard() const { return m_biDiKeyboard; }
    void setBiDiKeyboard(const QString& name) { m_biDiKeyboard = name; }
    QString nonBiDiKeyboard() const { return m_nonBiDiKeyboard; }
    void setNonBiDiKeyboard(const QString& name) { m_nonBiDiKeyboard = name; }

    // The first window registered as main window (TAppEvents registers its owner).
    QWidget* mainWindow() const { return m_mainWindow; }
    void setMainWindow(QWidget* window);

    // --- events
    TApplicationEvents events;
    TScreenEvents screenEvents;

    // --- failures (application_error_routing.cpp)
    // Reports an error raised by an event handler: the OnException handler if assigned,
    // otherwise the standard error box. While this object exists it is the program's handler
    // of failures (base/error_report.h), so every reported failure comes here.
    void handleException(QObject* sender, const std::exception& error);
    // Shows the error in the standard error box.
    void showException(const std::exception& error);
    // Runs `handler`; an error it raises is reported as above and goes no further.
    void runHandler(QObject* sender, const std::function<void()>& handler);

    // --- requests of the program
    // Help request; the OnHelp result (false when there is none).
    bool helpCommand(quint16 command, qintptr data);
    // Offers an action to OnActionExecute / OnActionUpdate; true when a handler took it.
    bool executeAction(QAction* action);
    bool updateAction(QAction* action);

protected:
    // The application-wide event filter (application_event_filter.cpp). On a native window:
    // input goes to OnMessage, then a key press to OnShortCut, and an event either marks
    // handled goes no further; every event not taken is shown to the hint manager. The main
    // window becoming minimised or restored fires OnMinimize or OnRestore.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Application();
    ~Application() override;
    void idle();
    void startFiltering();
    void stopFiltering();
    void startRoutingFailures(); // installs handleException as the program's failure handler
    void stopRoutingFailures();

    QColor m_hintColor;
    int m_hintPause = 500;
    int m_hintShortPause = 50;
    int m_hintHidePause = 2500;
    bool m_showHint = false;
    HintWindowClass m_hintWindowClass;
    std::unique_ptr<THintWindow> m_hintWindow;
    std::unique_ptr<HintManager> m_hintManager;
    QString m_hint;

    bool m_updateFormatSettings = true;
    bool m_showMainForm = true;
    bool m_updateMetricSettings = true;
    bool m_hintShortCuts = true;
    TBiDiMode m_biDiMode = bdLeftToRight;
    bool m_mouseDragImmediate = true;
    QString m_biDiKeyboard;
    QString m_nonBiDiKeyboard;

    QPointer<QWidget> m_mainWindow;
    bool m_minimized = false;
    bool m_idleAgainPending = false;
};

} // namespace hints
