// The window's design and the view operations as the player sees them.
#include "form_fixture.h"
#include "support/oracle_frames.h"

#include "animator/gif_animator.h"
#include "art/artwork.h"

#include <QFile>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTableWidget>

class Window : public FormFixture
{ };

TEST_F(Window, DesignedGeometry)
{
    EXPECT_EQ(form->windowTitle(), "Мнемира");
    EXPECT_EQ(form->size(), QSize(800, 600));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(page(), 0);
    // The cards read like a page: positions 1 … 20 in four rows of five, left to right and top
    // to bottom, 90 × 80 each, apart from one another, on the building below the clock panel.
    const QRect panel = w(Control::Panel1)->geometry();
    for (int p = 1; p <= 20; ++p) {
        SCOPED_TRACE(p);
        const QRect r = w(card(p))->geometry();
        EXPECT_EQ(r.size(), QSize(90, 80));
        EXPECT_GT(r.top(), panel.bottom());
        EXPECT_TRUE(QRect(0, 0, 800, 600).contains(r));
        if ((p - 1) % 5 > 0) {
            const QRect left = w(card(p - 1))->geometry();
            EXPECT_EQ(r.top(), left.top());
            EXPECT_GT(r.left(), left.right() + 1);
        }
        if (p > 5) {
            const QRect above = w(card(p - 5))->geometry();
            EXPECT_GT(r.top(), above.bottom() + 1);
            EXPECT_LE(std::abs(r.left() - above.left()), 1);
        }
    }
    EXPECT_EQ(w(Control::Image22)->geometry(), QRect(39, 88, 90, 10));
    EXPECT_FALSE(w(Control::Image22)->isVisibleTo(form.get()));
    EXPECT_EQ(w(Control::ListView1)->geometry(), QRect(157, 160, 508, 320));
    EXPECT_EQ(w(Control::BitBtn2)->geometry(), QRect(266, 514, 75, 25));
    EXPECT_EQ(w(Control::Panel1)->geometry(), QRect(24, 26, 105, 25));
    EXPECT_EQ(w(Control::Label10)->pos(), QPoint(21, 3));
    // The panel and the animations lie above the cards.
    QWidget* gamePage = form->notebook()->widget(1);
    const QObjectList& kids = gamePage->children();
    EXPECT_GT(kids.indexOf(w(Control::Panel1)), kids.indexOf(w(Control::GIFAnimator1)));
    EXPECT_GT(kids.indexOf(w(Control::GIFAnimator1)), kids.indexOf(w(card(20))));
}

TEST_F(Window, AutoSizedLabelsKeepTheirAlignedEdge)
{
    const int right = w(Control::Label3)->geometry().right();
    form->SetLabelText(Control::Label3, "10");
    EXPECT_EQ(w(Control::Label3)->geometry().right(), right);
    EXPECT_EQ(right + 1, 768);
    const int left = w(Control::Label4)->x();
    const int narrow = w(Control::Label4)->width();
    form->SetLabelText(Control::Label4, "1000");
    EXPECT_EQ(w(Control::Label4)->x(), left);
    EXPECT_GT(w(Control::Label4)->width(), narrow);
}

TEST_F(Window, TimersKeepTheirIntervalWhenSwitchedOnAgain)
{
    QTimer* t1 = form->timer(Control::Timer1);
    EXPECT_EQ(t1->interval(), 7000);
    EXPECT_EQ(form->timer(Control::Timer2)->interval(), 15);
    EXPECT_FALSE(t1->isActive());
    form->SetTimerEnabled(Control::Timer1, true);
    QTest::qWait(120);
    const int remaining = t1->remainingTime();
    form->SetTimerEnabled(Control::Timer1, true);
    EXPECT_LE(t1->remainingTime(), remaining);
    EXPECT_LT(t1->remainingTime(), 6900);
    form->SetTimerEnabled(Control::Timer1, false);
    EXPECT_FALSE(t1->isActive());
}

TEST_F(Window, AFailingHandlerIsReportedAndTheProgramGoesOn)
{
    // hits.dat replaced by a folder: the results button fails, the page stays.
    form->gameLogic().hitsFile().Close();
    QFile::remove("hits.dat");
    QDir().mkdir("hits.dat");
    click(Control::BitBtn4);
    EXPECT_EQ(errors, QStringList({ "File access denied." }));
    EXPECT_EQ(page(), 0);
    w(Control::Edit4)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    EXPECT_EQ(page(), 1);
}

