#pragma once
// The built-in pictures in their controls: the backgrounds, the buttons' glyphs, the card faces
// drawn onto the cards, the animations. Each is loaded when it is first needed, so the window
// appears at once and holds only what has been shown: the start page's while the window is
// built, a page's when it first shows (before it shows, so no page ever shows half-prepared),
// each celebration's when it first plays. A damaged picture is reported like any other failure
// and its control goes without it.

#include "art/artwork.h"
#include "game/controls.h"
#include "game/view.h"

#include <QImage>

#include <array>
#include <functional>
#include <vector>

class QWidget;
class TFormControls;

class TAssets
{
public:
    // The pictures of `controls`, at the density of `window`'s screen; the start page's now.
    TAssets(QWidget* window, TFormControls& controls);

    // A page's pictures, before it first shows.
    void preparePage(game::Page page);
    // Animation `picture` (1 … 10), before it first plays.
    void loadAnimation(int picture);
    // Everything not loaded yet.
    void loadAll();
    // Draws card picture `index` (0 the back, 1 … 10 the faces) over `card`'s own picture through
    // the picture list's mask; asked before the game page's pictures are there (the first deal),
    // drawn as soon as they are.
    void drawCard(game::Control card, int index);
    // What a change of GIFAnimator6's picture does (the design gives it the celebration's end),
    // attached once its picture is read, so that it never reports the reading itself.
    void setOnAnimationChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    art::Density density() const;
    void guarded(const std::function<void()>& load);
    void loadBackground(game::Control image, art::Background picture);
    void loadGlyph(int n); // BitBtn<n>'s

    QWidget* m_window;
    TFormControls& m_controls;
    std::vector<QImage> m_cardImages;
    std::vector<QImage> m_cardMasks;
    bool m_cardsReady = false;
    bool m_hitsPageLoaded = false;
    std::array<bool, game::kPictureCount> m_animationLoaded {};
    std::vector<std::pair<game::Control, int>> m_pendingCardDraws;
    std::function<void()> m_onChange;
};
