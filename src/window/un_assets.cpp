#include "un_assets.h"

#include "animator/gif_animator.h"
#include "base/error_report.h"
#include "game/card_grid.h"
#include "un_controls.h"
#include "un_design.h"

#include <QApplication>

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

TAssets::TAssets(QWidget* window, TFormControls& controls)
    : m_window(window)
    , m_controls(controls)
{
    // The application's icon, which the window and its message boxes show.
    guarded([] { QApplication::setWindowIcon(art::icon()); });
    loadBackground(Control::Image23, art::Background::Start);
    loadGlyph(1);
    loadGlyph(4);
}

art::Density TAssets::density() const
{
    return art::DensityFor(m_window->devicePixelRatio());
}

void TAssets::guarded(const std::function<void()>& load)
{
    base::RunReported(m_window, load);
}

void TAssets::loadBackground(Control image, art::Background picture)
{
    guarded([&] {
        m_controls.image(image)->setPicture(
            atDensity(art::background(picture, density()), density()));
    });
}

void TAssets::loadGlyph(int n)
{
    guarded([&] {
        m_controls.button(buttonFor(n))->setGlyph(atDensity(art::glyph(n, density()), density()));
    });
}

void TAssets::preparePage(game::Page page)
{
    if (page == game::Page::Hits && !m_hitsPageLoaded) {
        m_hitsPageLoaded = true;
        loadBackground(Control::Image24, art::Background::Hits);
        loadGlyph(2);
        loadGlyph(3);
    }
    if (page == game::Page::Game && !m_cardsReady) {
        loadBackground(Control::Image17, art::Background::Game);
        guarded([this] {
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
            drawCard(card, index);
    }
}

void TAssets::drawCard(Control card, int index)
{
    TImage* image = m_controls.image(card);
    if (!image)
        return;
    if (!m_cardsReady) {
        m_pendingCardDraws.emplace_back(card, index);
        return;
    }
    if (index >= static_cast<int>(m_cardImages.size()))
        return; // the card pictures are damaged: nothing to draw
    image->resizePicture(
        game::kCardWidth, game::kCardHeight, qRound(m_cardImages[index].devicePixelRatio()));
    image->drawMasked(m_cardImages[index], m_cardMasks[index]);
}

void TAssets::loadAnimation(int picture)
{
    if (picture < 1 || picture > game::kPictureCount || m_animationLoaded[picture - 1])
        return;
    m_animationLoaded[picture - 1] = true;
    auto* animator = m_controls.animator(game::AnimatorFor(picture));
    guarded([&] {
        animator->Image().SetDevicePixelRatio(static_cast<int>(density()));
        animator->Image().ReadFormData(art::animationData(picture, density()));
    });
    if (game::AnimatorFor(picture) == kEndsCelebrationOnChange)
        animator->SetOnChange([this](QObject*) {
            if (m_onChange)
                m_onChange();
        });
}

void TAssets::loadAll()
{
    preparePage(game::Page::Hits);
    preparePage(game::Page::Game);
    for (int n = 1; n <= game::kPictureCount; ++n)
        loadAnimation(n);
}
