// The built-in pictures, loaded into their controls behind one guard: a damaged picture is
// reported like any other failure and its control goes without it.
//
// Each picture is loaded when it is first needed, so the window appears at once and holds only
// what has been shown: the start page's while the window is built, the results page's and the
// game page's when that page is first shown (before it shows, so no page ever shows
// half-prepared), and each celebration's when it first plays. Card faces asked for before the
// card pictures are there (the first deal) are drawn, in order, as soon as they are. The labels
// of a page are sized to their text (which loads their fonts) when it first shows, too.
#include "un_main.h"

#include "animator/gif_animator.h"
#include "art/artwork.h"
#include "base/error_report.h"
#include "un_controls.h"

#include <QApplication>
#include <QStackedWidget>

using game::Control;

namespace {

// The one animation whose change of picture also ends a celebration (GIFAnimator6's OnChange is
// Timer1Timer in the design).
constexpr Control kEndsCelebrationOnChange = Control::GIFAnimator6;

// Glyph n belongs to BitBtn<n>.
Control buttonFor(int n)
{
    return static_cast<Control>(game::ControlIndex(Control::BitBtn1) + n - 1);
}

// A picture of the given set, told how many of its pixels make one of the layout's.
QImage atDensity(QImage picture, art::Density density)
{
    picture.setDevicePixelRatio(static_cast<int>(density));
    return picture;
}

} // namespace

art::Density TForm1::density() const
{
    return art::DensityFor(devicePixelRatio());
}

void TForm1::loadGuarded(const std::function<void()>& load)
{
    base::RunReported(this, load);
}

void TForm1::loadBackground(Control image, art::Background picture)
{
    loadGuarded([&] {
        static_cast<TImage*>(control(image))
            ->setPicture(atDensity(art::background(picture, density()), density()));
    });
}

void TForm1::loadGlyph(int n)
{
    loadGuarded(
        [&] { button(buttonFor(n))->setGlyph(atDensity(art::glyph(n, density()), density())); });
}

void TForm1::loadAssets()
{
    // The application's icon, which the window and its message boxes show.
    loadGuarded([] { QApplication::setWindowIcon(art::icon()); });
    loadBackground(Control::Image23, art::Background::Start);
    loadGlyph(1);
    loadGlyph(4);
}

void TForm1::loadPageAssets(int page)
{
    // Labels sized to their text, on the page about to show.
    std::erase_if(m_labelsToFit, [this, page](Control label) {
        QWidget* widget = control(label);
        const bool onPage = m_notebook->widget(page)->isAncestorOf(widget);
        if (onPage)
            static_cast<TLabel*>(widget)->fitToText();
        return onPage;
    });
    if (page == static_cast<int>(game::Page::Hits) && !m_hitsPageLoaded) {
        m_hitsPageLoaded = true;
        loadBackground(Control::Image24, art::Background::Hits);
        loadGlyph(2);
        loadGlyph(3);
    }
    if (page == static_cast<int>(game::Page::Game) && !m_cardsReady) {
        loadBackground(Control::Image17, art::Background::Game);
        loadGuarded([this] {
            art::CardPictures cards = art::cardPictures(density());
            for (QImage& picture : cards.images)
                picture = atDensity(std::move(picture), density());
            for (QImage& mask : cards.masks)
                mask = atDensity(std::move(mask), density());
            m_cardImages = std::move(cards.images);
            m_cardMasks = std::move(cards.masks);
        });
        // Loaded or not, the faces asked for meanwhile are drawn now (or, without pictures, not).
        m_cardsReady = true;
        for (const auto& [card, index] : std::exchange(m_pendingCardDraws, {}))
            SetCardPicture(card, index);
    }
}

void TForm1::loadAnimation(int picture)
{
    if (picture < 1 || picture > game::kPictureCount || m_animationLoaded[picture - 1])
        return;
    m_animationLoaded[picture - 1] = true;
    auto* animator = static_cast<animator::TGIFAnimator*>(control(game::AnimatorFor(picture)));
    loadGuarded([&] {
        animator->Image().SetDevicePixelRatio(static_cast<int>(density()));
        animator->Image().ReadFormData(art::animationData(picture, density()));
    });
    // The design gives one animation a change handler as well: the celebration's end, like its
    // click. Attached after the picture was read, it never reports a change in play.
    if (game::AnimatorFor(picture) == kEndsCelebrationOnChange)
        animator->SetOnChange([this](QObject*) { m_celebrationEnd(); });
}

void TForm1::finishLoading()
{
    loadPageAssets(static_cast<int>(game::Page::Hits));
    loadPageAssets(static_cast<int>(game::Page::Game));
    for (int n = 1; n <= game::kPictureCount; ++n)
        loadAnimation(n);
}