TEST_F(Window, ShutterGrowsInSixStepsOverTheCard)
{
    startGame();
    QStringList heights;
    QList<QImage> strips;
    atPause = [&] {
        if (w(Control::Image22)->isVisible()) {
            heights << QString::number(w(Control::Image22)->height());
            strips << w(Control::Image22)->grab().toImage();
        }
    };
    int b = 2;
    while (state().CardValue[b] == state().CardValue[1])
        ++b;
    click(card(1));
    click(card(b));
    // Each pause sees the strip as the previous step left it: 10 … 60, then 70 at the end.
    EXPECT_EQ(heights,
        QStringList({ "10", "20", "30", "40", "50", "60", "10", "20", "30", "40", "50", "60" }));
    EXPECT_EQ(pauses.first(), "600");
    EXPECT_EQ(pauses.count("60"), 12);
    EXPECT_FALSE(w(Control::Image22)->isVisible());
    EXPECT_EQ(w(Control::Image22)->height(), 70);
    // The strip shows the top rows of the card back.
    const QImage back = static_cast<TImage*>(w(Control::Image22))->picture();
    ASSERT_EQ(strips.size(), 12);
    EXPECT_EQ(strips[3].size(), QSize(90, 40));
    for (int y : { 0, 20, 39 })
        EXPECT_EQ(strips[3].pixel(45, y), back.pixel(45, y));
    // Both cards show the back again, enabled.
    for (int p : { 1, b }) {
        EXPECT_EQ(static_cast<TImage*>(w(card(p)))->picture(), back);
        EXPECT_TRUE(w(card(p))->isEnabled());
    }
}

TEST_F(Window, AFaceDrawnOverTheBackIsTheFaceButForTheBacksBottomLeftPixel)
{
    // Through the window's own drawing: every face over the back the deal left on a card.
    const art::CardPictures cards = art::cardPictures();
    auto* image = static_cast<TImage*>(w(card(5)));
    const QImage back = image->picture();
    ASSERT_EQ(back, cards.images[0]);
    for (int face = 1; face <= 10; ++face) {
        SCOPED_TRACE(face);
        form->SetCardPicture(card(5), 0);
        form->SetCardPicture(card(5), face);
        QImage expected = cards.images[face];
        expected.setPixel(0, 79, back.pixel(0, 79));
        EXPECT_EQ(image->picture(), expected);
        EXPECT_LT(qGray(image->picture().pixel(0, 79)), 40);
    }
    // Invalid indexes leave the card alone.
    const QImage face = image->picture();
    form->SetCardPicture(card(5), 11);
    form->SetCardPicture(card(5), -1);
    EXPECT_EQ(image->picture(), face);
}

TEST_F(Window, EachPageShowsItsOwnBackgroundUnscaled)
{
    const struct
    {
        int page;
        art::Background picture;
    } pages[] = { { 0, art::Background::Start }, { 1, art::Background::Game },
        { 2, art::Background::Hits } };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        form->notebook()->setCurrentIndex(p.page);
        const QImage shot = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage picture = art::background(p.picture);
        // Corners and points no control covers show the picture pixel for pixel.
        for (const QPoint at : { QPoint(0, 0), QPoint(798, 0), QPoint(0, 599), QPoint(798, 599),
                 QPoint(400, 20), QPoint(100, 560) })
            EXPECT_EQ(shot.pixel(at), picture.pixel(at)) << at.x() << "," << at.y();
        // The last column is the window's own colour.
        EXPECT_EQ(shot.pixelColor(799, 300), form->palette().color(QPalette::Window));
    }
}

TEST_F(Window, ShowPageMovesTheFocusOnlyWhenItWasInsideAndNotForTheSamePage)
{
    form->ShowPage(0);
    EXPECT_EQ(QApplication::focusWidget(), w(Control::Edit4));
    form->ShowPage(2);
    EXPECT_EQ(QApplication::focusWidget(), w(Control::ListView1));
    w(Control::BitBtn3)->setFocus();
    form->ShowPage(2);
    EXPECT_EQ(QApplication::focusWidget(), w(Control::BitBtn3));
    form->ShowPage(7);
    EXPECT_EQ(page(), 2);
}

