// Reading a rendered picture: how many pixels show a colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdlib>

// The pixels of `area` (the whole image by default) whose red, green and blue
// differ from `wanted` by less than `tolerance` in sum.
inline int pixelsNear(const QImage& image, QColor wanted, int tolerance, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - wanted.red()) + std::abs(pixel.green() - wanted.green())
                    + std::abs(pixel.blue() - wanted.blue())
                < tolerance;
        }
    }
    return count;
}
