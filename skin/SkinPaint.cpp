// The two ways a custom-drawn window reaches the screen: double-buffered painting, so that a frame never shows
// half drawn, and the per-pixel-alpha picture of a layered window.
#include "skin/Skin.h"

static RECT ClientRect(HWND hwnd) {
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    return rc;
}

CDoubleBufferPaint::CDoubleBufferPaint(HWND hwnd)
    : m_paint(hwnd),
      m_rc(ClientRect(hwnd)),
      m_memDC(CreateCompatibleDC(m_paint)),
      m_bitmap(CreateCompatibleBitmap(m_paint, m_rc.right, m_rc.bottom)),
      m_select(m_memDC, m_bitmap),
      m_graphics(m_memDC.Get()) {
    m_graphics.SetPageUnit(Gdiplus::UnitPixel);
    m_graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
}

CDoubleBufferPaint::~CDoubleBufferPaint() {
    m_graphics.Flush(Gdiplus::FlushIntentionSync);  // what GDI+ still holds back goes into the bitmap first
    BitBlt(m_paint, 0, 0, m_rc.right, m_rc.bottom, m_memDC, 0, 0, SRCCOPY);
}

bool PresentLayered(HWND hwnd, const BLENDFUNCTION& blend, const SkinDrawFn& draw) {
    RECT rcWindow = {};
    GetWindowRect(hwnd, &rcWindow);
    SIZE size = {rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top};
    if (size.cx <= 0 || size.cy <= 0) return false;

    ScopedGetDC windowDC(hwnd);
    ScopedMemDC memDC(CreateCompatibleDC(windowDC));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = size.cx;
    bmi.bmiHeader.biHeight = size.cy;  // bottom-up rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    // A new DIB section is all zeros: fully transparent until something is drawn.
    ScopedBitmap dib(CreateDIBSection(windowDC, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memDC.IsValid() || !dib.IsValid()) return false;
    {
        ScopedSelect select(memDC, dib);
        {
            // GDI+ leaves premultiplied ARGB in a 32-bit DIB section, which is what the presentation takes.
            Gdiplus::Graphics g(memDC.Get());
            g.SetPageUnit(Gdiplus::UnitPixel);
            draw(g);
        }
        LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
        if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        POINT dest = {rcWindow.left, rcWindow.top};
        POINT src = {0, 0};
        BLENDFUNCTION bf = blend;
        if (!UpdateLayeredWindow(hwnd, windowDC, &dest, &size, memDC, &src, 0, &bf, ULW_ALPHA)) return false;
    }
    return true;
}
