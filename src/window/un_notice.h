#pragma once
// How the window tells a screen reader what happens: the notice, and the game's pause that still
// answers a screen reader.

#include <QWidget>

#include <chrono>

// The game's blocking pause (a real sleep of the GUI thread, see game::BlockingPause), which still
// answers a screen reader's questions. A screen reader asks the program about an object before it
// speaks of it, so over a plain sleep the face a wrong pair shows only during the pause would be
// said once the shutter had closed it again. Between sleeps of a millisecond only the calls that
// Qt's accessibility bridge has received are handled: clicks, keys, timer ticks and paints wait
// as they do over a plain sleep, and the pause lasts as long. Without a screen reader it is a
// plain sleep.
void PauseAnsweringScreenReaders(std::chrono::milliseconds length);

// The notice: an invisible control whose appearance a screen reader presents, saying its name
// (Orca: "уведомление …"), without cutting off what it was saying. Hidden until first told.
class TNotice : public QWidget
{
public:
    explicit TNotice(QWidget* window);
    // Says `text` now.
    void say(const QString& text);
};
