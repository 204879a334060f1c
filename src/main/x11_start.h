#pragma once
// What only X11 has at start-up. A Wayland compositor places every window itself and sends no
// second exposure; these are chosen at run time, by the platform Qt started on.

class QWidget;

// Settings read by Qt's X11 platform as it connects, set before the application exists unless the
// player set them: pictures go to the X server through its socket rather than through shared
// memory. With shared memory Qt makes sure the server has finished reading an area before it
// paints there again: a round trip that wakes the server and two threads here, for every tick of
// the clock, which repaints the same few pixels 67 times a second. (Only the xcb platform reads
// it; which platform it will be, Qt decides only as it starts.)
void PrepareForX11();

// The form placed centred on the screen before it is mapped, its frame included once a window
// manager has framed it, and painted once at the map. Call with the form's native window made,
// before showing it.
void PlaceAndPaintOnceOnX11(QWidget& form);
