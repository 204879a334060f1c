// The main window at the device pixel ratio CTest runs this program with: the pictures of the
// set that suits the screen, and the same logical layout, input and effects as at 1.
#include "animator/gif_animator.h"
#include "art/artwork.h"
#include "support/oracle_frames.h"
#include "window/form_fixture.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

class DenseWindow : public FormFixture
{
protected:
    qreal ratio() const { return form->devicePixelRatio(); }
    int expectedDensity() const { return ratio() > 1 ? 2 : 1; }
    const QImage& picture(Control c) const { return static_cast<TImage*>(w(c))->picture(); }
};

TEST_F(DenseWindow, EveryPictureComesFromTheSetForTheScreenAtItsLogicalSize)
{
    EXPECT_EQ(ratio(), QGuiApplication::primaryScreen()->devicePixelRatio());
    for (Control c : { Control::Image23, Control::Image17, Control::Image24 }) {
        SCOPED_TRACE(game::ControlName(c));
        EXPECT_EQ(picture(c).devicePixelRatio(), expectedDensity());
        EXPECT_EQ(picture(c).deviceIndependentSize(), QSizeF(799, 600));
    }
    // The backs the deal drew, and a face drawn over one.
    EXPECT_EQ(picture(card(1)).devicePixelRatio(), expectedDensity());
    EXPECT_EQ(picture(card(1)).deviceIndependentSize(), QSizeF(90, 80));
    form->SetCardPicture(card(1), 4);
    const QImage face = art::cardPictures(static_cast<art::Density>(expectedDensity())).images[4];
    const QImage shown = picture(card(1));
    EXPECT_EQ(shown.size(), face.size());
    // Every pixel but the bottom-left block of the back, which the face's mask keeps.
    const int keep = expectedDensity();
    for (int y = 0; y < shown.height(); y += 3) {
        for (int x = 0; x < shown.width(); x += 3) {
            if (x < keep && y >= shown.height() - keep)
                continue;
            ASSERT_EQ(shown.pixel(x, y), face.pixel(x, y)) << x << "," << y;
        }
    }
    // A celebration: its picture in the same set, at its place and logical size.
    startGame();
    state().OpenValue = 2;
    form->StartCelebration(2);
    auto* celebration = static_cast<animator::TGIFAnimator*>(w(Control::GIFAnimator2));
    EXPECT_EQ(celebration->Image().DevicePixelRatio(), expectedDensity());
    EXPECT_EQ(celebration->geometry(), QRect(150, 94, 518, 389));
}

// Each text of the running clock shows as drawing it gives, the first time and again, while a
// change of width moves its neighbours' area too.
TEST_F(DenseWindow, TheClockShowsEachTextAsDrawn)
{
    startGame();
    const auto* shown = static_cast<TLabel*>(w(Control::Label12));
    TLabel drawn(nullptr, QString(), shown->font(), Qt::white);
    drawn.setBackground(QColor(0, 0, 255));
    for (int tick = 0; tick < 150; ++tick) {
        form->gameLogic().Timer2Timer();
        drawn.setText(shown->text());
        drawn.resize(shown->size());
        ASSERT_EQ(w(Control::Panel1)->grab(shown->geometry()).toImage(), drawn.grab().toImage())
            << shown->text().toStdString();
    }
}

TEST_F(DenseWindow, LayoutInputAndTheShutterAreInLogicalPixels)
{
    EXPECT_EQ(form->size(), QSize(800, 600));
    EXPECT_EQ(w(card(1))->geometry(), QRect(161, 125, 90, 80));
    EXPECT_EQ(w(card(20))->geometry(), QRect(568, 395, 90, 80));
    startGame();
    // Hit testing: a click at a card's centre turns that card.
    click(card(7));
    EXPECT_TRUE(state().CardOpen);
    EXPECT_EQ(state().FirstCardName, "Image7");
    // The shutter's strip grows in logical steps over the card.
    QList<QRect> strips;
    atPause = [&] {
        if (w(Control::Image22)->isVisible())
            strips << w(Control::Image22)->geometry();
    };
    int other = 1;
    while (state().CardValue[other] == state().CardValue[7] || other == 7)
        ++other;
    click(card(other));
    ASSERT_EQ(strips.size(), 12);
    EXPECT_EQ(strips[0], QRect(263, 215, 90, 10));
    EXPECT_EQ(strips[5], QRect(263, 215, 90, 60));
    EXPECT_FALSE(state().CardOpen);
}

