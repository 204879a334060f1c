#pragma once
// The window design's stored picture properties, built from the plain asset files that are
// compiled into the program (tools/artgen writes them; the resource file lists them).

#include <QByteArray>
#include <string>

namespace art {

// `property` is one of "Image23.Picture.Data", "Image17.Picture.Data", "Image24.Picture.Data",
// "ImageList1.Bitmap", "GIFAnimator<N>.Image.Data" (N = 1..10), "BitBtn<N>.Glyph.Data"
// (N = 1..4), "Form1.Icon.Data". Throws ArtError for an unknown property or a missing asset.
QByteArray designProperty(const std::string& property);

} // namespace art
