// Skin images: PNG files carried in the program's resources, decoded by GDI+, and the ways they are drawn.
#include "skin/Skin.h"

#include <shlwapi.h>

#include "win/Com.h"
#include "win/Resource.h"

int LoadPngResource(UINT id, Gdiplus::Image** out) {
    std::string_view bytes = GetResourceBytes(nullptr, L"PNG", id);
    if (bytes.empty()) return 0;
    // GDI+ may decode from the stream whenever the image is drawn, so it gets a copy of its own, which goes
    // with the stream when GDI+ lets go of it together with the image.
    ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
    if (!stream) return 0;

    // A resource that is no image gives no image object at all, so that the window skips it like a missing one.
    SkinImage image(new Gdiplus::Image(stream.Get()));
    if (!image || image->GetLastStatus() != Gdiplus::Ok) return 0;
    *out = image.release();
    return 1;
}

SkinImage LoadSkinImage(UINT id) {
    Gdiplus::Image* image = nullptr;
    LoadPngResource(id, &image);
    return SkinImage(image);
}

void DrawImageFit(Gdiplus::Image* image, Gdiplus::Graphics& g, int left, int top, int right, int bottom) {
    if (!image) return;
    INT width = static_cast<INT>(image->GetWidth());
    INT height = static_cast<INT>(image->GetHeight());
    g.DrawImage(image, Gdiplus::Rect(left, top, right - left, bottom - top), 0, 0, width, height, Gdiplus::UnitPixel);
}

void DrawImageRegion(Gdiplus::Graphics& g, Gdiplus::Image* image, const Gdiplus::Rect& dest, const Gdiplus::Rect& src) {
    if (!image) return;
    g.DrawImage(image, dest, src.X, src.Y, src.Width, src.Height, Gdiplus::UnitPixel);
}

void DrawImageRegion(Gdiplus::Graphics& g,
                     Gdiplus::Image* image,
                     const Gdiplus::RectF& dest,
                     const Gdiplus::RectF& src) {
    if (!image) return;
    g.DrawImage(image, dest, src.X, src.Y, src.Width, src.Height, Gdiplus::UnitPixel);
}

void DrawSpriteFrame(Gdiplus::Graphics& g, Gdiplus::Image* image, const RECT& rc, int frame, SpriteLayout layout) {
    INT width = rc.right - rc.left;
    INT height = rc.bottom - rc.top;
    Gdiplus::Rect src(0, 0, width, height);
    if (layout == SpriteLayout::Vertical)
        src.Y = frame * height;
    else
        src.X = frame * width;
    DrawImageRegion(g, image, Gdiplus::Rect(rc.left, rc.top, width, height), src);
}
