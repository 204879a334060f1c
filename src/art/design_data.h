#pragma once
// The window design's stored picture properties, built from the plain asset files that are
// compiled into the program (tools/artgen writes them; the resource file lists them).

#include "art/artwork.h"

#include <QByteArray>
#include <string>

namespace art {

// `property` is one of "Image23.Picture.Data", "Image17.Picture.Data", "Image24.Picture.Data",
// "ImageList1.Bitmap", "GIFAnimator<N>.Image.Data" (N = 1..10), "BitBtn<N>.Glyph.Data"
// (N = 1..4), "Form1.Icon.Data". Density::Double gives the same property drawn for
// high-density screens (the file "name@2x.ext"); the icon has none. Throws ArtError for an
// unknown property, a density it does not come in, or a missing asset.
QByteArray designProperty(const std::string& property, Density density = Density::Normal);

// The name errors give a property at a density: "Image17.Picture.Data", "Image17.Picture.Data@2x".
std::string propertyName(const std::string& property, Density density);

} // namespace art
