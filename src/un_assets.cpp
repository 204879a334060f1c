// The built-in pictures, loaded into their controls behind one guard: a damaged picture is
// reported like any other failure and its control goes without it.
#include "un_main.h"

#include "animator/gif_animator.h"
#include "art/artwork.h"
#include "base/error_report.h"
#include "un_controls.h"

using game::Control;

void TForm1::loadAssets()
{
    const auto guarded = [this](auto&& load) { base::RunReported(this, load); };
    guarded([this] { setWindowIcon(art::icon()); });
    guarded([this] {
        art::CardPictures cards = art::cardPictures();
        m_cardImages = std::move(cards.images);
        m_cardMasks = std::move(cards.masks);
    });
    const struct
    {
        Control image;
        art::Background picture;
    } backgrounds[] = { { Control::Image23, art::Background::Start },
        { Control::Image17, art::Background::Game }, { Control::Image24, art::Background::Hits } };
    for (const auto& b : backgrounds) {
        guarded([&] {
            static_cast<TImage*>(control(b.image))->setPicture(art::background(b.picture));
        });
    }
    for (int n = 1; n <= 4; ++n) {
        // Glyph n belongs to BitBtn<n>.
        const auto c = static_cast<Control>(static_cast<int>(Control::BitBtn1) + n - 1);
        guarded([&] { button(c)->setGlyph(art::glyph(n)); });
    }
    for (int n = 1; n <= game::kPictureCount; ++n) {
        auto* animator = static_cast<animator::TGIFAnimator*>(control(game::AnimatorFor(n)));
        guarded([&] { animator->Image().ReadFormData(art::animationData(n)); });
    }
}
