// libFuzzer target: arbitrary bytes imported as points (text lines or
// SVG). The importer must either refuse them in one sentence naming the
// source, leaving the result alone, or give at most maxPoints finite
// points; fitting them into the view keeps them finite and inside.
#include "document/PointImport.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    PointImport::Result result;
    result.points = {Vector(1, 2)};
    const QString problem = PointImport::read(text, "input", result);
    if (!problem.isEmpty()) {
        if (!problem.contains("input") || result.points.size() != 1 || problem.contains('\n')) {
            std::cerr << "a refusal must name the source in one line and change nothing: "
                      << problem.toStdString() << std::endl;
            std::abort();
        }
        return 0;
    }
    if (result.points.empty() || result.points.size() > PointImport::maxPoints)
        std::abort();
    PointImport::fitInto(result.points, 0, 0, 10);
    for (const Vector &p : result.points)
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::abs(p.x()) > 10 || std::abs(p.y()) > 10) {
            std::cerr << "an imported point is not finite or not fitted" << std::endl;
            std::abort();
        }
    return 0;
}
