#include "hints/app_events.h"

#include "hints/app_event_list.h"
#include "base/colour.h"

#include <QEvent>
#include <QWidget>

namespace hints {

TAppEvents::TAppEvents(QWidget* owner)
    : QObject(owner)
    , m_owner(owner)
    , m_hintColor(base::PlatformColor(base::SystemColor::InfoBk))
{
    Application& app = Application::instance();
    if (owner) {
        app.setMainWindow(owner->window());
        owner->installEventFilter(this);
    }
    TAppEventList::instance().Add(this);
}

TAppEvents::~TAppEvents()
{
    // Nothing of this component may fire while it goes away.
    OnActionExecute = {};
    OnActionUpdate = {};
    OnShortCut = {};
    OnActivate = {};
    OnDeactivate = {};
    OnException = {};
    OnIdle = {};
    OnHelp = {};
    OnHint = {};
    OnMessage = {};
    OnMinimize = {};
    OnRestore = {};
    OnShowHint = {};
    OnActiveControlChange = {};
    OnActiveFormChange = {};
    OnPaintIcon = {};
    OnSettingsChanged = {};
    if (m_owner)
        m_owner->removeEventFilter(this);
    TAppEventList::Remove(this);
}

void TAppEvents::Loaded()
{
    Application& app = Application::instance();
    app.setHintColor(m_hintColor);
    app.setHintPause(m_hintPause);
    app.setShowHint(m_showHint);
    app.setHintShortPause(m_hintShortPause);
    app.setHintHidePause(m_hintHidePause);
    app.setShowMainForm(m_showMainForm);
    app.setUpdateFormatSettings(m_updateFormatSettings);
    app.setUpdateMetricSettings(m_updateMetricSettings);
    app.setHintShortCuts(m_hintShortCuts);
    app.setBiDiMode(m_biDiMode);
    app.setMouseDragImmediate(m_mouseDragImmediate);
    app.setMouseDragThreshold(m_mouseDragThreshold);
    app.setBiDiKeyboard(m_biDiKeyboard);
    app.setNonBiDiKeyboard(m_nonBiDiKeyboard);
    m_loaded = true;
}

// Getters read the application's value, setters store and forward.
#define HINTS_APP_PROPERTY(Type, Name, field, getter, setter)                                      \
    Type TAppEvents::Name() const                                                                  \
    {                                                                                              \
        return Application::instance().getter();                                                   \
    }                                                                                              \
    void TAppEvents::Set##Name(Type value)                                                         \
    {                                                                                              \
        field = value;                                                                             \
        Application::instance().setter(field);                                                     \
    }

HINTS_APP_PROPERTY(int, HintPause, m_hintPause, hintPause, setHintPause)
HINTS_APP_PROPERTY(bool, ShowHint, m_showHint, showHint, setShowHint)
HINTS_APP_PROPERTY(bool, UpdateFormatSettings, m_updateFormatSettings, updateFormatSettings,
    setUpdateFormatSettings)
HINTS_APP_PROPERTY(int, HintShortPause, m_hintShortPause, hintShortPause, setHintShortPause)
HINTS_APP_PROPERTY(int, HintHidePause, m_hintHidePause, hintHidePause, setHintHidePause)
HINTS_APP_PROPERTY(bool, ShowMainForm, m_showMainForm, showMainForm, setShowMainForm)
HINTS_APP_PROPERTY(bool, UpdateMetricSettings, m_updateMetricSettings, updateMetricSettings,
    setUpdateMetricSettings)
HINTS_APP_PROPERTY(bool, HintShortCuts, m_hintShortCuts, hintShortCuts, setHintShortCuts)
HINTS_APP_PROPERTY(TBiDiMode, BiDiMode, m_biDiMode, biDiMode, setBiDiMode)
HINTS_APP_PROPERTY(
    bool, MouseDragImmediate, m_mouseDragImmediate, mouseDragImmediate, setMouseDragImmediate)
HINTS_APP_PROPERTY(
    int, MouseDragThreshold, m_mouseDragThreshold, mouseDragThreshold, setMouseDragThreshold)

#undef HINTS_APP_PROPERTY

QColor TAppEvents::HintColor() const
{
    return Application::instance().hintColor();
}

void TAppEvents::SetHintColor(const QColor& color)
{
    m_hintColor = color;
    Application::instance().setHintColor(color);
}

QString TAppEvents::BiDiKeyboard() const
{
    return Application::instance().biDiKeyboard();
}

void TAppEvents::SetBiDiKeyboard(const QString& name)
{
    m_biDiKeyboard = name;
    Application::instance().setBiDiKeyboard(name);
}

QString TAppEvents::NonBiDiKeyboard() const
{
    return Application::instance().nonBiDiKeyboard();
}

void TAppEvents::SetNonBiDiKeyboard(const QString& name)
{
    m_nonBiDiKeyboard = name;
    Application::instance().setNonBiDiKeyboard(name);
}

bool TAppEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_owner) {
        switch (event->type()) {
        case QEvent::ThemeChange:
        case QEvent::ApplicationPaletteChange:
        case QEvent::ApplicationFontChange:
            if (OnSettingsChanged) {
                Application::instance().runHandler(this, [this] { OnSettingsChanged(this); });
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hints
