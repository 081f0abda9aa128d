#include <gtest/gtest.h>

#include "SkinTestUtil.h"
#include "skin/Skin.h"

namespace {

// The pixels of `drawn` inside rc compared with the source region starting at (srcX, srcY) of `source`; outside
// rc the canvas must have kept `background`. Returns the number of wrong pixels.
int CountWrongPixels(const Pixels& drawn,
                     const RECT& rc,
                     const Pixels& source,
                     int srcX,
                     int srcY,
                     uint32_t background) {
    int wrong = 0;
    for (int y = 0; y < drawn.height; ++y) {
        for (int x = 0; x < drawn.width; ++x) {
            bool inside = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
            uint32_t expected = inside ? source.At(srcX + x - rc.left, srcY + y - rc.top) : background;
            if (PremultipliedDistance(drawn.At(x, y), expected) > 2) ++wrong;
        }
    }
    return wrong;
}

struct SpriteCase {
    UINT id;
    SpriteLayout layout;
    int frameWidth;
    int frameHeight;
    int frames;
};
const SpriteCase kSprites[] = {
    {104, SpriteLayout::Vertical, 29, 29, 3},   {112, SpriteLayout::Vertical, 26, 26, 3},
    {124, SpriteLayout::Vertical, 162, 35, 2},  {139, SpriteLayout::Vertical, 10, 10, 3},
    {138, SpriteLayout::Horizontal, 12, 12, 2}, {129, SpriteLayout::Vertical, 60, 21, 2},
    {128, SpriteLayout::Vertical, 136, 22, 9},  {115, SpriteLayout::Horizontal, 16, 16, 8},
    {111, SpriteLayout::Horizontal, 25, 25, 3}, {103, SpriteLayout::Horizontal, 25, 25, 3},
};

}  // namespace

TEST(SkinDraw, SpriteDrawsTheFrameOfItsState) {
    for (const SpriteCase& c : kSprites) {
        SkinImage image = LoadSkinImage(c.id);
        Pixels source = DecodePngResource(c.id);
        ASSERT_TRUE(image) << c.id;
        ASSERT_GT(source.width, 0) << c.id;
        const RECT rc = {4, 6, 4 + c.frameWidth, 6 + c.frameHeight};
        for (int state = 0; state < c.frames; ++state) {
            SCOPED_TRACE(testing::Message() << "image " << c.id << " state " << state);
            int srcX = c.layout == SpriteLayout::Horizontal ? state * c.frameWidth : 0;
            int srcY = c.layout == SpriteLayout::Vertical ? state * c.frameHeight : 0;
            Canvas canvas(c.frameWidth + 10, c.frameHeight + 12);
            DrawSpriteFrame(*canvas.graphics, image.get(), rc, state, c.layout);
            Pixels drawn = canvas.Read();
            EXPECT_EQ(CountWrongPixels(drawn, rc, source, srcX, srcY, 0), 0);
            // Frames that look alike would let a wrong frame pass: the neighbour must be told apart.
            int other = state == 0 ? 1 : 0;
            int otherX = c.layout == SpriteLayout::Horizontal ? other * c.frameWidth : 0;
            int otherY = c.layout == SpriteLayout::Vertical ? other * c.frameHeight : 0;
            EXPECT_GT(CountWrongPixels(drawn, rc, source, otherX, otherY, 0), 0);
        }
    }
}

