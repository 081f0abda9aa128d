#include "SkinTestUtil.h"

#include <gtest/gtest.h>
#include <shlwapi.h>
#include <stdlib.h>

#include "win/Com.h"

namespace {

// The application object starts GDI+ in the program; here the whole test run gets it.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

::testing::Environment* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

int Channel(uint32_t argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : bitmap(width, height, PixelFormat32bppARGB), graphics(Gdiplus::Graphics::FromImage(&bitmap)) {
    graphics->SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics->SetPageUnit(Gdiplus::UnitPixel);
}

Pixels Canvas::Read() {
    graphics->Flush(Gdiplus::FlushIntentionSync);
    return ReadPixels(bitmap);
}

Pixels ReadPixels(Gdiplus::Bitmap& bitmap) {
    Pixels p;
    p.width = static_cast<int>(bitmap.GetWidth());
    p.height = static_cast<int>(bitmap.GetHeight());
    Gdiplus::Rect rc(0, 0, p.width, p.height);
    Gdiplus::BitmapData data = {};
    if (bitmap.LockBits(&rc, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return {};
    p.argb.resize(static_cast<size_t>(p.width) * p.height);
    for (int y = 0; y < p.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        std::copy(row, row + p.width, p.argb.begin() + static_cast<ptrdiff_t>(y) * p.width);
    }
    bitmap.UnlockBits(&data);
    return p;
}

Pixels DecodePngResource(UINT id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    if (!res) return {};
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
    ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(bytes, SizeofResource(module, res)));
    if (!stream) return {};
    Gdiplus::Bitmap bitmap(stream.Get());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return {};
    return ReadPixels(bitmap);
}

int PremultipliedDistance(uint32_t a, uint32_t b) {
    int alphaA = Channel(a, 24), alphaB = Channel(b, 24);
    int worst = abs(alphaA - alphaB);
    for (int shift : {0, 8, 16}) {
        int pa = Channel(a, shift) * alphaA / 255;
        int pb = Channel(b, shift) * alphaB / 255;
        worst = std::max(worst, abs(pa - pb));
    }
    return worst;
}

int RgbDistance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, abs(Channel(a, shift) - Channel(b, shift)));
    return worst;
}
