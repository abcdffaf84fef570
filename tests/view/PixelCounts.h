#pragma once

#include <QImage>

#include <cstdlib>

// Pixels where some channel of a and b (of one size) differs by more than
// an eighth of full intensity.
inline qsizetype differingPixels(const QImage &a, const QImage &b)
{
    qsizetype count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            count += std::abs(qRed(p) - qRed(q)) > 32 || std::abs(qGreen(p) - qGreen(q)) > 32 ||
                     std::abs(qBlue(p) - qBlue(q)) > 32;
        }
    }
    return count;
}

// Pixels at least half covered by the curve colour (0.65, 0.53, 1.0): the
// only colour in the view whose blue exceeds its green by that much.
inline qsizetype curvePixels(const QImage &image)
{
    qsizetype count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qBlue(image.pixel(x, y)) - qGreen(image.pixel(x, y)) >= 60;
    return count;
}