TEST_F(Window, ResultsListSortsThroughTheCompareHandler)
{
    form->AddResultRow("1:28:92", "a", "d1");
    form->AddResultRow("5:59:99", "b", "d2");
    form->AddResultRow("0:07:00", "c", "d3");
    auto* list = static_cast<QTableWidget*>(w(Control::ListView1));
    auto names = [list] {
        QString out;
        for (int r = 0; r < list->rowCount(); ++r)
            out += list->item(r, 1)->text();
        return out;
    };
    form->gameLogic().BitBtn4Click(); // refills from the empty file
    EXPECT_EQ(list->rowCount(), 0);
    form->AddResultRow("1:28:92", "a", "d1");
    form->AddResultRow("5:59:99", "b", "d2");
    form->AddResultRow("0:07:00", "c", "d3");
    QTest::mouseClick(static_cast<QTableWidget*>(list)->horizontalHeader()->viewport(),
        Qt::LeftButton, {}, QPoint(200, 5)); // "Имя"
    EXPECT_EQ(names(), "bac");
    EXPECT_EQ(list->item(0, 2)->text(), "d2");
    QTest::mouseClick(list->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(names(), "cab");
}

TEST_F(Window, ClosingInTheMiddleOfAGameWritesNoRecord)
{
    // One finished game's record is there already.
    startGame();
    form->gameLogic().state().PairsLeft = 0; // every pair found
    form->gameLogic().Timer1Timer();
    const QByteArray before = [] {
        QFile f(QStringLiteral("hits.dat"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_EQ(before.size(), 83);
    // A new game with a pair found and a card open, then the close box.
    form->gameLogic().BitBtn2Click();
    startGame();
    const int a = positionOf(1), b = positionOf(1, 1);
    click(card(a));
    click(card(b));
    clickAt(QPoint(400, 300)); // on the celebration: it ends
    const int third = a != 1 && b != 1 ? 1 : a != 2 && b != 2 ? 2 : 3;
    click(card(third));
    ASSERT_TRUE(state().CardOpen);
    EXPECT_EQ(state().PairsFound, 1);
    EXPECT_TRUE(form->close());
    QFile f(QStringLiteral("hits.dat"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(Window, ClosingTwiceQuitsEvenWhenTheResultsFileNeverOpened)
{
    form->gameLogic().hitsFile().Close();
    EXPECT_FALSE(form->close());
    EXPECT_EQ(errors, QStringList({ "I/O error 103." }));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->close());
}

TEST_F(Window, ACelebrationResumesWhereTheLastOneOfItsPictureStopped)
{
    startGame();
    auto* animation = static_cast<animator::TGIFAnimator*>(w(Control::GIFAnimator1));
    state().OpenValue = 1;
    form->StartCelebration(1);
    EXPECT_TRUE(animation->isVisible());
    EXPECT_EQ(animation->geometry(), QRect(150, 94, 518, 389));
    EXPECT_TRUE(form->timer(Control::Timer1)->isActive());
    QTest::qWait(400); // frames of 80 ms
    clickAt(QPoint(400, 300)); // a click on the animation ends the celebration
    EXPECT_FALSE(animation->isVisible());
    EXPECT_FALSE(animation->Animate());
    EXPECT_FALSE(form->timer(Control::Timer1)->isActive());
    EXPECT_TRUE(form->timer(Control::Timer2)->isActive());
    const int stoppedAt = animation->FrameIndex();
    EXPECT_GT(stoppedAt, 0);
    form->StartCelebration(1);
    EXPECT_EQ(animation->FrameIndex(), stoppedAt);
}

TEST(PictureDensity, AnyScreenDenserThanTheDesignsGetsTheSetOfTwiceTheResolution)
{
    EXPECT_EQ(art::DensityFor(1.0), art::Density::Normal);
    EXPECT_EQ(art::DensityFor(0.75), art::Density::Normal);
    for (const qreal ratio : { 1.25, 1.5, 2.0, 3.0 })
        EXPECT_EQ(art::DensityFor(ratio), art::Density::Double) << ratio;
}

// Start-up: the window is built with the start page's pictures only; every other picture is
// loaded when it is first needed, before it can show.
class WindowStart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir::setCurrent(dir.path());
        base::SetErrorBox([this](const QString& text) { errors << text; });
        form = std::make_unique<TForm1>(nullptr, [](std::chrono::milliseconds) {});
    }
    void TearDown() override
    {
        form.reset();
        base::SetErrorBox(nullptr);
        QDir::setCurrent(oldDir);
    }
    const QImage& picture(game::Control c) const
    {
        return static_cast<TImage*>(form->control(c))->picture();
    }
    animator::TGIFAnimator* animation(int n) const
    {
        return static_cast<animator::TGIFAnimator*>(form->control(game::AnimatorFor(n)));
    }
    // The game page's background and the backs the deal drew on every card.
    bool gamePageReady() const
    {
        if (picture(game::Control::Image17).isNull())
            return false;
        for (int p = 1; p <= 20; ++p) {
            if (picture(game::CardAtPosition(p)) != back)
                return false;
        }
        return true;
    }

    QTemporaryDir dir;
    QString oldDir = QDir::currentPath();
    QStringList errors;
    const QImage back = art::cardPictures().images[0];
    std::unique_ptr<TForm1> form;
};

TEST_F(WindowStart, OnlyTheShownPagesPicturesAreLoaded)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(100);
    EXPECT_FALSE(picture(game::Control::Image23).isNull());
    EXPECT_TRUE(picture(game::Control::Image24).isNull());
    EXPECT_FALSE(gamePageReady());
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(animation(n)->Image().Count(), 0) << n;

    // The results page: its background is the start page's own picture, not a second copy.
    form->gameLogic().BitBtn4Click();
    ASSERT_EQ(form->notebook()->currentIndex(), 2);
    EXPECT_EQ(
        picture(game::Control::Image24).constBits(), picture(game::Control::Image23).constBits());
    EXPECT_FALSE(gamePageReady());

    // A game: the game page is complete when it shows; each celebration's picture comes when
    // it first plays.
    form->gameLogic().BitBtn2Click();
    form->gameLogic().BitBtn1Click();
    EXPECT_TRUE(gamePageReady());
    EXPECT_EQ(animation(3)->Image().Count(), 0);
    form->StartCelebration(3);
    EXPECT_GT(animation(3)->Image().Count(), 1);
    EXPECT_TRUE(animation(3)->isVisible());
    EXPECT_EQ(animation(3)->size(), QSize(518, 389));
    EXPECT_EQ(animation(4)->Image().Count(), 0);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(WindowStart, AGameStartedAtOnceNeverShowsHalfPreparedPictures)
{
    form->show();
    // "Старт" before the event loop has run even once.
    form->gameLogic().BitBtn1Click();
    ASSERT_EQ(form->notebook()->currentIndex(), 1);
    EXPECT_TRUE(gamePageReady());
    const QImage shot = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect first = form->control(game::CardAtPosition(1))->geometry();
    EXPECT_EQ(shot.copy(first), back);
    EXPECT_EQ(shot.pixel(400, 20), art::background(art::Background::Game).pixel(400, 20));
    // GIFAnimator6's picture, read when it first plays, reports no change that would end it.
    form->gameLogic().state().OpenValue = 6;
    form->StartCelebration(6);
    EXPECT_TRUE(animation(6)->isVisible());
    EXPECT_TRUE(form->timer(game::Control::Timer1)->isActive());
    EXPECT_TRUE(errors.isEmpty());
}

// Every frame of every celebration, as the game shows it, against an independent decoder's
// picture.
TEST(Celebrations, EveryFrameShowsWhatAnIndependentDecoderComposes)
{
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE(n);
        const QByteArray data = art::animationData(n);
        OracleFrames expected(data.mid(4));
        animator::TGIFAnimator animation;
        animation.SetTransparent(false);
        animation.Image().ReadFormData(data);
        ASSERT_EQ(animation.Image().Count(), expected.count());
        for (int k = 0; k < expected.count(); ++k) {
            const QImage& picture = expected.next();
            if (k > 0)
                animation.SetFrameIndex(k);
            EXPECT_EQ(animation.grab().toImage().convertToFormat(QImage::Format_RGB32), picture)
                << "frame " << k;
        }
    }
}
