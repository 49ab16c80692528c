#pragma once
// Where the red box of the test scene lies in an X window's picture: its
// extent along the window's middle row and middle column (read with
// XGetImage), so that tests can check that a picture fills its window and
// keeps its aspect. Header only.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "common/PngImage.h"

namespace lvxtest {

struct SRedBoxExtent {
    int left = 0, right = -1, top = 0, bottom = -1;  // inclusive; right < left: no red seen
    bool cornersBlue = false;                        // the top right and bottom left corners
    double CentreX() const { return (left + right) / 2.0; }
    double CentreY() const { return (top + bottom) / 2.0; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

inline SRedBoxExtent MeasureRedBox(Display* display, Window window, int width, int height) {
    SRedBoxExtent box;
    box.left = width;
    box.top = height;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return box;
    const auto pixel = [image](int x, int y) { return static_cast<std::uint32_t>(XGetPixel(image, x, y)); };
    for (int x = 0; x < width; ++x) {
        if (IsReddish(pixel(x, height / 2))) {
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
        }
    }
    for (int y = 0; y < height; ++y) {
        if (IsReddish(pixel(width / 2, y))) {
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    box.cornersBlue = IsBlue(pixel(width - 3, 2)) && IsBlue(pixel(2, height - 3));
    XDestroyImage(image);
    return box;
}

// The box in the middle of a width x height picture, as wide as it is tall
// (the projection took the picture's aspect), on the blue background.
inline void ExpectCentredSquareBox(const SRedBoxExtent& box, int width, int height) {
    EXPECT_NEAR(box.CentreX(), width / 2.0, 3.0);
    EXPECT_NEAR(box.CentreY(), height / 2.0, 3.0);
    EXPECT_NEAR(box.Width(), box.Height(), 4)
        << box.left << ".." << box.right << " x " << box.top << ".." << box.bottom;
    EXPECT_TRUE(box.cornersBlue);
}

}  // namespace lvxtest
