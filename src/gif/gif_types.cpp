#include "gif/gif_types.h"

#include <cstdio>

namespace gif {

bool TolerateDamage = true;

int ColorCountToBits(int count)
{
    for (int bits = 1; bits <= 8; ++bits) {
        if (count == 1 << bits)
            return bits;
    }
    throw EInvalidGraphicOperation(SWrongColorCount);
}

std::string UnknownExtensionMessage(std::uint8_t label)
{
    char text[48];
    std::snprintf(text, sizeof text, "Unrecognized extension block: %.2X", unsigned(label));
    return text;
}

} // namespace gif
