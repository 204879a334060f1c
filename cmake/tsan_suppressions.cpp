// Compiled into every program of a ThreadSanitizer build. Qt and GLib are not built with the
// sanitizer: Qt's thread pool (image conversion), its event queue and GLib's event loop
// synchronise in code it cannot see. Our own hand-overs to the GUI thread are built so that the
// sanitizer sees their ordering without Qt's help, so only calls made from inside those
// libraries are exempted.
extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libglib-2.0.so.0\n";
}
