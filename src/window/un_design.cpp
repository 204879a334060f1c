// The window's design: every control with its designed place, text, font and colour, created
// page by page in the design's order (later controls lie above earlier ones).
#include "un_main.h"

#include "animator/gif_animator.h"
#include "un_colours.h"
#include "un_controls.h"

#include <QHeaderView>
#include <QStackedWidget>
#include <QTableWidget>

#include <limits>

using game::Control;

namespace {

enum class Kind { Picture, Label, Edit, Button, List, Panel, Animator };

// What a control is and where it lies, as the design stores it. The parent is a page (0 start,
// 1 game, 2 results) or, for the clock digits, the panel.
struct Designed
{
    Control control;
    int page;
    Kind kind;
    int left, top, width, height;
    const char* text = nullptr; // UTF-8 caption or text
    int fontPixels = 11;
    bool bold = false;
    QRgb colour = 0xFF000000;
    bool fitToText = false; // labels sized to their text
    bool rightAligned = false; // such a label keeps its right edge when its text changes
};

using namespace colours;
constexpr int kInPanel = -1;

// clang-format off
const Designed kDesign[] = {
    // The start page.
    { Control::Image23, 0, Kind::Picture, 0, 0, 800, 600 },
    { Control::Label7, 0, Kind::Label, 329, 359, 154, 29, "Введите имя", 24, true, Maroon, true },
    { Control::Edit4, 0, Kind::Edit, 320, 404, 177, 21, "Новый игрок" },
    { Control::BitBtn1, 0, Kind::Button, 320, 448, 73, 25, "Старт", 11, false, Maroon },
    { Control::BitBtn4, 0, Kind::Button, 400, 448, 97, 25, "&Результаты", 11, false, Navy },
    // The game page: the office front with the twenty cards on its windows (the bottom row
    // lies one pixel further left), the shutter strip, the counters, the ten animations and
    // the clock panel on top.
    { Control::Image17, 1, Kind::Picture, 0, 0, 800, 600 },
    { Control::Image1, 1, Kind::Picture, 161, 125, 90, 80 },
    { Control::Image2, 1, Kind::Picture, 263, 125, 90, 80 },
    { Control::Image3, 1, Kind::Picture, 365, 125, 90, 80 },
    { Control::Image4, 1, Kind::Picture, 467, 125, 90, 80 },
    { Control::Image5, 1, Kind::Picture, 569, 125, 90, 80 },
    { Control::Image6, 1, Kind::Picture, 161, 215, 90, 80 },
    { Control::Image7, 1, Kind::Picture, 263, 215, 90, 80 },
    { Control::Image8, 1, Kind::Picture, 365, 215, 90, 80 },
    { Control::Image9, 1, Kind::Picture, 467, 215, 90, 80 },
    { Control::Image10, 1, Kind::Picture, 569, 215, 90, 80 },
    { Control::Image11, 1, Kind::Picture, 161, 305, 90, 80 },
    { Control::Image12, 1, Kind::Picture, 263, 305, 90, 80 },
    { Control::Image13, 1, Kind::Picture, 365, 305, 90, 80 },
    { Control::Image14, 1, Kind::Picture, 467, 305, 90, 80 },
    { Control::Image15, 1, Kind::Picture, 569, 305, 90, 80 },
    { Control::Image16, 1, Kind::Picture, 160, 395, 90, 80 },
    { Control::Image18, 1, Kind::Picture, 262, 395, 90, 80 },
    { Control::Image19, 1, Kind::Picture, 364, 395, 90, 80 },
    { Control::Image20, 1, Kind::Picture, 466, 395, 90, 80 },
    { Control::Image21, 1, Kind::Picture, 568, 395, 90, 80 },
    { Control::Image22, 1, Kind::Picture, 39, 88, 90, 10 },
    { Control::Label1, 1, Kind::Label, 626, 31, 110, 20, "Открыто пар", 16, true, White },
    { Control::Label2, 1, Kind::Label, 618, 54, 118, 20, "Осталось пар", 16, true, White },
    { Control::Label3, 1, Kind::Label, 757, 29, 11, 24, "0", 20, true, Pink, true, true },
    { Control::Label4, 1, Kind::Label, 757, 53, 22, 22, "10", 19, true, Yellow, true },
    { Control::Label6, 1, Kind::Label, 522, 7, 11, 22, "0", 19, true, Yellow, true },
    // Each animation is moved and fitted to its picture before it is shown.
    { Control::GIFAnimator1, 1, Kind::Animator, 6, 102, 107, 83 },
    { Control::GIFAnimator2, 1, Kind::Animator, 8, 192, 105, 97 },
    { Control::GIFAnimator3, 1, Kind::Animator, 8, 304, 105, 97 },
    { Control::GIFAnimator4, 1, Kind::Animator, 8, 408, 105, 97 },
    { Control::GIFAnimator5, 1, Kind::Animator, 256, 8, 137, 65 },
    { Control::GIFAnimator6, 1, Kind::Animator, 384, 32, 105, 73 },
    { Control::GIFAnimator7, 1, Kind::Animator, 640, 504, 121, 81 },
    { Control::GIFAnimator8, 1, Kind::Animator, 680, 120, 105, 105 },
    { Control::GIFAnimator9, 1, Kind::Animator, 688, 240, 97, 97 },
    { Control::GIFAnimator10, 1, Kind::Animator, 688, 352, 105, 89 },
    { Control::Panel1, 1, Kind::Panel, 24, 26, 105, 25, nullptr, 11, false, Blue },
    { Control::Label10, kInPanel, Kind::Label, 21, 3, 10, 19, "5", 16, true, White, true },
    { Control::Label11, kInPanel, Kind::Label, 32, 3, 10, 19, ":00", 16, true, White, true },
    { Control::Label12, kInPanel, Kind::Label, 58, 3, 10, 19, ":00", 16, true, White, true },
    // The results page.
    { Control::Image24, 2, Kind::Picture, 0, 0, 800, 600 },
    { Control::Label8, 2, Kind::Label, 312, 120, 202, 24, "Результаты играков", 19, true, Navy, true },
    { Control::Label9, 2, Kind::Label, 304, 144, 225, 13, "Щелкните в шапку колонк для сортировки!  ", 11, false, WindowText.rgb(), true },
    { Control::ListView1, 2, Kind::List, 157, 160, 508, 320 },
    { Control::BitBtn2, 2, Kind::Button, 266, 514, 75, 25, "&Играть", 11, false, WindowText.rgb() },
    { Control::BitBtn3, 2, Kind::Button, 480, 514, 75, 25, "&Выход", 11, false, WindowText.rgb() },
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

// One control of the design, made for its parent (the list is the window's m_list).
QWidget* makeControl(const Designed& d, QWidget* parent)
{
    const QString text = QString::fromUtf8(d.text);
    const QFont font = designFont(d.fontPixels, d.bold, parent->devicePixelRatio());
    const QColor colour = QColor::fromRgb(d.colour);
    switch (d.kind) {
    case Kind::Picture:
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

void TForm1::buildPages()
{
    setFont(designFont(11, false, devicePixelRatio()));
    m_notebook = new QStackedWidget(this);
    m_notebook->setGeometry(0, 0, 800, 600);
    m_controls[game::ControlIndex(Control::Notebook1)] = m_notebook;
    for (int page = 0; page < 3; ++page)
        m_notebook->addWidget(new QWidget(m_notebook));

    for (const Designed& d : kDesign) {
        QWidget* widget = makeControl(
            d, d.page == kInPanel ? control(Control::Panel1) : m_notebook->widget(d.page));
        widget->setGeometry(d.left, d.top, d.width, d.height);
        m_controls[static_cast<int>(d.control)] = widget;
        if (d.kind == Kind::List)
            m_list = static_cast<QTableWidget*>(widget);
        // A label sized to its text needs its font loaded: the start page's now, the others'
        // when their page first shows (loadPageAssets).
        if (d.fitToText && d.page == 0)
            static_cast<TLabel*>(widget)->fitToText();
        else if (d.fitToText)
            m_labelsToFit.push_back(d.control);
    }

    arrangeGamePage();
    QWidget::setTabOrder(control(Control::Edit4), control(Control::BitBtn1));
    QWidget::setTabOrder(control(Control::BitBtn1), control(Control::BitBtn4));
    QWidget::setTabOrder(m_list, control(Control::BitBtn2));
    QWidget::setTabOrder(control(Control::BitBtn2), control(Control::BitBtn3));
    buildResultsList();
    // The design shows the results page; start-up switches to the start page.
    m_notebook->setCurrentIndex(2);

    m_timer1 = new QTimer(this);
    m_timer1->setInterval(7000);
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer2 = new QTimer(this);
    m_timer2->setInterval(15);
    m_timer2->setTimerType(Qt::PreciseTimer);
}

// What the game page's design says beyond places: the cards' hand cursor and Tag, what starts
// hidden, the clock's digits on the panel's blue.
void TForm1::arrangeGamePage()
{
    for (int position = 1; position <= game::kCardCount; ++position) {
        const Control card = game::CardAtPosition(position);
        control(card)->setCursor(Qt::PointingHandCursor);
        m_tags[static_cast<int>(card)] = position;
    }
    control(Control::Image22)->hide();
    for (int n = 1; n <= game::kPictureCount; ++n)
        control(game::AnimatorFor(n))->hide();
    for (Control label : { Control::Label10, Control::Label11, Control::Label12 })
        static_cast<TLabel*>(control(label))->setBackground(QColor::fromRgb(Blue));
    // The hundredths change 67 times a second; the seconds and minutes rarely need a picture.
    static_cast<TLabel*>(control(Control::Label12))->setKeepsTextPictures(true);
}

void TForm1::buildResultsList()
{
    m_list->setHorizontalHeaderLabels({ QStringLiteral("Время (мин,секунд,млсекунд)"),
        QStringLiteral("Имя"), QStringLiteral("Дата") });
    m_list->setColumnWidth(0, 165);
    m_list->setColumnWidth(1, 180);
    m_list->setColumnWidth(2, 135);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 3);
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
