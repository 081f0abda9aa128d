// The skin toolkit: images from the program's "PNG" resources, sprites, the few drawing operations of the
// custom-drawn windows, their fonts, and the two ways of putting a frame on the screen (double-buffered painting
// and the per-pixel-alpha presentation of a layered window). GDI+ must have been started by the caller.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <functional>
#include <memory>

#include "win/Handle.h"

// Owners of the skin's GDI+ objects: a window keeps them as members, null until loaded.
using SkinImage = std::unique_ptr<Gdiplus::Image>;
using SkinFontFamily = std::unique_ptr<Gdiplus::FontFamily>;
using SkinFont = std::unique_ptr<Gdiplus::Font>;

// Images.

// Creates an image from the "PNG" resource `id` of the program: 1 when *out received a new image (the caller owns
// it), 0 when there is no such resource or it is not an image; *out is then left as it was.
int LoadPngResource(UINT id, Gdiplus::Image** out);
// The same with an owner: null when LoadPngResource fails.
SkinImage LoadSkinImage(UINT id);

// Every drawing call below does nothing for a null image or font.

// The whole image scaled into (left, top, right, bottom), right and bottom exclusive.
void DrawImageFit(Gdiplus::Image* image, Gdiplus::Graphics& g, int left, int top, int right, int bottom);
// The source region `src` of the image into `dest` (x, y, width, height), scaled when the sizes differ.
void DrawImageRegion(Gdiplus::Graphics& g, Gdiplus::Image* image, const Gdiplus::Rect& dest, const Gdiplus::Rect& src);
void DrawImageRegion(Gdiplus::Graphics& g,
                     Gdiplus::Image* image,
                     const Gdiplus::RectF& dest,
                     const Gdiplus::RectF& src);

// A sprite holds a button's frames one above the other or side by side, each the size of the button.
enum class SpriteLayout { Vertical, Horizontal };
// Frame `frame` (the button's state) of the sprite into rc.
void DrawSpriteFrame(Gdiplus::Graphics& g, Gdiplus::Image* image, const RECT& rc, int frame, SpriteLayout layout);

// Text, rectangles and lines, each in one solid colour (ARGB, alpha in the top byte).
void DrawTextAt(Gdiplus::Graphics& g,
                const wchar_t* text,
                const Gdiplus::Font* font,
                Gdiplus::ARGB color,
                float x,
                float y);
void DrawTextIn(Gdiplus::Graphics& g,
                const wchar_t* text,
                const Gdiplus::Font* font,
                Gdiplus::ARGB color,
                const Gdiplus::RectF& layout);
void FillSolidRect(Gdiplus::Graphics& g, Gdiplus::ARGB color, const Gdiplus::RectF& rc);
void DrawSolidLine(Gdiplus::Graphics& g, Gdiplus::ARGB color, float width, int x1, int y1, int x2, int y2);

// Fonts.

extern const wchar_t kSkinFontName[];          // "微软雅黑"
extern const wchar_t kSkinFallbackFontName[];  // "宋体"

// The family of the skin's texts: `name`, or "宋体" when `name` cannot be created. *fellBack says whether the
// fallback was taken; the windows make their texts a little larger and lower then.
SkinFontFamily CreateSkinFontFamily(bool* fellBack, const wchar_t* name = kSkinFontName);
// A regular font of the family, its size in pixels; null when it cannot be created.
SkinFont CreateSkinFont(const Gdiplus::FontFamily* family, float sizePx);

// Painting.

// One double-buffered WM_PAINT: draw the whole client area into Graphics(); the destructor copies the frame to
// the window and ends painting. The window answers WM_ERASEBKGND with 1.
class CDoubleBufferPaint {
public:
    explicit CDoubleBufferPaint(HWND hwnd);
    ~CDoubleBufferPaint();
    CDoubleBufferPaint(const CDoubleBufferPaint&) = delete;
    CDoubleBufferPaint& operator=(const CDoubleBufferPaint&) = delete;

    Gdiplus::Graphics& Graphics() { return m_graphics; }
    int Width() const { return m_rc.right; }
    int Height() const { return m_rc.bottom; }

private:
    ScopedPaint m_paint;
    RECT m_rc;
    ScopedMemDC m_memDC;
    ScopedBitmap m_bitmap;
    ScopedSelect m_select;
    Gdiplus::Graphics m_graphics;  // held by value: a GDI+ failure costs the drawing, never a null pointer
};

// Source-over, constant alpha 255, per-pixel alpha: what a per-pixel-transparent window presents with.
constexpr BLENDFUNCTION kPerPixelAlpha = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

using SkinDrawFn = std::function<void(Gdiplus::Graphics&)>;
// Draws the window's whole look with `draw` onto a fully transparent surface of the window's size and presents
// it as the window's per-pixel-alpha picture (UpdateLayeredWindow); makes the window layered if it is not yet.
// Call it again on every change of the look: such a window gets no WM_PAINT for its content. False when the
// picture could not be presented (for example a window of size 0).
bool PresentLayered(HWND hwnd, const BLENDFUNCTION& blend, const SkinDrawFn& draw);
