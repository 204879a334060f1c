#include "un_design.h"

#include "animator/gif_animator.h"
#include "game/card_grid.h"
#include "un_colours.h"
#include "un_controls.h"
#include "un_label.h"

#include <QHeaderView>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>

#include <limits>

using game::Control;

namespace {

// Cards: the twenty cards, at their places (game/card_grid.h).
enum class Kind { Picture, Cards, Label, Edit, Button, List, Panel, Animator };

} // namespace

// What a control is and where it lies, as the design stores it. The parent is a page or, for the
// clock digits, the panel.
struct TFormControls::Designed
{
    Control control;
    game::Page page;
    Kind kind;
    int left, top, width, height;
    const char* text = nullptr; // UTF-8 caption or text
    int fontPixels = 11;
    bool bold = false;
    QRgb colour = 0xFF000000;
    bool fitToText = false; // labels sized to their text
    bool rightAligned = false; // such a label keeps its right edge when its text changes
};

namespace {

using Designed = TFormControls::Designed;
using namespace colours;
using enum game::Page;
constexpr auto kInPanel = static_cast<game::Page>(-1);

// clang-format off
const Designed kDesign[] = {
    // The start page.
    { Control::Image23, Start, Kind::Picture, 0, 0, 800, 600 },
    { Control::Label7, Start, Kind::Label, 329, 359, 154, 29, "Введите имя", 24, true, Maroon, true },
    { Control::Edit4, Start, Kind::Edit, 320, 404, 177, 21, "Новый игрок" },
    { Control::BitBtn1, Start, Kind::Button, 320, 448, 73, 25, "Старт", 11, false, Maroon },
    { Control::BitBtn4, Start, Kind::Button, 400, 448, 97, 25, "&Результаты", 11, false, Navy },
    // The game page: the office front with the twenty cards on its windows (the bottom row
    // lies one pixel further left), the shutter strip, the counters, the ten animations and
    // the clock panel on top.
    { Control::Image17, Game, Kind::Picture, 0, 0, 800, 600 },
    { Control::Image1, Game, Kind::Cards, 0, 0, game::kCardWidth, game::kCardHeight },
    { Control::Image22, Game, Kind::Picture, 39, 88, 90, 10 },
    { Control::Label1, Game, Kind::Label, 626, 31, 110, 20, "Открыто пар", 16, true, White },
    { Control::Label2, Game, Kind::Label, 618, 54, 118, 20, "Осталось пар", 16, true, White },
    { Control::Label3, Game, Kind::Label, 757, 29, 11, 24, "0", 20, true, Pink, true, true },
    { Control::Label4, Game, Kind::Label, 757, 53, 22, 22, "10", 19, true, Yellow, true },
    { Control::Label6, Game, Kind::Label, 522, 7, 11, 22, "0", 19, true, Yellow, true },
    // Each animation is moved and fitted to its picture before it is shown.
    { Control::GIFAnimator1, Game, Kind::Animator, 6, 102, 107, 83 },
    { Control::GIFAnimator2, Game, Kind::Animator, 8, 192, 105, 97 },
    { Control::GIFAnimator3, Game, Kind::Animator, 8, 304, 105, 97 },
    { Control::GIFAnimator4, Game, Kind::Animator, 8, 408, 105, 97 },
    { Control::GIFAnimator5, Game, Kind::Animator, 256, 8, 137, 65 },
    { Control::GIFAnimator6, Game, Kind::Animator, 384, 32, 105, 73 },
    { Control::GIFAnimator7, Game, Kind::Animator, 640, 504, 121, 81 },
    { Control::GIFAnimator8, Game, Kind::Animator, 680, 120, 105, 105 },
    { Control::GIFAnimator9, Game, Kind::Animator, 688, 240, 97, 97 },
    { Control::GIFAnimator10, Game, Kind::Animator, 688, 352, 105, 89 },
    { Control::Panel1, Game, Kind::Panel, 24, 26, 105, 25, nullptr, 11, false, Blue },
    { Control::Label10, kInPanel, Kind::Label, 21, 3, 10, 19, "5", 16, true, White, true },
    { Control::Label11, kInPanel, Kind::Label, 32, 3, 10, 19, ":00", 16, true, White, true },
    { Control::Label12, kInPanel, Kind::Label, 58, 3, 10, 19, ":00", 16, true, White, true },
    // The results page.
    { Control::Image24, Hits, Kind::Picture, 0, 0, 800, 600 },
    { Control::Label8, Hits, Kind::Label, 312, 120, 202, 24, "Результаты играков", 19, true, Navy, true },
    { Control::Label9, Hits, Kind::Label, 304, 144, 225, 13, "Щелкните в шапку колонк для сортировки!  ", 11, false, WindowText.rgb(), true },
    { Control::ListView1, Hits, Kind::List, 157, 160, 508, 320 },
    { Control::BitBtn2, Hits, Kind::Button, 266, 514, 75, 25, "&Играть", 11, false, WindowText.rgb() },
    { Control::BitBtn3, Hits, Kind::Button, 480, 514, 75, 25, "&Выход", 11, false, WindowText.rgb() },
};
// clang-format on

// Fonts are given as character heights in pixels. Arial's metrics are Liberation Sans's; the
// old bitmap sans faces get the same face at the same height, which also covers Cyrillic. On a
// denser screen (device pixel ratio `ratio`) the glyphs are unhinted, as Qt draws them when it
// scales a program itself (QT_SCALE_FACTOR on X11): the same pixels however the scale came
// about, a Wayland compositor's output scale included.
QFont designFont(int pixels, bool bold, qreal ratio)
{
    QFont font;
    font.setFamilies({ QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (ratio != 1.0)
        font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// One control of the design, made for its parent.
QWidget* makeControl(const Designed& d, QWidget* parent)
{
    const QString text = QString::fromUtf8(d.text);
    const QFont font = designFont(d.fontPixels, d.bold, parent->devicePixelRatio());
    const QColor colour = QColor::fromRgb(d.colour);
    switch (d.kind) {
    case Kind::Picture:
    case Kind::Cards:
        return new TImage(parent);
    case Kind::Label: {
        auto* label = new TLabel(parent, text, font, colour);
        label->setRightAligned(d.rightAligned);
        return label;
    }
    case Kind::Edit: {
        auto* edit = new TEdit(text, parent);
        edit->setMaxLength(std::numeric_limits<int>::max()); // the game cuts the name itself
        return edit;
    }
    case Kind::Button:
        return new TBitBtn(parent, text, font, colour);
    case Kind::List:
        return new QTableWidget(0, 3, parent);
    case Kind::Panel:
        return new TPanel(parent, colour);
    case Kind::Animator: {
        auto* animator = new animator::TGIFAnimator(parent);
        // Not transparent, not animating, automatic sizing off, hidden.
        animator->SetAutoSize(false);
        animator->SetTransparent(false);
        return animator;
    }
    }
    return nullptr;
}

} // namespace

TFormControls::TFormControls(QWidget* form)
{
    m_widgets[game::ControlIndex(Control::Form1)] = form;
    form->setFont(designFont(11, false, form->devicePixelRatio()));
    m_notebook = new QStackedWidget(form);
    m_notebook->setGeometry(0, 0, 800, 600);
    m_widgets[game::ControlIndex(Control::Notebook1)] = m_notebook;
    for (const game::Page p : { Start, Game, Hits })
        m_notebook->insertWidget(static_cast<int>(p), new QWidget(m_notebook));
    for (const Designed& d : kDesign)
        make(d);
    // The start page's labels now, the others' when their page first shows.
    fitLabels(Start);
    arrangeGamePage();
    arrangeResultsPage();
    // The design shows the results page; start-up switches to the start page.
    m_notebook->setCurrentIndex(static_cast<int>(Hits));

    m_timer1 = new QTimer(form);
    m_timer1->setInterval(7000);
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer2 = new QTimer(form);
    m_timer2->setInterval(15);
    m_timer2->setTimerType(Qt::PreciseTimer);
}

// The control `d` designs (for the cards' row, the twenty cards) at its place.
void TFormControls::make(const Designed& d)
{
    QWidget* parent = d.page == kInPanel ? control(Control::Panel1) : page(d.page);
    const int count = d.kind == Kind::Cards ? game::kCardCount : 1;
    for (int i = 0; i < count; ++i) {
        const Control c = d.kind == Kind::Cards ? game::CardAtPosition(i + 1) : d.control;
        QWidget* widget = makeControl(d, parent);
        widget->setGeometry(d.kind == Kind::Cards
                ? QRect(game::kCardPlaces[i].left, game::kCardPlaces[i].top, d.width, d.height)
                : QRect(d.left, d.top, d.width, d.height));
        m_widgets[game::ControlIndex(c)] = widget;
    }
    if (d.kind == Kind::List)
        m_list = static_cast<QTableWidget*>(control(d.control));
    if (d.fitToText)
        m_labelsToFit.push_back(d.control);
}

std::optional<Control> TFormControls::controlOf(const QWidget* widget) const
{
    const auto found = std::find(m_widgets.begin(), m_widgets.end(), widget);
    if (!widget || found == m_widgets.end())
        return std::nullopt;
    return static_cast<Control>(found - m_widgets.begin());
}

TBitBtn* TFormControls::button(Control c) const
{
    return dynamic_cast<TBitBtn*>(control(c));
}

TImage* TFormControls::image(Control c) const
{
    return dynamic_cast<TImage*>(control(c));
}

TLabel* TFormControls::label(Control c) const
{
    return dynamic_cast<TLabel*>(control(c));
}

animator::TGIFAnimator* TFormControls::animator(Control c) const
{
    return dynamic_cast<animator::TGIFAnimator*>(control(c));
}

QTimer* TFormControls::timer(Control c) const
{
    return c == Control::Timer1 ? m_timer1 : c == Control::Timer2 ? m_timer2 : nullptr;
}

QWidget* TFormControls::page(game::Page p) const
{
    return m_notebook->widget(static_cast<int>(p));
}

game::Page TFormControls::shownPage() const
{
    return static_cast<game::Page>(m_notebook->currentIndex());
}

void TFormControls::fitLabels(game::Page p)
{
    std::erase_if(m_labelsToFit, [this, p](Control c) {
        const bool onPage = page(p)->isAncestorOf(control(c));
        if (onPage)
            label(c)->fitToText();
        return onPage;
    });
}

// What the game page's design says beyond places: the cards' hand cursor and Tag, what starts
// hidden, the clock's digits on the panel's blue.
void TFormControls::arrangeGamePage()
{
    for (int position = 1; position <= game::kCardCount; ++position) {
        const Control card = game::CardAtPosition(position);
        control(card)->setCursor(Qt::PointingHandCursor);
        setTag(card, position);
    }
    control(Control::Image22)->hide();
    for (int n = 1; n <= game::kPictureCount; ++n)
        control(game::AnimatorFor(n))->hide();
    for (Control c : { Control::Label10, Control::Label11, Control::Label12 })
        label(c)->setBackground(QColor::fromRgb(Blue));
    // The hundredths change 67 times a second; the seconds and minutes rarely need a picture.
    label(Control::Label12)->setKeepsTextPictures(true);
}

void TFormControls::arrangeResultsPage()
{
    QWidget::setTabOrder(control(Control::Edit4), control(Control::BitBtn1));
    QWidget::setTabOrder(control(Control::BitBtn1), control(Control::BitBtn4));
    QWidget::setTabOrder(m_list, control(Control::BitBtn2));
    QWidget::setTabOrder(control(Control::BitBtn2), control(Control::BitBtn3));
    m_list->setHorizontalHeaderLabels({ QStringLiteral("Время (мин,секунд,млсекунд)"),
        QStringLiteral("Имя"), QStringLiteral("Дата") });
    m_list->setColumnWidth(0, 165);
    m_list->setColumnWidth(1, 180);
    m_list->setColumnWidth(2, 135);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_list->font()).height() + 3);
    m_list->horizontalHeader()->setSectionsClickable(true);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->setShowGrid(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    m_list->setTabKeyNavigation(false);
    m_list->setWordWrap(false);
    m_list->setCornerButtonEnabled(false);
}
