#pragma once
// Windows icon files (.ico) with palettised or 32-bit images and a 1-bit AND mask.

#include <QByteArray>
#include <QImage>

namespace art {

// The first image of the icon file as Format_ARGB32: pixels whose mask bit is set are fully
// transparent, all others opaque. Throws ArtError for anything that is not a well-formed icon.
QImage readIcon(const QByteArray& file);

} // namespace art
