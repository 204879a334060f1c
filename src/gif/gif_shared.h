#pragma once
// Reference-counted data shared between copies of one picture (TGIFData) and between frames
// copied from one another (TGIFItem). Counting is plain (single thread): the last Release frees
// the object's handle data and then deletes it. There is no copy-on-write.

#include "gif/gif_types.h"

#include <QByteArrayList>

#include <cstdint>
#include <optional>
#include <vector>

namespace gif {

class TSharedImage
{
public:
    TSharedImage() = default;
    TSharedImage(const TSharedImage&) = delete;
    TSharedImage& operator=(const TSharedImage&) = delete;

    void Reference() { ++m_refCount; }
    // Drops one reference; on reaching 0 calls FreeHandle and deletes the object.
    void Release();
    int RefCount() const { return m_refCount; }

protected:
    virtual ~TSharedImage() = default;
    virtual void FreeHandle() = 0;

private:
    int m_refCount = 0;
};

// Image-level data of a GIF picture.
class TGIFData final : public TSharedImage
{
public:
    QByteArrayList CommentText; // comment lines of comment blocks after the last image
    std::uint8_t AspectByte = 0;
    std::uint8_t GlobalBits = 0; // 1..8
    std::uint8_t ColorResolution = 0; // 1..8
    TGIFRGBTable GlobalColors; // Count 0 when absent

protected:
    void FreeHandle() override { CommentText.clear(); }
};

// Frame-level encoded data and colours.
class TGIFItem final : public TSharedImage
{
public:
    // LZW code size byte and the data sub-blocks as read; none for a frame built from a bitmap.
    std::optional<std::vector<std::uint8_t>> CodeStream;
    int FrameWidth = 0, FrameHeight = 0; // FrameSize
    std::uint8_t DescriptorFlags = 0;
    std::uint8_t PixelBits = 0; // bits per pixel of Colors, 1..8; 0 = no colour table
    TGIFRGBTable Colors; // the local table, or a copy of the global one

protected:
    void FreeHandle() override
    {
        if (CodeStream)
            CodeStream->clear();
    }
};

// Holds one reference for its lifetime (the way a picture or frame holds its shared data).
template <class T> class SharedRef
{
public:
    SharedRef() = default;
    explicit SharedRef(T* p)
        : m_p(p)
    {
        if (m_p)
            m_p->Reference();
    }
    SharedRef(const SharedRef& other)
        : SharedRef(other.m_p)
    { }
    SharedRef& operator=(SharedRef other)
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~SharedRef()
    {
        if (m_p)
            m_p->Release();
    }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

} // namespace gif
