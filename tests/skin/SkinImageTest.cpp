#include <gtest/gtest.h>

#include <set>

#include "SkinTestUtil.h"
#include "skin/Skin.h"

namespace {

// Every skin image of the program with its size in pixels.
struct ImageCase {
    UINT id;
    UINT width;
    UINT height;
};
const ImageCase kImages[] = {
    {109, 1100, 600}, {104, 29, 87},  {112, 26, 78}, {124, 162, 70}, {121, 162, 70}, {123, 162, 70},  {122, 162, 70},
    {141, 340, 188},  {139, 10, 30},  {138, 24, 12}, {129, 60, 42},  {137, 70, 48},  {130, 355, 169}, {127, 11, 33},
    {107, 800, 500},  {108, 48, 29},  {113, 65, 44}, {160, 75, 44},  {101, 75, 44},  {102, 75, 44},   {115, 128, 16},
    {106, 65, 44},    {111, 75, 25},  {110, 75, 25}, {114, 75, 25},  {103, 75, 25},  {151, 75, 22},   {152, 75, 22},
    {128, 136, 198},  {154, 818, 47}, {156, 39, 47}, {155, 40, 60},
};

// Resources the test program adds of its own.
const UINT kNotAnImageId = 900;

BOOL CALLBACK CollectId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<UINT>*>(param)->insert(LOWORD(name));
    return TRUE;
}

}  // namespace

TEST(SkinImage, EveryImageLoadsWithItsSize) {
    for (const ImageCase& c : kImages) {
        SCOPED_TRACE(testing::Message() << "image " << c.id);
        Gdiplus::Image* raw = nullptr;
        ASSERT_EQ(LoadPngResource(c.id, &raw), 1);
        ASSERT_NE(raw, nullptr);
        SkinImage image(raw);
        EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
        EXPECT_EQ(image->GetWidth(), c.width);
        EXPECT_EQ(image->GetHeight(), c.height);

        SkinImage owned = LoadSkinImage(c.id);
        ASSERT_TRUE(owned);
        EXPECT_EQ(owned->GetWidth(), c.width);
        EXPECT_EQ(owned->GetHeight(), c.height);
    }
}

TEST(SkinImage, TableListsEveryPngResource) {
    std::set<UINT> resources;
    EnumResourceNamesW(GetModuleHandleW(nullptr), L"PNG", CollectId, reinterpret_cast<LONG_PTR>(&resources));
    resources.erase(kNotAnImageId);
    std::set<UINT> table;
    for (const ImageCase& c : kImages)
        table.insert(c.id);
    EXPECT_EQ(resources, table);
}

TEST(SkinImage, MissingOrBrokenResourceLeavesPointerAlone) {
    SkinImage existing = LoadSkinImage(138);
    ASSERT_TRUE(existing);
    const UINT kIds[] = {0, 1, 105, 999, 65535, kNotAnImageId};
    for (UINT id : kIds) {
        SCOPED_TRACE(testing::Message() << "id " << id);
        Gdiplus::Image* image = nullptr;
        EXPECT_EQ(LoadPngResource(id, &image), 0);
        EXPECT_EQ(image, nullptr);
        image = existing.get();
        EXPECT_EQ(LoadPngResource(id, &image), 0);
        EXPECT_EQ(image, existing.get());
        EXPECT_FALSE(LoadSkinImage(id));
    }
}

TEST(SkinImage, ImageStaysDrawableAfterItsLoad) {
    // The decoder may read the PNG bytes only when the image is drawn: they must outlive the load.
    SkinImage image = LoadSkinImage(104);
    ASSERT_TRUE(image);
    Pixels expected = DecodePngResource(104);
    ASSERT_EQ(expected.width, 29);
    Canvas canvas(29, 87);
    DrawImageFit(image.get(), *canvas.graphics, 0, 0, 29, 87);
    Pixels drawn = canvas.Read();
    int worst = 0;
    for (int y = 0; y < 87; ++y)
        for (int x = 0; x < 29; ++x)
            worst = std::max(worst, PremultipliedDistance(drawn.At(x, y), expected.At(x, y)));
    EXPECT_LE(worst, 2);
}
