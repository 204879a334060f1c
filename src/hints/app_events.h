#pragma once

#include "hints/app_event_types.h"
#include "hints/application.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace hints {

// The window's component for the application-wide settings and events ("AppEvents1").
// Construction sets the defaults below, watches the owner window's messages and joins
// TAppEventList, which from then on chains the application's events through every live
// component (last made first). Each setter stores its value and forwards it to the
// application at once; each getter returns the application's current value. Loaded()
// applies all stored settings.
//
// Defaults: Chained true, HintColor the system tooltip colour, HintPause 500, ShowHint true,
// UpdateFormatSettings true, HintShortPause 50, HintHidePause 2500, ShowMainForm true,
// UpdateMetricSettings true, HintShortCuts true, BiDiMode bdLeftToRight,
// MouseDragImmediate true, MouseDragThreshold 5, BiDiKeyboard and NonBiDiKeyboard empty.
class TAppEvents : public QObject
{
public:
    explicit TAppEvents(QWidget* owner);
    ~TAppEvents() override;

    // The owner window's design has been loaded: apply every setting, in the order hint
    // colour, hint pause, show hint, hint short pause, hint hide pause, show main form,
    // update format settings, update metric settings, hint shortcuts, bidi mode, mouse
    // drag immediate, mouse drag threshold, bidi keyboard, non-bidi keyboard.
    void Loaded();
    bool IsLoaded() const { return m_loaded; }

    bool Chained() const { return m_chained; }
    void SetChained(bool on) { m_chained = on; }
    QColor HintColor() const;
    void SetHintColor(const QColor& color);
    int HintPause() const;
    void SetHintPause(int ms);
    bool ShowHint() const;
    void SetShowHint(bool on);
    bool UpdateFormatSettings() const;
    void SetUpdateFormatSettings(bool on);
    int HintShortPause() const;
    void SetHintShortPause(int ms);
    int HintHidePause() const;
    void SetHintHidePause(int ms);
    bool ShowMainForm() const;
    void SetShowMainForm(bool on);
    bool UpdateMetricSettings() const;
    void SetUpdateMetricSettings(bool on);
    bool HintShortCuts() const;
    void SetHintShortCuts(bool on);
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode mode);
    bool MouseDragImmediate() const;
    void SetMouseDragImmediate(bool on);
    int MouseDragThreshold() const;
    void SetMouseDragThreshold(int pixels);
    QString BiDiKeyboard() const;
    void SetBiDiKeyboard(const QString& name);
    QString NonBiDiKeyboard() const;
    void SetNonBiDiKeyboard(const QString& name);

    // Chained events (dispatched by TAppEventList).
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
    base::TNotifyEvent OnActiveControlChange;
    base::TNotifyEvent OnActiveFormChange;
    // Owner-window events. OnSettingsChanged fires when the platform's look changes (theme,
    // palette or font); an error it raises goes to the application's error handling.
    // OnPaintIcon would paint the minimised window's icon; Qt never asks a minimised window
    // to paint, so it is kept for completeness and not called.
    TPaintIconEvent OnPaintIcon;
    base::TNotifyEvent OnSettingsChanged;

    QWidget* owner() const { return m_owner; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_owner;
    bool m_loaded = false;
    bool m_chained = true;
    QColor m_hintColor;
    int m_hintPause = 500;
    bool m_showHint = true;
    bool m_updateFormatSettings = true;
    int m_hintShortPause = 50;
    int m_hintHidePause = 2500;
    bool m_showMainForm = true;
    bool m_updateMetricSettings = true;
    bool m_hintShortCuts = true;
    TBiDiMode m_biDiMode = bdLeftToRight;
    bool m_mouseDragImmediate = true;
    int m_mouseDragThreshold = 5;
    QString m_biDiKeyboard;
    QString m_nonBiDiKeyboard;
};

} // namespace hints
