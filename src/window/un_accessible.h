#pragma once
// The accessible interfaces of the window's painted controls and pages, as Qt's accessibility
// bridge reads them, and a name change sent with the name. What a control reads, and what its
// press does, comes from the window's screen reader (un_screen_reader.h).

#include "game/controls.h"

#include <QAccessible>
#include <QString>

#include <vector>

class QWidget;

// What a painted control reads and does.
class TReadable
{
public:
    virtual QString name(game::Control c) const = 0;
    // Whether the card keys' focus is on the card.
    virtual bool cardFocused(game::Control card) const = 0;
    // A press of a card or a celebration.
    virtual void press(game::Control c) = 0;

protected:
    ~TReadable() = default;
};

// A painted control of `role` (Button, Animation or StaticText): named by `readable`; a card is
// focusable; a button or an animation offers a press.
QAccessibleInterface* NewPaintedInterface(
    TReadable* readable, QWidget* widget, game::Control control, QAccessible::Role role);
// A page: `children`, in the order a player reads them.
QAccessibleInterface* NewPageInterface(QWidget* page, std::vector<QWidget*> children);

// Qt 6.4's AT-SPI bridge sends a name change with a reference to the object rather than its new
// name, so a listener has to ask for the name, and during a blocking pause the answer comes only
// after the pause. Where that bridge is connected, the change goes out here instead, on its
// connection and as AT-SPI describes the event: with the name. False when there is no bridge.
bool SendNameOverAtSpi(QWidget* widget);
