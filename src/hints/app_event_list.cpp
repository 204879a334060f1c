#include "hints/app_event_list.h"

#include "hints/app_events.h"
#include "hints/application.h"

#include <memory>

namespace hints {

namespace {
std::unique_ptr<TAppEventList>& storage()
{
    static std::unique_ptr<TAppEventList> list;
    return list;
}
} // namespace

TAppEventList& TAppEventList::instance()
{
    auto& list = storage();
    if (!list)
        list.reset(new TAppEventList);
    return *list;
}

void TAppEventList::Remove(TAppEvents* component)
{
    TAppEventList* list = storage().get();
    if (!list)
        return;
    list->m_items.removeIf(
        [component](const QPointer<TAppEvents>& p) { return p.isNull() || p.data() == component; });
    if (list->m_items.isEmpty())
        list->unhook();
}

void TAppEventList::Add(TAppEvents* component)
{
    for (const auto& p : m_items) {
        if (p.data() == component)
            return;
    }
    m_items.append(component);
    if (!m_hooked)
        hook();
}

template <typename Handler, typename Call>
bool TAppEventList::walk(
    Handler TAppEvents::*member, const Handler& previous, const bool* handled, Call&& call)
{
    bool called = false;
    bool stopped = false;
    // A handler may add or free components: walk a copy and skip the ones that went.
    const QList<QPointer<TAppEvents>> items = m_items;
    for (qsizetype i = items.size() - 1; i >= 0; --i) {
        if (!items[i])
            continue;
        TAppEvents* c = items[i];
        if (c->*member) {
            called = true;
            call(c->*member);
        }
        if (items[i] && !c->Chained()) {
            stopped = true;
            break;
        }
        if (handled && *handled) {
            stopped = true;
            break;
        }
    }
    if (!stopped && previous) {
        called = true;
        call(previous);
    }
    return called;
}

template <typename Handler, typename... Args>
bool TAppEventList::dispatch(
    Handler TAppEvents::*member, const Handler& previous, const bool* handled, Args&&... args)
{
    return walk(member, previous, handled, [&](const Handler& handler) { handler(args...); });
}

void TAppEventList::hook()
{
    Application& app = Application::instance();
    m_saved = app.events;
    m_savedScreen = app.screenEvents;
    chainHandledEvents(app.events);
    chainNotifications(app.events, app.screenEvents);
    chainAnsweredEvents(app.events);
    m_hooked = true;
}

void TAppEventList::chainHandledEvents(TApplicationEvents& ev)
{
    ev.OnActionExecute = [this](QAction* action, bool& handled) {
        dispatch(&TAppEvents::OnActionExecute, m_saved.OnActionExecute, &handled, action, handled);
    };
    ev.OnActionUpdate = [this](QAction* action, bool& handled) {
        dispatch(&TAppEvents::OnActionUpdate, m_saved.OnActionUpdate, &handled, action, handled);
    };
    ev.OnShortCut = [this](QKeyEvent* key, bool& handled) {
        dispatch(&TAppEvents::OnShortCut, m_saved.OnShortCut, &handled, key, handled);
    };
    ev.OnMessage = [this](QObject* receiver, QEvent* event, bool& handled) {
        dispatch(&TAppEvents::OnMessage, m_saved.OnMessage, &handled, receiver, event, handled);
    };
}

void TAppEventList::chainNotifications(TApplicationEvents& ev, TScreenEvents& screen)
{
    ev.OnActivate = [this](QObject* sender) {
        dispatch(&TAppEvents::OnActivate, m_saved.OnActivate, nullptr, sender);
    };
    ev.OnDeactivate = [this](QObject* sender) {
        dispatch(&TAppEvents::OnDeactivate, m_saved.OnDeactivate, nullptr, sender);
    };
    ev.OnHint = [this](QObject* sender) {
        dispatch(&TAppEvents::OnHint, m_saved.OnHint, nullptr, sender);
    };
    ev.OnMinimize = [this](QObject* sender) {
        dispatch(&TAppEvents::OnMinimize, m_saved.OnMinimize, nullptr, sender);
    };
    ev.OnRestore = [this](QObject* sender) {
        dispatch(&TAppEvents::OnRestore, m_saved.OnRestore, nullptr, sender);
    };
    ev.OnIdle = [this](QObject* sender, bool& done) {
        dispatch(&TAppEvents::OnIdle, m_saved.OnIdle, nullptr, sender, done);
    };
    ev.OnShowHint = [this](QString& hintStr, bool& canShow, THintInfo& info) {
        dispatch(&TAppEvents::OnShowHint, m_saved.OnShowHint, nullptr, hintStr, canShow, info);
    };
    screen.OnActiveControlChange = [this](QObject* sender) {
        dispatch(&TAppEvents::OnActiveControlChange, m_savedScreen.OnActiveControlChange, nullptr,
            sender);
    };
    screen.OnActiveFormChange = [this](QObject* sender) {
        dispatch(
            &TAppEvents::OnActiveFormChange, m_savedScreen.OnActiveFormChange, nullptr, sender);
    };
}

void TAppEventList::chainAnsweredEvents(TApplicationEvents& ev)
{
    ev.OnException = [this](QObject* sender, const std::exception& error) {
        if (!dispatch(&TAppEvents::OnException, m_saved.OnException, nullptr, sender, error))
            Application::instance().showException(error);
    };
    ev.OnHelp = [this](quint16 command, qintptr data, bool& callHelp) {
        // Each handler's result replaces the one before: the last handler called decides.
        bool result = false;
        walk(&TAppEvents::OnHelp, m_saved.OnHelp, nullptr,
            [&](const THelpEvent& handler) { result = handler(command, data, callHelp); });
        return result;
    };
}

void TAppEventList::unhook()
{
    if (!m_hooked)
        return;
    m_hooked = false;
    // The handlers the application had before the first component are put back (clearing
    // them would silently drop a handler the program set itself).
    if (Application::exists()) {
        Application& app = Application::instance();
        app.events = m_saved;
        app.screenEvents = m_savedScreen;
    }
    m_saved = {};
    m_savedScreen = {};
}

} // namespace hints
