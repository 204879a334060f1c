#include "gif/gif_shared.h"

namespace gif {

void TSharedImage::Release()
{
    if (--m_refCount == 0) {
        FreeHandle();
        delete this;
    }
}

} // namespace gif
