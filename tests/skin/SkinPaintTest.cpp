#include <gtest/gtest.h>

#include "SkinTestUtil.h"
#include "TestUtil.h"
#include "skin/Skin.h"
#include "win/Window.h"

namespace {

// A dialog-like window that paints a plain colour and a band through the double buffer.
class PaintedWindow : public CWindow {
public:
    bool CreatePopup(int x, int y, int width, int height) {
        WNDCLASSEXW wc = {};
        wc.lpszClassName = L"VeskSkinPaintTest";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClass(wc);
        return Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"VeskSkinPaintTest", L"paint", WS_POPUP, x, y, width, height,
                      nullptr, nullptr);
    }

    int m_nPaints = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    Gdiplus::TextRenderingHint m_hint = Gdiplus::TextRenderingHintSystemDefault;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_ERASEBKGND: return 1;
            case WM_PAINT: OnPaint(); return 0;
        }
        return Default(msg, wParam, lParam);
    }

private:
    void OnPaint() {
        CDoubleBufferPaint paint(m_hWnd);
        ++m_nPaints;
        m_nWidth = paint.Width();
        m_nHeight = paint.Height();
        m_hint = paint.Graphics().GetTextRenderingHint();
        FillSolidRect(paint.Graphics(), 0xFF204080,
                      Gdiplus::RectF(0, 0, static_cast<float>(m_nWidth), static_cast<float>(m_nHeight)));
        FillSolidRect(paint.Graphics(), 0xFFFAFAFA, Gdiplus::RectF(0, 30, static_cast<float>(m_nWidth), 10));
    }
};

}  // namespace

TEST(SkinPaint, DoubleBufferCopiesTheWholeFrameToTheWindow) {
    PaintedWindow wnd;
    ASSERT_TRUE(wnd.CreatePopup(40, 40, 340, 200));
    ShowWindow(wnd.m_hWnd, SW_SHOWNOACTIVATE);
    UpdateWindow(wnd.m_hWnd);
    PumpMessages();
    ASSERT_GE(wnd.m_nPaints, 1);
    EXPECT_EQ(wnd.m_nWidth, 340);
    EXPECT_EQ(wnd.m_nHeight, 200);
    EXPECT_EQ(wnd.m_hint, Gdiplus::TextRenderingHintClearTypeGridFit);

    struct Probe {
        int x, y;
        COLORREF color;
    };
    const Probe kProbes[] = {{0, 0, RGB(0x20, 0x40, 0x80)},    {339, 199, RGB(0x20, 0x40, 0x80)},
                             {339, 0, RGB(0x20, 0x40, 0x80)},  {0, 199, RGB(0x20, 0x40, 0x80)},
                             {170, 35, RGB(0xFA, 0xFA, 0xFA)}, {170, 29, RGB(0x20, 0x40, 0x80)}};
    ScopedGetDC dc(wnd.m_hWnd);
    for (const Probe& p : kProbes)
        EXPECT_EQ(GetPixel(dc, p.x, p.y), p.color) << p.x << "," << p.y;
    wnd.DestroyWindow();
}
