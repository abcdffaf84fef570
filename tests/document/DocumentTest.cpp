#include "model/Document.h"

#include <gtest/gtest.h>

namespace {

struct Snap
{
    double value;
    double stored; // what the nearest slider position stores
};

} // namespace

// A u between two slider positions is taken at the nearer one, and stored
// exactly as the slider's slot stores it; the ends 0 and 1 are nudged.
TEST(DocumentTest, NearestUIsWhatTheSliderStores)
{
    const Snap cases[] = {
        {0.333, Document::uFromSlider(33)}, {-0.567, Document::uFromSlider(-57)},
        {0.29, Document::uFromSlider(29)},  {0.004, 0.01},
        {0.0, 0.01},                        {0.99, 0.99},
        {-1.0, -1.0},                       {0.985, 0.99},
    };
    for (const Snap &c : cases) {
        EXPECT_EQ(Document::nearestU(c.value), c.stored) << c.value;
        // Storing twice changes nothing.
        EXPECT_EQ(Document::nearestU(c.stored), c.stored) << c.value;
    }
}

TEST(DocumentTest, NearestPrecisionIsWhatTheSliderStores)
{
    // Position 0 stores 0.05, so 0.07 lies nearer to it than to 0.1.
    const Snap cases[] = {
        {0.05, 0.05}, {0.07, 0.05}, {0.08, Document::precisionFromSlider(1)},
        {0.3, Document::precisionFromSlider(3)}, {9.96, Document::precisionFromSlider(100)}, {10.0, 10.0},
    };
    for (const Snap &c : cases)
        EXPECT_EQ(Document::nearestPrecision(c.value), c.stored) << c.value;
}
