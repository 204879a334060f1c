#include "game/controls.h"

#include <array>
#include <cassert>

namespace game {

namespace {

constexpr std::array<const char*, static_cast<int>(Control::Count)> kNames = {
#define MNEMIRA_CONTROL_NAME(name) #name,
    MNEMIRA_CONTROLS(MNEMIRA_CONTROL_NAME)
#undef MNEMIRA_CONTROL_NAME
};

constexpr int index(Control c)
{
    return static_cast<int>(c);
}

} // namespace

const char* ControlName(Control control)
{
    const int i = index(control);
    return i >= 0 && i < index(Control::Count) ? kNames[i] : "";
}

std::optional<Control> ControlByName(QStringView name)
{
    for (int i = 0; i < index(Control::Count); ++i) {
        if (name == QLatin1String(kNames[i]))
            return static_cast<Control>(i);
    }
    return std::nullopt;
}

Control CardAtPosition(int position)
{
    assert(position >= 1 && position <= kCardCount);
    // Image17 is the page background, so the last four cards are Image18 … Image21.
    const int offset = position <= 16 ? position - 1 : position;
    return static_cast<Control>(index(Control::Image1) + offset);
}

bool IsCard(Control control)
{
    return control >= Control::Image1 && control <= Control::Image21 && control != Control::Image17;
}

bool IsAnimator(Control control)
{
    return control >= Control::GIFAnimator1 && control <= Control::GIFAnimator10;
}

bool IsImage(Control control)
{
    return control >= Control::Image1 && control <= Control::Image24;
}

Control AnimatorFor(int picture)
{
    assert(picture >= 1 && picture <= kPictureCount);
    return static_cast<Control>(index(Control::GIFAnimator1) + picture - 1);
}

} // namespace game
