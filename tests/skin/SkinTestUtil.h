// What the skin tests share: GDI+ started for the whole run, surfaces to render into and read back, and the skin
// images decoded on their own (not through the toolkit) to compare with.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <stdint.h>

#include <memory>
#include <vector>

// Straight (not premultiplied) ARGB pixels of a surface, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

// A transparent 32-bit ARGB surface and a graphics object on it that copies pixels exactly: source copy, nearest
// neighbour, pixel centres at half pixels.
struct Canvas {
    Canvas(int width, int height);
    Gdiplus::Bitmap bitmap;
    std::unique_ptr<Gdiplus::Graphics> graphics;
    Pixels Read();
};

Pixels ReadPixels(Gdiplus::Bitmap& bitmap);
// The "PNG" resource `id` of the test program decoded straight from its bytes.
Pixels DecodePngResource(UINT id);
// The largest difference of one channel between the two colours once both are premultiplied.
int PremultipliedDistance(uint32_t a, uint32_t b);
// The largest difference of the red, green or blue channel.
int RgbDistance(uint32_t a, uint32_t b);
