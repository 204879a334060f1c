#pragma once
// The one palette every picture is drawn from. Flat fills use these colours only; the
// animations' colour table carries them exactly, so the GIFs show them unchanged.

#include <QColor>
#include <vector>

namespace artgen::pal {

constexpr QRgb sky = 0xFF7EC0EE;
constexpr QRgb skyHigh = 0xFF5FA8E6;
constexpr QRgb cloud = 0xFFFFFFFF;
constexpr QRgb farCity = 0xFF9DB8D2;
constexpr QRgb nearCity = 0xFF7F9DBC;
constexpr QRgb crane = 0xFFF0A830;
constexpr QRgb facade = 0xFFF2E4C4;
constexpr QRgb facadeLine = 0xFFD8C29A;
constexpr QRgb roof = 0xFF8C1E1E;
constexpr QRgb roofDark = 0xFF641414;
constexpr QRgb signBoard = 0xFF1E3270;
constexpr QRgb signText = 0xFFFFD23C;
constexpr QRgb frame = 0xFFECECE4;
constexpr QRgb frameShade = 0xFFBEBEB2;
constexpr QRgb nearBlack = 0xFF18181C;
constexpr QRgb shutter = 0xFF969CA2;
constexpr QRgb shutterDark = 0xFF767C82;
constexpr QRgb shutterLight = 0xFFB4BAC0;
constexpr QRgb leaf = 0xFF46963C;
constexpr QRgb leafDark = 0xFF2D6E2D;
constexpr QRgb trunk = 0xFF6E4B2D;
constexpr QRgb asphalt = 0xFF50545A;
constexpr QRgb pavement = 0xFFB4B4B0;
constexpr QRgb metal = 0xFF3C4046;
constexpr QRgb lampLight = 0xFFFFEC96;
constexpr QRgb vanRed = 0xFFD23C3C;
constexpr QRgb wallBlue = 0xFFC8DCEB;
constexpr QRgb wallPink = 0xFFF0B4C8;
constexpr QRgb wallBeige = 0xFFEBD7B4;
constexpr QRgb wallGreen = 0xFFC8E1BE;
constexpr QRgb floorWood = 0xFFA07850;
constexpr QRgb wood = 0xFF96643C;
constexpr QRgb woodDark = 0xFF6E4628;
constexpr QRgb paper = 0xFFFAFAF5;
constexpr QRgb paperShade = 0xFFDCDCD2;
constexpr QRgb skin = 0xFFF6CDAA;
constexpr QRgb skinShade = 0xFFE1AF8C;
constexpr QRgb hairBrown = 0xFF643C1E;
constexpr QRgb hairBlond = 0xFFE6BE5A;
constexpr QRgb hairBlack = 0xFF282323;
constexpr QRgb hairGrey = 0xFFAAAAAA;
constexpr QRgb suit = 0xFF323C50;
constexpr QRgb suitGrey = 0xFF6E737D;
constexpr QRgb shirtBlue = 0xFF5082C8;
constexpr QRgb dressRed = 0xFFC83C46;
constexpr QRgb shirtGreen = 0xFF3CA05A;
constexpr QRgb purple = 0xFF8C50AA;
constexpr QRgb orange = 0xFFF08C28;
constexpr QRgb phoneRed = 0xFFDC3232;
constexpr QRgb money = 0xFF78BE6E;
constexpr QRgb moneyDark = 0xFF4B8C46;
constexpr QRgb screen = 0xFF3C8CD2;
constexpr QRgb gold = 0xFFF0C83C;

// The colours above that the GIF table carries beyond its colour cube (at most 39).
inline const std::vector<QRgb>& artColoursList()
{
    static const std::vector<QRgb> list = { sky, skyHigh, facade, facadeLine, frame, frameShade,
        nearBlack, shutter, shutterDark, shutterLight, leaf, leafDark, trunk, wallBlue, wallPink,
        wallBeige, wallGreen, floorWood, wood, woodDark, paper, paperShade, skin, skinShade,
        hairBrown, hairBlond, hairBlack, suit, suitGrey, shirtBlue, dressRed, shirtGreen, purple,
        orange, phoneRed, money, moneyDark, screen, gold };
    return list;
}

} // namespace artgen::pal

namespace artgen {
inline const std::vector<QRgb>& artColours()
{
    return pal::artColoursList();
}
} // namespace artgen

// The window's classic colours, which the small pictures and the icons are drawn in.
namespace artgen::classic {

inline const QColor black(0, 0, 0), maroon(128, 0, 0), green(0, 128, 0), olive(128, 128, 0),
    navy(0, 0, 128), grey(128, 128, 128), silver(192, 192, 192), red(255, 0, 0), lime(0, 255, 0),
    yellow(255, 255, 0), blue(0, 0, 255), white(255, 255, 255);

} // namespace artgen::classic
