#include <gtest/gtest.h>

#include <stdlib.h>

#include "SkinTestUtil.h"
#include "TestUtil.h"
#include "skin/Skin.h"
#include "win/Window.h"

// The launcher's picture presented as a layered window over a plain coloured window, then read back from the
// screen: the picture's transparent margins must show the window behind, its opaque panel the picture itself.
// VESK_SKIN_SHOT=path saves the screen as PNG; VESK_SKIN_SHOT_WAIT=ms keeps the windows up for a screenshot
// taken from outside.

namespace {

const int kLeft = 100, kTop = 80, kWidth = 1100, kHeight = 600;
const COLORREF kBackdrop = RGB(0xFF, 0x00, 0xFF);

class TestWindow : public CWindow {
public:
    bool CreatePopup(const wchar_t* className, HBRUSH background, DWORD exStyle, int width, int height) {
        WNDCLASSEXW wc = {};
        wc.lpszClassName = className;
        wc.hbrBackground = background;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClass(wc);
        return Create(exStyle | WS_EX_TOOLWINDOW, className, className, WS_POPUP, kLeft, kTop, width, height, nullptr,
                      nullptr);
    }
};

// The screen's pixels in (x, y, width, height), read through GDI as any Windows program would.
Pixels CaptureScreen(int x, int y, int width, int height) {
    Pixels p;
    ScopedGetDC screen(nullptr);
    ScopedMemDC memDC(CreateCompatibleDC(screen));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedBitmap dib(CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.IsValid()) return p;
    {
        ScopedSelect select(memDC, dib);
        BitBlt(memDC, 0, 0, width, height, screen, x, y, SRCCOPY | CAPTUREBLT);
    }
    GdiFlush();
    p.width = width;
    p.height = height;
    const auto* src = static_cast<const uint32_t*>(bits);
    p.argb.assign(src, src + static_cast<size_t>(width) * height);
    for (uint32_t& px : p.argb)
        px |= 0xFF000000;
    return p;
}

uint32_t Argb(COLORREF c) {
    return 0xFF000000 | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

void SavePng(const Pixels& p, const wchar_t* path) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, L"image/png") != 0) continue;
        Gdiplus::Bitmap bitmap(p.width, p.height, p.width * 4, PixelFormat32bppRGB,
                               reinterpret_cast<BYTE*>(const_cast<uint32_t*>(p.argb.data())));
        bitmap.Save(path, &codecs[i].Clsid, nullptr);
    }
}

// Runs the message loop until the screen at (x, y) shows `color` or some seconds have passed.
void WaitForScreen(int x, int y, uint32_t color) {
    for (int i = 0; i < 100; ++i) {
        PumpMessages();
        if (RgbDistance(CaptureScreen(kLeft + x, kTop + y, 1, 1).At(0, 0), color) <= 3) return;
        Sleep(50);
    }
}

void KeepUpIfAsked() {
    const char* wait = getenv("VESK_SKIN_SHOT_WAIT");
    if (!wait) return;
    DWORD end = GetTickCount() + static_cast<DWORD>(atoi(wait));
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        PumpMessages();
        Sleep(20);
    }
}

// True when every pixel within 2 of (x, y) has exactly this alpha.
bool AlphaAround(const Pixels& p, int x, int y, uint32_t alpha) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if ((p.At(x + dx, y + dy) >> 24) != alpha) return false;
    return true;
}

}  // namespace

