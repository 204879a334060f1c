#pragma once

#include "hints/app_event_types.h"

#include <QList>
#include <QPointer>

namespace hints {

class TAppEvents;

// The program-wide list of live TAppEvents components, in order of creation. On the first
// addition it saves the application's and screen's fifteen chained event handlers and puts
// its own dispatchers in their place; when the last component is gone the saved handlers
// are put back.
//
// A dispatcher walks the components from the last added to the first and calls each
// assigned handler; it stops after a component whose Chained is false, and for OnMessage,
// OnShortCut, OnActionExecute and OnActionUpdate as soon as the handled flag is true. If
// the walk was not stopped, the saved handler runs last. OnHelp returns the result of the
// last handler called (false when none was). When no OnException handler at all was
// called, the error is shown in the standard error box.
class TAppEventList
{
public:
    static TAppEventList& instance();
    // Takes a component off the list (nothing when there is no list).
    static void Remove(TAppEvents* component);

    // Adds a component; one already listed is ignored.
    void Add(TAppEvents* component);
    bool Hooked() const { return m_hooked; }
    int Count() const { return m_items.size(); }
    TAppEvents* Item(int index) const { return m_items.value(index); }

private:
    TAppEventList() = default;
    // Saves the application's handlers and puts the dispatchers in their place.
    void hook();
    void chainHandledEvents(TApplicationEvents& ev); // the four with a handled flag
    void chainNotifications(TApplicationEvents& ev, TScreenEvents& screen);
    void chainAnsweredEvents(TApplicationEvents& ev); // OnException and OnHelp
    void unhook();
    // The walk described above: `call` runs with each assigned handler of `member` and then
    // with `previous`. True when any ran.
    template <typename Handler, typename Call>
    bool walk(
        Handler TAppEvents::*member, const Handler& previous, const bool* handled, Call&& call);
    template <typename Handler, typename... Args>
    bool dispatch(
        Handler TAppEvents::*member, const Handler& previous, const bool* handled, Args&&... args);

    QList<QPointer<TAppEvents>> m_items;
    bool m_hooked = false;
    TApplicationEvents m_saved;
    TScreenEvents m_savedScreen;
};

} // namespace hints
