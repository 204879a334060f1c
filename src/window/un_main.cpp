#include "un_main.h"

#include "animator/gif_animator.h"
#include "base/error_report.h"
#include "hints/app_events.h"
#include "hints/application.h"
#include "un_colours.h"
#include "un_controls.h"
#include "un_screen_reader.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTableWidget>

using game::Control;

template <typename... Args> auto TForm1::forward(void (game::Game::*event)(Args...))
{
    return
        [this, event](Args... args) { base::RunReported(this, [&] { (m_game.*event)(args...); }); };
}

TForm1::TForm1(QWidget* parent, game::PauseFunction pause)
    : QWidget(parent)
    , m_game(*this, pause ? pause : PauseAnsweringScreenReaders)
    , m_pause(pause ? std::move(pause) : PauseAnsweringScreenReaders)
{
    m_controls[game::ControlIndex(Control::Form1)] = this;
    screenReaderListens = [] { return QAccessible::isActive(); };
    setWindowTitle(QStringLiteral("Мнемира"));
    setFixedSize(800, 600);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colours::BtnFace);
    setPalette(pal);
    setAutoFillBackground(true);

    buildPages();
    buildCardMark();
    describeControls();
    loadAssets();
    connectEvents();

    // The application's settings are applied once the design is loaded, before FormCreate.
    auto* AppEvents1 = new hints::TAppEvents(this);
    AppEvents1->SetHintColor(QColor(255, 255, 0));
    AppEvents1->Loaded();
    hints::Application::instance().setControlHint(
        m_list, QStringLiteral("Щелкните колонку  (Время)!"));

    m_focusWatch
        = connect(qApp, &QApplication::focusChanged, this, [this] { updateEnterTarget(); });

    forward (&game::Game::FormCreate)();
    // The first tab stop gets the focus when the window is first activated.
    control(Control::Edit4)->setFocus(Qt::OtherFocusReason);
    updateEnterTarget();
}

TForm1::~TForm1()
{
    // The children go after this body has run: nothing may call back into the window then.
    disconnect(m_focusWatch);
}

QTimer* TForm1::timer(Control c) const
{
    return c == Control::Timer1 ? m_timer1 : c == Control::Timer2 ? m_timer2 : nullptr;
}

void TForm1::connectEvents()
{
    connect(m_timer1, &QTimer::timeout, this, forward(&game::Game::Timer1Timer));
    connect(m_timer2, &QTimer::timeout, this, forward(&game::Game::Timer2Timer));
    connect(
        button(Control::BitBtn1), &QPushButton::clicked, this, forward(&game::Game::BitBtn1Click));
    connect(
        button(Control::BitBtn2), &QPushButton::clicked, this, forward(&game::Game::BitBtn2Click));
    connect(
        button(Control::BitBtn3), &QPushButton::clicked, this, forward(&game::Game::BitBtn3Click));
    connect(
        button(Control::BitBtn4), &QPushButton::clicked, this, forward(&game::Game::BitBtn4Click));
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this,
        forward(&game::Game::ListView1ColumnClick));

    m_cardClick = forward(&game::Game::Image1Click);
    for (int position = 1; position <= game::kCardCount; ++position) {
        const Control card = game::CardAtPosition(position);
        static_cast<TImage*>(control(card))->setOnClick([this, card] { m_cardClick(card); });
    }
    // A click on the animation ends the celebration, as the timer does; so does a change of
    // GIFAnimator6's picture (kEndsCelebrationOnChange, attached once it is read, un_assets.cpp).
    m_celebrationEnd = forward(&game::Game::Timer1Timer);
    for (int n = 1; n <= game::kPictureCount; ++n) {
        auto* animator = static_cast<animator::TGIFAnimator*>(control(game::AnimatorFor(n)));
        animator->SetOnClick([this](QObject*) { m_celebrationEnd(); });
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    watchKeys();
    QWidget::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    try {
        m_game.FormClose();
        event->accept();
    } catch (...) {
        base::ReportException(this, std::current_exception());
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