TEST(SkinLayered, PictureIsTransparentExactlyWhereItsPixelsAre) {
    SkinImage back = LoadSkinImage(109);
    SkinImage close = LoadSkinImage(104);
    Pixels picture = DecodePngResource(109);
    Pixels closeSprite = DecodePngResource(104);
    ASSERT_TRUE(back && close);
    ASSERT_EQ(picture.width, kWidth);

    ScopedBrush brush(CreateSolidBrush(kBackdrop));
    TestWindow backdrop, layered;
    ASSERT_TRUE(backdrop.CreatePopup(L"VeskSkinBackdrop", brush, 0, kWidth + 40, kHeight + 40));
    ShowWindow(backdrop.m_hWnd, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(layered.CreatePopup(L"VeskSkinLayered", nullptr, WS_EX_TOPMOST, kWidth, kHeight));
    ASSERT_FALSE(GetWindowLongPtrW(layered.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);

    // As the launcher does: the look is presented before the window is first shown.
    RECT closeRect = {1013, 136, 1042, 165};
    int closeState = 0;
    auto draw = [&](Gdiplus::Graphics& g) {
        DrawImageFit(back.get(), g, 0, 0, kWidth, kHeight);
        DrawSpriteFrame(g, close.get(), closeRect, closeState, SpriteLayout::Vertical);
    };
    ASSERT_TRUE(PresentLayered(layered.m_hWnd, kPerPixelAlpha, draw));
    EXPECT_TRUE(GetWindowLongPtrW(layered.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    ShowWindow(layered.m_hWnd, SW_SHOWNOACTIVATE);

    struct Probe {
        int x, y;
        bool opaque;
    };
    const Probe kProbes[] = {{5, 5, false},     {1094, 5, false},  {5, 594, false},  {1080, 40, false},
                             {100, 100, false}, {550, 30, false},  {800, 5, false},  {550, 350, true},
                             {200, 300, true},  {1050, 300, true}, {700, 100, true}, {360, 520, true}};
    WaitForScreen(550, 350, picture.At(550, 350));
    Pixels screen = CaptureScreen(kLeft, kTop, kWidth, kHeight);
    if (const char* path = getenv("VESK_SKIN_SHOT")) {
        std::wstring wpath(path, path + strlen(path));
        SavePng(screen, wpath.c_str());
    }
    KeepUpIfAsked();

    for (const Probe& p : kProbes) {
        SCOPED_TRACE(testing::Message() << "at " << p.x << "," << p.y);
        ASSERT_TRUE(AlphaAround(picture, p.x, p.y, p.opaque ? 255 : 0)) << "the probe is not where the art has it";
        uint32_t expected = p.opaque ? picture.At(p.x, p.y) : Argb(kBackdrop);
        ASSERT_GT(RgbDistance(picture.At(p.x, p.y), Argb(kBackdrop)), 40) << "the picture looks like the backdrop";
        EXPECT_LE(RgbDistance(screen.At(p.x, p.y), expected), 3)
            << std::hex << "screen " << screen.At(p.x, p.y) << " expected " << expected;
    }

    // A hover change presents the picture again, with the close button's second frame.
    int fx = -1, fy = -1;
    for (int y = 0; y < 29 && fx < 0; ++y)
        for (int x = 0; x < 29 && fx < 0; ++x)
            if ((closeSprite.At(x, y) >> 24) == 255 && (closeSprite.At(x, y + 29) >> 24) == 255 &&
                RgbDistance(closeSprite.At(x, y), closeSprite.At(x, y + 29)) > 30)
                fx = x, fy = y;
    ASSERT_GE(fx, 0) << "the close button's frames look alike";
    int sx = closeRect.left + fx, sy = closeRect.top + fy;
    EXPECT_LE(RgbDistance(screen.At(sx, sy), closeSprite.At(fx, fy)), 3);
    closeState = 1;
    ASSERT_TRUE(PresentLayered(layered.m_hWnd, kPerPixelAlpha, draw));
    WaitForScreen(sx, sy, closeSprite.At(fx, fy + 29));
    EXPECT_LE(RgbDistance(CaptureScreen(kLeft + sx, kTop + sy, 1, 1).At(0, 0), closeSprite.At(fx, fy + 29)), 3);

    layered.DestroyWindow();
    backdrop.DestroyWindow();
}

TEST(SkinLayered, EmptyWindowIsNotPresented) {
    TestWindow wnd;
    ASSERT_TRUE(wnd.CreatePopup(L"VeskSkinEmpty", nullptr, 0, 0, 0));
    int draws = 0;
    EXPECT_FALSE(PresentLayered(wnd.m_hWnd, kPerPixelAlpha, [&](Gdiplus::Graphics&) { ++draws; }));
    EXPECT_EQ(draws, 0);
    wnd.DestroyWindow();
}
