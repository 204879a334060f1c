// The built-in pictures, loaded into their controls behind one guard: a damaged picture is
// reported like any other failure and its control goes without it.
//
// While the window is built only what the start page shows is loaded (its background, its two
// glyphs, the icon). Everything else is prepared after the window's first paint, one picture per
// turn of the event loop, so the window appears at once and input is never held up for long;
// and it is certainly complete before any other page shows, because ShowPage finishes what is
// left first. Card faces asked for meanwhile (the first deal) are drawn, in order, as soon as the
// card pictures are there.
#include "un_main.h"

#include "animator/gif_animator.h"
#include "art/artwork.h"
#include "base/error_report.h"
#include "un_controls.h"

#include <QTimer>

using game::Control;

namespace {

// Glyph n belongs to BitBtn<n>.
Control buttonFor(int n)
{
    return static_cast<Control>(static_cast<int>(Control::BitBtn1) + n - 1);
}

} // namespace

void TForm1::loadGuarded(const std::function<void()>& load)
{
    base::RunReported(this, load);
}

void TForm1::loadAssets()
{
    loadGuarded([this] { setWindowIcon(art::icon()); });
    loadGuarded([this] {
        static_cast<TImage*>(control(Control::Image23))
            ->setPicture(art::background(art::Background::Start));
    });
    for (int n : { 1, 4 })
        loadGuarded([this, n] { button(buttonFor(n))->setGlyph(art::glyph(n)); });

    // The rest, in the order a player can reach it: the results page, then the game page.
    m_deferredAssets.push_back([this] {
        static_cast<TImage*>(control(Control::Image24))
            ->setPicture(art::background(art::Background::Hits));
    });
    for (int n : { 2, 3 })
        m_deferredAssets.push_back([this, n] { button(buttonFor(n))->setGlyph(art::glyph(n)); });
    m_deferredAssets.push_back([this] {
        static_cast<TImage*>(control(Control::Image17))
            ->setPicture(art::background(art::Background::Game));
    });
    m_deferredAssets.push_back([this] {
        loadGuarded([this] {
            art::CardPictures cards = art::cardPictures();
            m_cardImages = std::move(cards.images);
            m_cardMasks = std::move(cards.masks);
        });
        // Loaded or not, the faces asked for meanwhile are drawn now (or, without pictures, not).
        m_cardsReady = true;
        for (const auto& [card, index] : std::exchange(m_pendingCardDraws, {}))
            SetCardPicture(card, index);
    });
    for (int n = 1; n <= game::kPictureCount; ++n) {
        m_deferredAssets.push_back([this, n] {
            auto* animator = static_cast<animator::TGIFAnimator*>(control(game::AnimatorFor(n)));
            loadGuarded([&] { animator->Image().ReadFormData(art::animationData(n)); });
            // Attached after the picture was read, so it never reports a change in play.
            if (n == 6)
                animator->SetOnChange([this](QObject*) { m_celebrationEnd(); });
        });
    }
}

void TForm1::startDeferredLoading()
{
    if (m_deferredLoadingStarted)
        return;
    m_deferredLoadingStarted = true;
    QTimer::singleShot(0, this, &TForm1::loadNextDeferredAsset);
}

bool TForm1::loadNextDeferredAsset()
{
    if (m_deferredAssets.empty())
        return false;
    const std::function<void()> load = std::move(m_deferredAssets.front());
    m_deferredAssets.pop_front();
    loadGuarded(load);
    if (!m_deferredAssets.empty())
        QTimer::singleShot(0, this, &TForm1::loadNextDeferredAsset);
    return true;
}

void TForm1::finishLoading()
{
    while (loadNextDeferredAsset()) { }
}
