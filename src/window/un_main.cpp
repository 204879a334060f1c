#include "un_main.h"

#include "animator/gif_animator.h"
#include "base/error_report.h"
#include "hints/app_events.h"
#include "hints/application.h"
#include "un_assets.h"
#include "un_card_keys.h"
#include "un_colours.h"
#include "un_controls.h"
#include "un_design.h"
#include "un_keys.h"
#include "un_notice.h"
#include "un_screen_reader.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>

using game::Control;

template <typename... Args> auto TForm1::forward(void (game::Game::*event)(Args...))
{
    return
        [this, event](Args... args) { base::RunReported(this, [&] { (m_game.*event)(args...); }); };
}

TForm1::TForm1(QWidget* parent, game::PauseFunction pause)
    : QWidget(parent)
    , m_pause(pause ? std::move(pause) : PauseAnsweringScreenReaders)
    , m_game(*this, m_pause)
{
    setWindowTitle(QStringLiteral("Мнемира"));
    setFixedSize(800, 600);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colours::BtnFace);
    setPalette(pal);
    setAutoFillBackground(true);

    screenReaderListens = [] { return QAccessible::isActive(); };
    makeParts();
    connectEvents();

    // The application's settings are applied once the design is loaded, before FormCreate.
    auto* AppEvents1 = new hints::TAppEvents(this);
    AppEvents1->SetHintColor(QColor(255, 255, 0));
    AppEvents1->Loaded();
    hints::Application::instance().setControlHint(m_controls->list(), QString::fromUtf8(kListHint));

    m_focusWatch = connect(
        qApp, &QApplication::focusChanged, this, [this] { m_buttonKeys->updateEnterTarget(); });

    forward (&game::Game::FormCreate)();
    // The first tab stop gets the focus when the window is first activated.
    control(Control::Edit4)->setFocus(Qt::OtherFocusReason);
    m_buttonKeys->updateEnterTarget();
}

void TForm1::makeParts()
{
    m_controls = std::make_unique<TFormControls>(this);
    m_cardKeys = std::make_unique<TCardKeys>(*m_controls,
        TCardKeys::Actions { [this](Control card) { m_cardClick(card); },
            [this] { m_celebrationEnd(); }, [this] { m_screenReader->tellTimeLeft(); },
            [this](QWidget* card) { m_screenReader->tellFocus(card); } });
    m_screenReader = std::make_unique<TScreenReader>(this, *m_controls, m_game.state(),
        TScreenReader::Window { [this] { return screenReaderListens(); },
            [this](Control card) { return m_cardKeys->focusesOn(card); },
            [this](Control card) { m_cardKeys->pressAt(card); }, [this] { m_celebrationEnd(); } });
    m_assets = std::make_unique<TAssets>(this, *m_controls);
    m_assets->setOnAnimationChange([this] { m_celebrationEnd(); });
    m_buttonKeys = std::make_unique<TButtonKeys>(this, *m_controls);
}

TForm1::~TForm1()
{
    // The children go after this body has run: nothing may call back into the window then.
    disconnect(m_focusWatch);
}

QWidget* TForm1::control(Control c) const
{
    return m_controls->control(c);
}

QTimer* TForm1::timer(Control c) const
{
    return m_controls->timer(c);
}

QStackedWidget* TForm1::notebook() const
{
    return m_controls->notebook();
}

QWidget* TForm1::notice() const
{
    return m_screenReader->notice();
}

void TForm1::finishLoading()
{
    m_assets->loadAll();
    for (const game::Page page : { game::Page::Hits, game::Page::Game })
        m_controls->fitLabels(page);
}

void TForm1::connectEvents()
{
    connect(timer(Control::Timer1), &QTimer::timeout, this, forward(&game::Game::Timer1Timer));
    connect(timer(Control::Timer2), &QTimer::timeout, this, forward(&game::Game::Timer2Timer));
    const std::pair<Control, void (game::Game::*)()> buttons[] = {
        { Control::BitBtn1, &game::Game::BitBtn1Click },
        { Control::BitBtn2, &game::Game::BitBtn2Click },
        { Control::BitBtn3, &game::Game::BitBtn3Click },
        { Control::BitBtn4, &game::Game::BitBtn4Click },
    };
    for (const auto& [button, handler] : buttons)
        connect(m_controls->button(button), &QPushButton::clicked, this, forward(handler));
    connect(m_controls->list()->horizontalHeader(), &QHeaderView::sectionClicked, this,
        forward(&game::Game::ListView1ColumnClick));

    m_cardClick = forward(&game::Game::Image1Click);
    for (int position = 1; position <= game::kCardCount; ++position) {
        const Control card = game::CardAtPosition(position);
        m_controls->image(card)->setOnClick([this, card] { m_cardClick(card); });
    }
    // A click on the animation ends the celebration, as the timer does; so does a change of
    // GIFAnimator6's picture (attached once it is read, un_assets.cpp).
    m_celebrationEnd = forward(&game::Game::Timer1Timer);
    for (int n = 1; n <= game::kPictureCount; ++n)
        m_controls->animator(game::AnimatorFor(n))->SetOnClick([this](QObject*) {
            m_celebrationEnd();
        });
}

void TForm1::showEvent(QShowEvent* event)
{
    // Keys reach the native window before the control with the focus: the key rules are applied
    // there, for this window only. Installing twice keeps one filter.
    if (QWindow* window = windowHandle())
        window->installEventFilter(this);
    QWidget::showEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle()) {
        // The mouse takes over from the card keys: their mark goes until the next arrow key.
        if (event->type() == QEvent::MouseButtonPress)
            m_cardKeys->hideMark();
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (m_cardKeys->handleKey(key) || m_buttonKeys->handleKey(key))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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
