// Text, rectangles and lines of the custom-drawn windows, and the fonts they use.
#include "skin/Skin.h"

const wchar_t kSkinFontName[] = L"微软雅黑";
const wchar_t kSkinFallbackFontName[] = L"宋体";

void DrawTextAt(Gdiplus::Graphics& g,
                const wchar_t* text,
                const Gdiplus::Font* font,
                Gdiplus::ARGB color,
                float x,
                float y) {
    if (!font || !text) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    g.DrawString(text, -1, font, Gdiplus::PointF(x, y), &brush);
}

void DrawTextIn(Gdiplus::Graphics& g,
                const wchar_t* text,
                const Gdiplus::Font* font,
                Gdiplus::ARGB color,
                const Gdiplus::RectF& layout) {
    if (!font || !text) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    Gdiplus::StringFormat format;
    g.DrawString(text, -1, font, layout, &format, &brush);
}

void FillSolidRect(Gdiplus::Graphics& g, Gdiplus::ARGB color, const Gdiplus::RectF& rc) {
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    g.FillRectangle(&brush, rc);
}

void DrawSolidLine(Gdiplus::Graphics& g, Gdiplus::ARGB color, float width, int x1, int y1, int x2, int y2) {
    Gdiplus::Pen pen(Gdiplus::Color(color), width);
    g.DrawLine(&pen, x1, y1, x2, y2);
}

static SkinFontFamily CreateFamily(const wchar_t* name) {
    SkinFontFamily family(new Gdiplus::FontFamily(name));
    if (family && !family->IsAvailable()) family.reset();
    return family;
}

SkinFontFamily CreateSkinFontFamily(bool* fellBack, const wchar_t* name) {
    SkinFontFamily family = CreateFamily(name);
    *fellBack = !family;
    // Without the fallback either the family is null: its fonts are null too and the texts are skipped.
    return family ? std::move(family) : CreateFamily(kSkinFallbackFontName);
}

SkinFont CreateSkinFont(const Gdiplus::FontFamily* family, float sizePx) {
    if (!family) return nullptr;
    SkinFont font(new Gdiplus::Font(family, sizePx, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    if (font && (!font->IsAvailable() || font->GetLastStatus() != Gdiplus::Ok)) font.reset();
    return font;
}
