#pragma once

#include "base/notify_event.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <exception>
#include <functional>

class QAction;
class QEvent;
class QKeyEvent;
class QObject;
class QPainter;
class QWidget;

namespace hints {

// What the hint manager is about to show; an OnShowHint handler may change it.
struct THintInfo
{
    QWidget* HintControl = nullptr;
    QPoint CursorPos; // pointer position, screen coordinates
    QRect CursorRect; // the hinted control's rectangle, screen coordinates
    QPoint HintPos; // proposed top-left of the hint, screen coordinates
    int HintMaxWidth = 0;
    QColor HintColor;
    int HideTimeout = 0; // ms
    QString HintStr;
};

// The application's events. Each handler gets the sender (the application object, or the
// control concerned) where the event has one; an empty function is an unassigned event.
using TActionEvent = std::function<void(QAction* action, bool& handled)>;
using TShortCutEvent = std::function<void(QKeyEvent* key, bool& handled)>;
using TMessageEvent = std::function<void(QObject* receiver, QEvent* event, bool& handled)>;
using TExceptionEvent = std::function<void(QObject* sender, const std::exception& error)>;
using TIdleEvent = std::function<void(QObject* sender, bool& done)>;
using THelpEvent = std::function<bool(quint16 command, qintptr data, bool& callHelp)>;
using TShowHintEvent = std::function<void(QString& hintStr, bool& canShow, THintInfo& hintInfo)>;
using TPaintIconEvent = std::function<void(QObject* sender, QPainter& canvas)>;

// The thirteen chained events of the application.
struct TApplicationEvents
{
    TActionEvent OnActionExecute;
    TActionEvent OnActionUpdate;
    TShortCutEvent OnShortCut;
    base::TNotifyEvent OnActivate;
    base::TNotifyEvent OnDeactivate;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    THelpEvent OnHelp;
    base::TNotifyEvent OnHint;
    TMessageEvent OnMessage;
    base::TNotifyEvent OnMinimize;
    base::TNotifyEvent OnRestore;
    TShowHintEvent OnShowHint;
};

// The two chained events of the screen.
struct TScreenEvents
{
    base::TNotifyEvent OnActiveControlChange;
    base::TNotifyEvent OnActiveFormChange;
};

} // namespace hints
