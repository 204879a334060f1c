#pragma once
// A notification event: a handler called with the object that fires it. Unassigned when empty;
// an unassigned event is simply not called.

#include <functional>

class QObject;

namespace animator {

using TNotifyEvent = std::function<void(QObject* sender)>;

} // namespace animator