TEST_F(DenseWindow, ADenseScreenShowsTheDenseCardPixelForPixel)
{
    if (ratio() != 2.0)
        GTEST_SKIP() << "pixel for pixel only where the screen has the pictures' own density";
    startGame();
    form->SetCardPicture(card(3), 5);
    const QImage shot = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect place = w(card(3))->geometry();
    const QImage shown = shot.copy(QRect(place.topLeft() * 2, place.size() * 2));
    const QImage face = art::cardPictures(art::Density::Double).images[5];
    // The inside of the card (its frame is the same in both sets): as drawn at 2x, not doubled.
    const QRect inside(20, 20, 140, 110);
    EXPECT_EQ(shown.copy(inside), face.convertToFormat(QImage::Format_RGB32).copy(inside));
}

TEST_F(DenseWindow, TheCardFocusMarkShowsOnTheBackAFaceAndTheShutter)
{
    startGame();
    int other = 2;
    while (state().CardValue[other] == state().CardValue[1])
        ++other;
    click(card(other));
    key(Qt::Key_Right);
    // Device pixels in the mark's outer dark ring and its bright middle, on the card's left and
    // top edges.
    auto ringsAt = [&](QPoint logical) {
        const QImage shot = form->grab(QRect(w(card(1))->pos(), QSize(90, 80))).toImage();
        const auto px
            = [&](double x, double y) { return shot.pixelColor(x * ratio(), y * ratio()); };
        return px(logical.x() + 0.5, logical.y() + 0.5) == Qt::black
            && px(logical.x() + 2.5, logical.y() + 2.5) == Qt::yellow;
    };
    EXPECT_TRUE(ringsAt({ 0, 40 })); // the back
    bool onShutter = false;
    atPause = [&] {
        if (w(Control::Image22)->geometry().topLeft() == w(card(1))->pos())
            onShutter = ringsAt({ 45, 0 });
    };
    key(Qt::Key_Space);
    EXPECT_TRUE(onShutter);
    key(Qt::Key_Space);
    EXPECT_TRUE(ringsAt({ 0, 40 })); // a face
}

} // namespace

namespace {

// Steps an animation the way its timer does, so each frame is repainted only where it changed.
class SteppedAnimator : public animator::TGIFAnimator
{
public:
    using TGIFAnimator::AdvanceFrame;
    using TGIFAnimator::TGIFAnimator;
};

TEST(DenseCelebrations, EveryFrameShownIsTheWholePictureThoughOnlyChangesAreRepainted)
{
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    if (ratio != 1.0 && ratio != 2.0)
        GTEST_SKIP() << "pixel for pixel at the pictures' own densities only";
    const art::Density density = art::DensityFor(ratio);
    for (const int n : { 2, 6, 10 }) {
        SCOPED_TRACE(n);
        QWidget page;
        page.setFixedSize(600, 450);
        auto* animation = new SteppedAnimator(&page);
        animation->move(20, 30);
        animation->SetTransparent(false);
        animation->Image().SetDevicePixelRatio(static_cast<int>(density));
        const QByteArray data = art::animationData(n, density);
        animation->Image().ReadFormData(data);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        OracleFrames expected(data.mid(4));
        for (int k = 0; k < expected.count(); ++k) {
            const QImage& picture = expected.next();
            if (k > 0)
                animation->AdvanceFrame();
            ASSERT_EQ(animation->FrameIndex(), k);
            // What the screen shows: the off-screen image the repaints (of the changed part
            // only) have left, in the screen's pixels.
            QImage screen = animation->OffscreenImage();
            screen.setDevicePixelRatio(1);
            ASSERT_EQ(screen.size(), picture.size());
            ASSERT_EQ(screen, picture) << "frame " << k;
        }
    }
}

} // namespace