TEST(SkinDraw, FitScalesTheWholeImageIntoTheRectangle) {
    struct FitCase {
        UINT id;
        RECT rc;
        int scale;
    };
    const FitCase kCases[] = {{138, {2, 3, 50, 27}, 2}, {127, {0, 0, 11, 33}, 1}, {139, {5, 1, 35, 91}, 3}};
    for (const FitCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "image " << c.id << " scale " << c.scale);
        SkinImage image = LoadSkinImage(c.id);
        Pixels source = DecodePngResource(c.id);
        ASSERT_TRUE(image);
        Canvas canvas(c.rc.right + 4, c.rc.bottom + 4);
        DrawImageFit(image.get(), *canvas.graphics, c.rc.left, c.rc.top, c.rc.right, c.rc.bottom);
        Pixels drawn = canvas.Read();
        int wrong = 0;
        for (int y = 0; y < drawn.height; ++y) {
            for (int x = 0; x < drawn.width; ++x) {
                bool inside = x >= c.rc.left && x < c.rc.right && y >= c.rc.top && y < c.rc.bottom;
                uint32_t expected = inside ? source.At((x - c.rc.left) / c.scale, (y - c.rc.top) / c.scale) : 0;
                if (PremultipliedDistance(drawn.At(x, y), expected) > 2) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(SkinDraw, RegionScalesTheSourceRegionIntoTheDestination) {
    SkinImage image = LoadSkinImage(104);
    Pixels source = DecodePngResource(104);
    ASSERT_TRUE(image);
    // Integer and floating-point forms: the middle frame (29 x 29 at y 29) doubled at (3, 2).
    for (bool floating : {false, true}) {
        SCOPED_TRACE(floating ? "float" : "int");
        Canvas canvas(64, 64);
        if (floating)
            DrawImageRegion(*canvas.graphics, image.get(), Gdiplus::RectF(3, 2, 58, 58), Gdiplus::RectF(0, 29, 29, 29));
        else
            DrawImageRegion(*canvas.graphics, image.get(), Gdiplus::Rect(3, 2, 58, 58), Gdiplus::Rect(0, 29, 29, 29));
        Pixels drawn = canvas.Read();
        int wrong = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                bool inside = x >= 3 && x < 61 && y >= 2 && y < 60;
                uint32_t expected = inside ? source.At((x - 3) / 2, 29 + (y - 2) / 2) : 0;
                if (PremultipliedDistance(drawn.At(x, y), expected) > 2) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(SkinDraw, NullImageOrFontDrawsNothing) {
    const uint32_t kBackground = 0xFF102030;
    Canvas canvas(40, 40);
    FillSolidRect(*canvas.graphics, kBackground, Gdiplus::RectF(0, 0, 40, 40));
    Gdiplus::Graphics& g = *canvas.graphics;
    DrawImageFit(nullptr, g, 0, 0, 40, 40);
    DrawSpriteFrame(g, nullptr, RECT{0, 0, 20, 20}, 1, SpriteLayout::Vertical);
    DrawSpriteFrame(g, nullptr, RECT{0, 0, 20, 20}, 0, SpriteLayout::Horizontal);
    DrawImageRegion(g, nullptr, Gdiplus::Rect(0, 0, 40, 40), Gdiplus::Rect(0, 0, 10, 10));
    DrawImageRegion(g, nullptr, Gdiplus::RectF(0, 0, 40, 40), Gdiplus::RectF(0, 0, 10, 10));
    DrawTextAt(g, L"提示", nullptr, 0xFFFFFFFF, 0, 0);
    DrawTextIn(g, L"提示", nullptr, 0xFFFFFFFF, Gdiplus::RectF(0, 0, 40, 40));
    Pixels drawn = canvas.Read();
    int changed = 0;
    for (uint32_t p : drawn.argb)
        changed += p != kBackground;
    EXPECT_EQ(changed, 0);
}

TEST(SkinDraw, FillCoversExactlyItsRectangle) {
    struct FillCase {
        Gdiplus::RectF rc;
        uint32_t color;
    };
    const FillCase kCases[] = {{{2, 33, 17, 5}, 0xFFFAFAFA}, {{0, 0, 30, 30}, 0xFF3A3F36}, {{7, 1, 1, 1}, 0x80FF0000}};
    for (const FillCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.rc.X << "," << c.rc.Y << " " << c.rc.Width << "x" << c.rc.Height);
        Canvas canvas(30, 40);
        FillSolidRect(*canvas.graphics, c.color, c.rc);
        Pixels drawn = canvas.Read();
        int wrong = 0;
        for (int y = 0; y < drawn.height; ++y) {
            for (int x = 0; x < drawn.width; ++x) {
                bool inside = x >= c.rc.X && x < c.rc.X + c.rc.Width && y >= c.rc.Y && y < c.rc.Y + c.rc.Height;
                if (PremultipliedDistance(drawn.At(x, y), inside ? c.color : 0) > 1) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(SkinDraw, LineRunsBetweenItsEndPoints) {
    Canvas canvas(60, 20);
    canvas.graphics->SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    DrawSolidLine(*canvas.graphics, 0xFFE0E7EA, 1, 10, 8, 50, 8);
    Pixels drawn = canvas.Read();
    for (int x = 12; x < 48; ++x)
        EXPECT_EQ(drawn.At(x, 8), 0xFFE0E7EAu) << x;
    int outside = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (drawn.At(x, y) != 0 && (y < 7 || y > 9 || x < 9 || x > 51)) ++outside;
    EXPECT_EQ(outside, 0);
}
