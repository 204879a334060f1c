#pragma once
// The window's key rules for its buttons: Enter presses the button that has the focus, or else
// the default button of the page shown ("Старт", "Играть"), which is drawn with the dark default
// frame; Alt+letter presses the button with that accelerator anywhere in the window, and the
// letter alone does so while a button has the focus.

class QKeyEvent;
class QWidget;
class TBitBtn;
class TFormControls;

class TButtonKeys
{
public:
    TButtonKeys(QWidget* window, const TFormControls& controls);

    // A key pressed in the window; true when it pressed a button (or was an Alt+letter).
    bool handleKey(QKeyEvent* event);
    // Draws the button Enter would press with the default frame, after a change of focus or page.
    void updateEnterTarget();

private:
    TBitBtn* enterTarget() const;

    QWidget* m_window;
    const TFormControls& m_controls;
};
