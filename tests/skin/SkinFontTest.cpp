#include <gtest/gtest.h>

#include <string>

#include "SkinTestUtil.h"
#include "skin/Skin.h"

namespace {

std::wstring FamilyName(const Gdiplus::FontFamily& family) {
    wchar_t name[LF_FACESIZE] = {};
    family.GetFamilyName(name);
    return name;
}

// The name GDI+ gives a family created straight from `name`.
std::wstring ResolvedName(const wchar_t* name) {
    Gdiplus::FontFamily family(name);
    return family.IsAvailable() ? FamilyName(family) : L"";
}

// The box around the pixels that differ from 0.
RECT InkBox(const Pixels& p) {
    RECT box = {p.width, p.height, -1, -1};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (p.At(x, y) == 0) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    return box;
}

}  // namespace

TEST(SkinFont, FamilyFallsBackToSongtiOnlyWhenMissing) {
    struct FamilyCase {
        const wchar_t* name;
        bool fallback;
    };
    // The test prefix maps "微软雅黑" and "宋体" to an installed Chinese font; Wine ships Tahoma.
    const FamilyCase kCases[] = {
        {kSkinFontName, false},
        {L"Tahoma", false},
        {L"Veskora No Such Family", true},
        {L"", true},
    };
    ASSERT_NE(ResolvedName(kSkinFallbackFontName), L"");
    for (const FamilyCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "family \"" << testing::PrintToString(std::wstring(c.name)) << "\"");
        bool fellBack = !c.fallback;
        SkinFontFamily family = CreateSkinFontFamily(&fellBack, c.name);
        ASSERT_TRUE(family);
        EXPECT_TRUE(family->IsAvailable());
        EXPECT_EQ(fellBack, c.fallback);
        EXPECT_EQ(FamilyName(*family), ResolvedName(c.fallback ? kSkinFallbackFontName : c.name));
    }
}

TEST(SkinFont, DefaultFamilyIsYaheiHere) {
    bool fellBack = true;
    SkinFontFamily family = CreateSkinFontFamily(&fellBack);
    ASSERT_TRUE(family);
    EXPECT_FALSE(fellBack);
    EXPECT_EQ(FamilyName(*family), ResolvedName(L"微软雅黑"));
}

TEST(SkinFont, FontsAreRegularAndSizedInPixels) {
    // Wine reports the style from the face's weight, and the Chinese face of the test prefix is a medium one:
    // the regular style is checked with Tahoma, whose regular face has the normal weight.
    struct FontCase {
        const wchar_t* family;
        bool checkStyle;
    };
    const FontCase kCases[] = {{kSkinFontName, false}, {L"Tahoma", true}};
    for (const FontCase& c : kCases) {
        bool fellBack = true;
        SkinFontFamily family = CreateSkinFontFamily(&fellBack, c.family);
        ASSERT_TRUE(family);
        ASSERT_FALSE(fellBack);
        for (float size : {12.0f, 13.0f, 14.0f}) {
            SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.family)) << " " << size);
            SkinFont font = CreateSkinFont(family.get(), size);
            ASSERT_TRUE(font);
            EXPECT_FLOAT_EQ(font->GetSize(), size);
            EXPECT_EQ(font->GetUnit(), Gdiplus::UnitPixel);
            if (c.checkStyle) {
                EXPECT_EQ(font->GetStyle(), Gdiplus::FontStyleRegular);
            }
        }
    }
    EXPECT_FALSE(CreateSkinFont(nullptr, 12));
}

TEST(SkinFont, TextIsDrawnAtItsPointAndInsideItsRectangle) {
    bool fellBack = false;
    SkinFontFamily family = CreateSkinFontFamily(&fellBack);
    SkinFont font = CreateSkinFont(family.get(), 13);
    ASSERT_TRUE(font);

    Canvas at(200, 60);
    at.graphics->SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    DrawTextAt(*at.graphics, L"提示", font.get(), 0xFFFFFFFF, 30, 5);
    RECT box = InkBox(at.Read());
    EXPECT_GT(box.right, box.left) << "nothing drawn";
    EXPECT_GE(box.left, 30);
    EXPECT_GE(box.top, 5);
    EXPECT_LE(box.right, 30 + 2 * 13 + 8);
    EXPECT_LE(box.bottom, 5 + 20);

    // A rectangle narrower than the text wraps it inside its width.
    Canvas in(200, 60);
    in.graphics->SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    DrawTextIn(*in.graphics, L"开机自动启动客户端", font.get(), 0xFF3A3F36, Gdiplus::RectF(60, 14, 50, 20));
    box = InkBox(in.Read());
    EXPECT_GE(box.left, 60);
    EXPECT_GE(box.top, 14);
    EXPECT_GT(box.right, box.left) << "nothing drawn";
    EXPECT_LE(box.right, 110);
    EXPECT_GT(box.bottom, 14 + 20) << "not wrapped";
}
