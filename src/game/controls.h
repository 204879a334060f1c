#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace game {

// Every component of the main window, named as in the window's design. The game logic names
// controls only through these values; the window maps them to its widgets.
#define MNEMIRA_CONTROLS(X)                                                                        \
    X(Form1)                                                                                       \
    X(Notebook1) X(Image1) X(Image2) X(Image3) X(Image4) X(Image5) X(Image6) X(Image7) X(Image8)   \
        X(Image9) X(Image10) X(Image11) X(Image12) X(Image13) X(Image14) X(Image15) X(Image16)     \
            X(Image17) X(Image18) X(Image19) X(Image20) X(Image21) X(Image22) X(Image23)           \
                X(Image24) X(Label1) X(Label2) X(Label3) X(Label4) X(Label5) X(Label6) X(Label7)   \
                    X(Label8) X(Label9) X(Label10) X(Label11) X(Label12) X(Edit4) X(BitBtn1)       \
                        X(BitBtn2) X(BitBtn3) X(BitBtn4) X(ListView1) X(Panel1) X(ImageList1)      \
                            X(Timer1) X(Timer2) X(AppEvents1) X(GIFAnimator1) X(GIFAnimator2)      \
                                X(GIFAnimator3) X(GIFAnimator4) X(GIFAnimator5) X(GIFAnimator6)    \
                                    X(GIFAnimator7) X(GIFAnimator8) X(GIFAnimator9)                \
                                        X(GIFAnimator10)

enum class Control : std::uint8_t {
#define MNEMIRA_CONTROL_ENUM(name) name,
    MNEMIRA_CONTROLS(MNEMIRA_CONTROL_ENUM)
#undef MNEMIRA_CONTROL_ENUM
        Count
};

// A control's place in the tables the window keeps per control.
constexpr int ControlIndex(Control control)
{
    return static_cast<int>(control);
}

inline constexpr int kCardCount = 20;
inline constexpr int kPictureCount = 10;

// The component name, such as "Image7".
const char* ControlName(Control control);
// The component with this name; none for an unknown name.
std::optional<Control> ControlByName(QStringView name);

// The card control at position 1 … 20 (Image1 … Image16, Image18 … Image21; Image17 is the
// game page's background). Positions outside 1 … 20 are a programming error.
Control CardAtPosition(int position);
// True for the twenty card controls.
bool IsCard(Control control);
// True for the ten animation controls, GIFAnimator1 … GIFAnimator10.
bool IsAnimator(Control control);
// True for every picture control (the cards, the backgrounds and the shutter strip).
bool IsImage(Control control);
// GIFAnimator1 … GIFAnimator10 for picture number 1 … 10.
Control AnimatorFor(int picture);

} // namespace game
