#include "gif/gif_extension.h"

namespace gif {

void TExtension::Assign(const TExtension& source)
{
    Kind = source.Kind;
    Header = source.Header;
    if (source.SubBlocks)
        SubBlocks = *source.SubBlocks;
    else if (SubBlocks)
        SubBlocks->clear(); // the list stays, emptied
}

} // namespace gif
