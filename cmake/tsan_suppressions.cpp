// Compiled into every program of a ThreadSanitizer build. The libraries named here are not built
// with the sanitizer and synchronise their threads in ways it cannot see (Qt's mutexes are futexes
// of its own), so what they do looks racy to it. Our own hand-overs to the GUI thread are built
// so that the sanitizer sees their ordering without Qt's help, so only calls made from inside
// those libraries are exempted:
// - Qt Core, Qt Gui and GLib: Qt's thread pool (image conversion), its event queue, GLib's loop;
// - Qt's XCB plugin: its event-reader thread hands X events to the GUI thread;
// - libdbus and Qt D-Bus: the session-bus connection the platform integration opens while the
//   window is built runs on a thread of Qt D-Bus;
// - libxcb: its own two locks, taken in both orders around a connection's first requests and
//   destroyed held when the connection closes; and the X events it reads on Qt's event-reader
//   thread, which Qt hands to the GUI thread (and the program's native event filter reads there).
extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libglib-2.0.so.0\n"
           "called_from_lib:libQt6XcbQpa.so.6\n"
           "called_from_lib:libdbus-1.so.3\n"
           "called_from_lib:libQt6DBus.so.6\n"
           "race:libxcb.so.1\n"
           "deadlock:libxcb.so.1\n"
           "mutex:libxcb.so.1\n";
}
