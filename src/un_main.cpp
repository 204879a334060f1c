#include "un_main.h"

#include "animator/failure_report.h"
#include "animator/gif_animator.h"
#include "art/artwork.h"
#include "game/card_effects.h"
#include "hints/app_events.h"
#include "hints/application.h"
#include "hints/error_box.h"
#include "hints/hint_appearance.h"
#include "un_colours.h"
#include "un_controls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTableWidget>

#include <algorithm>
#include <exception>
#include <limits>

using game::Control;

namespace {

int at(Control c)
{
    return static_cast<int>(c);
}

// Fonts are given as character heights in pixels. Arial's metrics are Liberation Sans's; the
// old bitmap sans faces get the same face at the same height, which also covers Cyrillic.
QFont designFont(int pixels, bool bold = false)
{
    QFont font;
    font.setFamilies({ QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

const QColor kMaroon(128, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kNavy(0, 0, 128);

} // namespace

TForm1::TForm1(QWidget* parent, game::PauseFunction pause)
    : QWidget(parent)
    , m_game(*this, pause)
    , m_pause(std::move(pause))
{
    m_controls[at(Control::Form1)] = this;
    setWindowTitle(QStringLiteral("Мнемира"));
    setFixedSize(800, 600);
    setFont(designFont(11));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colours::BtnFace);
    setPalette(pal);
    setAutoFillBackground(true);

    try {
        setWindowIcon(art::icon());
        const art::CardPictures cards = art::cardPictures();
        m_cardImages = cards.images;
        m_cardMasks = cards.masks;
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }

    m_notebook = new QStackedWidget(this);
    m_notebook->setGeometry(0, 0, 800, 600);
    m_controls[at(Control::Notebook1)] = m_notebook;
    QWidget* pages[3];
    for (QWidget*& page : pages) {
        page = new QWidget(m_notebook);
        m_notebook->addWidget(page);
    }
    buildStartPage(pages[0]);
    buildGamePage(pages[1]);
    buildHitsPage(pages[2]);
    // The design shows the results page; start-up switches to the start page.
    m_notebook->setCurrentIndex(2);

    m_timer1 = new QTimer(this);
    m_timer1->setInterval(7000);
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, [this] { handle([this] { m_game.Timer1Timer(); }); });
    m_timer2 = new QTimer(this);
    m_timer2->setInterval(15);
    m_timer2->setTimerType(Qt::PreciseTimer);
    connect(m_timer2, &QTimer::timeout, this, [this] { handle([this] { m_game.Timer2Timer(); }); });

    // The application's settings are applied once the design is loaded, before FormCreate.
    hints::Application::instance().setErrorBoxHandler(
        [this](const QString& text) { showError(text); });
    // Failures of animation ticks and paints are reported like every other.
    animator::SetApplicationExceptionHandler([](QObject* sender, const std::exception& e) {
        hints::Application::instance().handleException(sender, e);
    });
    auto* AppEvents1 = new hints::TAppEvents(this);
    AppEvents1->SetHintColor(QColor(255, 255, 0));
    AppEvents1->Loaded();
    hints::Application::instance().setControlHint(
        m_list, QStringLiteral("Щелкните колонку  (Время)!"));

    qApp->installEventFilter(this);
    m_focusWatch
        = connect(qApp, &QApplication::focusChanged, this, [this] { updateEnterTarget(); });

    handle([this] { m_game.FormCreate(); });
    // The first tab stop gets the focus when the window is first activated.
    control(Control::Edit4)->setFocus(Qt::OtherFocusReason);
    updateEnterTarget();
}

TForm1::~TForm1()
{
    // The children go after this body has run: nothing may call back into the window then.
    disconnect(m_focusWatch);
    qApp->removeEventFilter(this);
    hints::Application::instance().setErrorBoxHandler(nullptr);
}

void TForm1::place(Control c, QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    m_controls[at(c)] = widget;
}

QTimer* TForm1::timer(Control c) const
{
    return c == Control::Timer1 ? m_timer1 : c == Control::Timer2 ? m_timer2 : nullptr;
}

QImage TForm1::glyph(int button)
{
    try {
        return art::glyph(button);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return QImage();
    }
}

void TForm1::loadBackground(TImage* image, art::Background which)
{
    try {
        image->setPicture(art::background(which));
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }
}

TBitBtn* TForm1::button(Control c) const
{
    return static_cast<TBitBtn*>(control(c));
}

void TForm1::buildStartPage(QWidget* page)
{
    auto* background = new TImage(page);
    place(Control::Image23, background, 0, 0, 800, 600);
    auto* label = new TLabel(page, QStringLiteral("Введите имя"), designFont(24, true), kMaroon);
    place(Control::Label7, label, 329, 359, 154, 29);
    label->fitToText();
    auto* edit = new TEdit(QStringLiteral("Новый игрок"), page);
    place(Control::Edit4, edit, 320, 404, 177, 21);
    edit->setMaxLength(std::numeric_limits<int>::max()); // no limit: the game cuts the name itself
    auto* start = new TBitBtn(page, QStringLiteral("Старт"), glyph(1), designFont(11), kMaroon);
    place(Control::BitBtn1, start, 320, 448, 73, 25);
    auto* results
        = new TBitBtn(page, QStringLiteral("&Результаты"), glyph(4), designFont(11), kNavy);
    place(Control::BitBtn4, results, 400, 448, 97, 25);
    loadBackground(background, art::Background::Start);
    QWidget::setTabOrder(edit, start);
    QWidget::setTabOrder(start, results);
    connect(
        start, &QPushButton::clicked, this, [this] { handle([this] { m_game.BitBtn1Click(); }); });
    connect(results, &QPushButton::clicked, this,
        [this] { handle([this] { m_game.BitBtn4Click(); }); });
}

void TForm1::buildGamePage(QWidget* page)
{
    auto* background = new TImage(page);
    place(Control::Image17, background, 0, 0, 800, 600);
    loadBackground(background, art::Background::Game);
    for (int position = 1; position <= game::kCardCount; ++position) {
        const int row = (position - 1) / 5;
        // The bottom row lies one pixel further left than the three above it.
        const int left = (row == 3 ? 160 : 161) + 102 * ((position - 1) % 5);
        const Control c = game::CardAtPosition(position);
        auto* card = new TImage(page);
        place(c, card, left, 125 + 90 * row, 90, 80);
        card->setCursor(Qt::PointingHandCursor);
        m_tags[at(c)] = position;
        card->onClick = [this, c] { handle([this, c] { m_game.Image1Click(c); }); };
    }
    auto* strip = new TImage(page);
    place(Control::Image22, strip, 39, 88, 90, 10);
    strip->hide();

    auto* opened = new TLabel(page, QStringLiteral("Открыто пар"), designFont(16, true), kWhite);
    place(Control::Label1, opened, 626, 31, 110, 20);
    auto* left = new TLabel(page, QStringLiteral("Осталось пар"), designFont(16, true), kWhite);
    place(Control::Label2, left, 618, 54, 118, 20);
    auto* found
        = new TLabel(page, QStringLiteral("0"), designFont(20, true), QColor(255, 191, 191));
    place(Control::Label3, found, 757, 29, 11, 24);
    found->setRightAligned(true);
    found->fitToText();
    auto* remaining = new TLabel(page, QStringLiteral("10"), designFont(19, true), kYellow);
    place(Control::Label4, remaining, 757, 53, 22, 22);
    remaining->fitToText();
    auto* name = new TLabel(page, QStringLiteral("0"), designFont(19, true), kYellow);
    place(Control::Label6, name, 522, 7, 11, 22);
    name->fitToText();

    buildAnimators(page);

    auto* panel = new TPanel(page, QColor(0, 0, 255));
    place(Control::Panel1, panel, 24, 26, 105, 25);
    const struct
    {
        Control c;
        int left;
        const char* text;
    } clock[] = { { Control::Label10, 21, "5" }, { Control::Label11, 32, ":00" },
        { Control::Label12, 58, ":00" } };
    for (const auto& part : clock) {
        auto* label
            = new TLabel(panel, QString::fromLatin1(part.text), designFont(16, true), kWhite);
        label->setBackground(QColor(0, 0, 255));
        place(part.c, label, part.left, 3, 10, 19);
        label->fitToText();
    }
}

void TForm1::buildAnimators(QWidget* page)
{
    // Designed places; each is moved and fitted to its picture before it is shown.
    const QRect places[10] = { { 6, 102, 107, 83 }, { 8, 192, 105, 97 }, { 8, 304, 105, 97 },
        { 8, 408, 105, 97 }, { 256, 8, 137, 65 }, { 384, 32, 105, 73 }, { 640, 504, 121, 81 },
        { 680, 120, 105, 105 }, { 688, 240, 97, 97 }, { 688, 352, 105, 89 } };
    for (int n = 1; n <= game::kPictureCount; ++n) {
        auto* animator = new animator::TGIFAnimator(page);
        const QRect& r = places[n - 1];
        // The design: not transparent, not animating, automatic sizing off, hidden.
        animator->SetAutoSize(false);
        animator->SetTransparent(false);
        place(game::AnimatorFor(n), animator, r.x(), r.y(), r.width(), r.height());
        animator->hide();
        try {
            animator->Image().ReadFormData(art::animationData(n));
        } catch (const std::exception& e) {
            showError(QString::fromUtf8(e.what()));
        }
        const auto celebrationEnd = [this](QObject*) { handle([this] { m_game.Timer1Timer(); }); };
        animator->SetOnClick(celebrationEnd);
        // Attached after the picture was read, so it never reports a change in play.
        if (n == 6)
            animator->SetOnChange(celebrationEnd);
    }
}

void TForm1::buildHitsPage(QWidget* page)
{
    auto* background = new TImage(page);
    place(Control::Image24, background, 0, 0, 800, 600);
    loadBackground(background, art::Background::Hits);
    auto* title
        = new TLabel(page, QStringLiteral("Результаты играков"), designFont(19, true), kNavy);
    place(Control::Label8, title, 312, 120, 202, 24);
    title->fitToText();
    auto* help = new TLabel(page, QStringLiteral("Щелкните в шапку колонк для сортировки!  "),
        designFont(11), colours::WindowText);
    place(Control::Label9, help, 304, 144, 225, 13);
    help->fitToText();

    m_list = new QTableWidget(0, 3, page);
    place(Control::ListView1, m_list, 157, 160, 508, 320);
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
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this,
        [this](int column) { handle([this, column] { m_game.ListView1ColumnClick(column); }); });

    auto* play = new TBitBtn(
        page, QStringLiteral("&Играть"), glyph(2), designFont(11), colours::WindowText);
    place(Control::BitBtn2, play, 266, 514, 75, 25);
    auto* exit = new TBitBtn(
        page, QStringLiteral("&Выход"), glyph(3), designFont(11), colours::WindowText);
    place(Control::BitBtn3, exit, 480, 514, 75, 25);
    QWidget::setTabOrder(m_list, play);
    QWidget::setTabOrder(play, exit);
    connect(
        play, &QPushButton::clicked, this, [this] { handle([this] { m_game.BitBtn2Click(); }); });
    connect(
        exit, &QPushButton::clicked, this, [this] { handle([this] { m_game.BitBtn3Click(); }); });
}

// ---- Failures -------------------------------------------------------------------------------

void TForm1::showError(const QString& message)
{
    if (errorBox) {
        errorBox(hints::ErrorBoxText(message));
        return;
    }
    hints::ShowStandardErrorBox(message, isVisible() ? this : nullptr);
}

void TForm1::handle(const std::function<void()>& handler)
{
    // A failure ends the handler; the application's exception event reports it.
    try {
        handler();
    } catch (const std::exception& e) {
        hints::Application::instance().handleException(this, e);
    } catch (...) {
        hints::Application::instance().handleException(this, std::runtime_error("Unknown error"));
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    try {
        m_game.FormClose();
        event->accept();
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        // The close is abandoned once; a second request closes anyway, so a player whose
        // results file never opened can still quit.
        if (m_closeFailed) {
            event->accept();
            return;
        }
        m_closeFailed = true;
        event->ignore();
    }
}

// ---- Keys -----------------------------------------------------------------------------------

TBitBtn* TForm1::enterTarget() const
{
    // Creation order: BitBtn1, BitBtn4, BitBtn2, BitBtn3; BitBtn1 and BitBtn2 are default.
    const Control order[]
        = { Control::BitBtn1, Control::BitBtn4, Control::BitBtn2, Control::BitBtn3 };
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != this)
        focus = focusWidget();
    bool buttonFocused = false;
    for (Control c : order)
        buttonFocused = buttonFocused || focus == control(c);
    for (Control c : order) {
        TBitBtn* b = button(c);
        const bool isDefault = c == Control::BitBtn1 || c == Control::BitBtn2;
        const bool wants = focus == b || (!buttonFocused && isDefault);
        if (wants && b->canTakeFocus())
            return b;
    }
    return nullptr;
}

void TForm1::updateEnterTarget()
{
    TBitBtn* target = enterTarget();
    for (Control c : { Control::BitBtn1, Control::BitBtn4, Control::BitBtn2, Control::BitBtn3 })
        button(c)->setEnterTarget(button(c) == target);
}

bool TForm1::handleKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier) {
        if (TBitBtn* target = enterTarget()) {
            target->click();
            return true;
        }
        return false;
    }
    // Alt+letter anywhere in the window; the letter alone while a button has the focus.
    const QString text = event->text();
    QChar letter;
    if (!text.isEmpty() && text.at(0).isLetter())
        letter = text.at(0).toUpper();
    else if (key >= 0x20 && key <= 0xFFFF && QChar(key).isLetter())
        letter = QChar(key).toUpper();
    if (letter.isNull() || (mods & Qt::ControlModifier))
        return false;
    const bool alt = mods & Qt::AltModifier;
    const bool onButton = dynamic_cast<TBitBtn*>(QApplication::focusWidget()) != nullptr;
    if (!alt && !onButton)
        return false;
    for (Control c : { Control::BitBtn1, Control::BitBtn4, Control::BitBtn2, Control::BitBtn3 }) {
        TBitBtn* b = button(c);
        if (b->accelerator() == letter && b->canTakeFocus()) {
            b->setFocus(Qt::ShortcutFocusReason);
            b->click();
            return true;
        }
    }
    return alt; // Alt+letter with no button of that letter does nothing else either
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && QApplication::activeModalWidget() == nullptr) {
            if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
