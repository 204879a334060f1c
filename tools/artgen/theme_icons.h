#pragma once
// The window icon's picture, a yellow hard hat over a spanner, for the desktop's icon theme.
// Each size is drawn for itself rather than scaled from another: the small ones on the pixel
// grid in the sixteen colours, the large ones smooth with outlines of their own weight.

#include <QImage>
#include <vector>

namespace artgen {

// The sizes of the icon theme's folders (hicolor/NxN/apps).
const std::vector<int>& themeIconSizes();

// A size x size picture, alpha 0 around it (premultiplied but for size 32, the window icon
// itself).
QImage renderThemeIcon(int size);

} // namespace artgen
