// The main window at the device pixel ratio CTest runs this program with: the pictures of the
// set that suits the screen, and the same logical layout, input and effects as at 1.
#include "animator/gif_animator.h"
#include "art/artwork.h"
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

} // namespace
