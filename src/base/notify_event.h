#pragma once
// A notification event: a handler called with the object that fires it. Unassigned when empty;
// an unassigned event is simply not called. The one type for the events of every component.

#include <functional>

class QObject;

namespace base {

using TNotifyEvent = std::function<void(QObject* sender)>;

} // namespace base
