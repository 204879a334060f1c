#pragma once
// The window's design: every control with its designed place, text, font and colour, made page
// by page in the design's order on the form (later controls lie above earlier ones), and found
// again by its design name.

#include "game/controls.h"
#include "game/view.h"

#include <array>
#include <optional>
#include <vector>

class QStackedWidget;
class QTableWidget;
class QTimer;
class QWidget;
class TBitBtn;
class TImage;
class TLabel;
namespace animator {
class TGIFAnimator;
}

// The results list's hint (its Hint property), which a screen reader reads as its description.
inline constexpr const char* kListHint = "Щелкните колонку  (Время)!";

class TFormControls
{
public:
    // One control as the design gives it (un_design.cpp).
    struct Designed;

    // Makes every control of the design on `form`, which is Form1.
    explicit TFormControls(QWidget* form);

    QWidget* control(game::Control c) const { return m_widgets[game::ControlIndex(c)]; }
    // The control this widget is; none for a widget of Qt's own inside a control.
    std::optional<game::Control> controlOf(const QWidget* widget) const;
    // The control as its kind, or null when it is of another kind.
    TBitBtn* button(game::Control c) const;
    TImage* image(game::Control c) const;
    TLabel* label(game::Control c) const;
    animator::TGIFAnimator* animator(game::Control c) const;
    // Timer1 or Timer2; null for any other control.
    QTimer* timer(game::Control c) const;

    QStackedWidget* notebook() const { return m_notebook; }
    QWidget* page(game::Page page) const;
    game::Page shownPage() const;
    QTableWidget* list() const { return m_list; }

    // The Tag property: a card's position 1 … 20, 0 for every other control.
    int tag(game::Control c) const { return m_tags[game::ControlIndex(c)]; }
    void setTag(game::Control c, int tag) { m_tags[game::ControlIndex(c)] = tag; }

    // The labels of `page` sized to their text: once, as the page first shows (a label's size
    // needs its font, and the fonts of the pages not shown yet are read only then).
    void fitLabels(game::Page page);

private:
    void make(const Designed& d);
    void arrangeGamePage();
    // The list's columns and behaviour, and the tab order of the start and results pages.
    void arrangeResultsPage();

    std::array<QWidget*, game::ControlIndex(game::Control::Count)> m_widgets {};
    std::array<int, game::ControlIndex(game::Control::Count)> m_tags {};
    QStackedWidget* m_notebook = nullptr;
    QTableWidget* m_list = nullptr;
    QTimer* m_timer1 = nullptr;
    QTimer* m_timer2 = nullptr;
    std::vector<game::Control> m_labelsToFit; // on the pages not shown yet
};
