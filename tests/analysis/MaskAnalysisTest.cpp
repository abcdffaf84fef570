#include <gtest/gtest.h>

#include "analysis/MaskAnalysis.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

Mask maskOf(const std::string &text)
{
    const Mask::Parsed parsed = Mask::parse(text);
    EXPECT_TRUE(parsed.mask) << text << ": " << parsed.error;
    return parsed.mask.value_or(Mask(2, {1}));
}

// s_m(z)^k as coefficients over m^(k-1): the B-spline masks of both arities.
std::string bsplineText(int m, int degree)
{
    std::vector<double> c{1};
    for (int k = 0; k <= degree; ++k) {
        std::vector<double> next(c.size() + std::size_t(m) - 1, 0.0);
        for (std::size_t i = 0; i < c.size(); ++i)
            for (int r = 0; r < m; ++r)
                next[i + std::size_t(r)] += c[i];
        c = next;
    }
    std::string text = std::to_string(m) + ":";
    for (const double v : c)
        text += " " + std::to_string(long(v));
    return text + " / " + std::to_string(long(std::pow(m, degree)));
}

bool hasNote(const MaskAnalysis &a, const std::string &words)
{
    return std::any_of(a.notes.begin(), a.notes.end(), [&](const std::string &n) { return n.find(words) != std::string::npos; });
}

// The closed-form cases of the subdivision literature: sum rules,
// smoothness, a regularity interval of width under 0.05 around the known
// value, phi at the integers.
TEST(MaskAnalysisTest, ClosedFormCases)
{
    struct Case
    {
        std::string text;
        int sumRules;
        int smoothness;
        double regularity;
        std::vector<double> phi; // at 0, 1, ...; empty: not checked
        bool interpolatory;
    };
    const double sixth = 1.0 / 6.0;
    const Case cases[] = {
        {"2: 1 2 1 / 2", 2, 0, 1.0, {0, 1, 0}, true},
        {"2: 1 3 3 1 / 4", 3, 1, 2.0, {0, 0.5, 0.5, 0}, false},
        {"2: 1 4 6 4 1 / 8", 4, 2, 3.0, {0, sixth, 4 * sixth, sixth, 0}, false},
        {bsplineText(2, 5), 6, 4, 5.0, {0, 1.0 / 120, 26.0 / 120, 66.0 / 120, 26.0 / 120, 1.0 / 120, 0}, false},
        {bsplineText(2, 9), 10, 8, 9.0, {}, false},
        {"2: -1 0 9 16 9 0 -1 / 16", 4, 1, 2.0, {0, 0, 0, 1, 0, 0, 0}, true},
        {"2: 3 0 -25 0 150 256 150 0 -25 0 3 / 256", 6, 2, 2.83, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}, true},
        {bsplineText(3, 1), 2, 0, 1.0, {0, 1, 0}, true},
        {bsplineText(3, 2), 3, 1, 2.0, {0, 0.5, 0.5, 0}, false},
        {bsplineText(3, 3), 4, 2, 3.0, {0, sixth, 4 * sixth, sixth, 0}, false},
        {bsplineText(3, 6), 7, 5, 6.0, {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const MaskAnalysis a = MaskAnalysis::of(maskOf(c.text));
        EXPECT_TRUE(a.normalised);
        EXPECT_EQ(a.sumRules, c.sumRules);
        EXPECT_EQ(a.smoothness, c.smoothness);
        EXPECT_GE(a.contractionSteps, 1);
        ASSERT_TRUE(a.regularity);
        EXPECT_LE(a.regularity->lower, c.regularity + 0.005);
        EXPECT_GE(a.regularity->upper, c.regularity - 1e-9);
        EXPECT_LT(a.regularity->upper - a.regularity->lower, 0.05);
        EXPECT_EQ(a.interpolatory, c.interpolatory);
        EXPECT_DOUBLE_EQ(a.support, double(a.mask.size() - 1) / (a.arity - 1));
        ASSERT_TRUE(a.basisAtIntegers);
        EXPECT_EQ(a.basisAtIntegers->size(), std::size_t(a.support) + 1);
        for (std::size_t j = 0; j < c.phi.size(); ++j)
            EXPECT_NEAR((*a.basisAtIntegers)[j], c.phi[j], 1e-14) << "phi(" << j << ")";
    }
    // The four-point scheme's upper bound is exactly 2.
    EXPECT_NEAR(MaskAnalysis::of(maskOf("2: -1 0 9 16 9 0 -1 / 16")).regularity->upper, 2.0, 1e-12);
}

// The four-point family -w, 0, 1/2 + w, 1, 1/2 + w, 0, -w: two sum rules
// unless w = 1/16, and C^1 for 0 < w < (sqrt 5 - 1) / 8.
TEST(MaskAnalysisTest, FourPointFamily)
{
    for (const double w : {0.02, 0.05, 0.1, 0.125}) {
        SCOPED_TRACE(w);
        const MaskAnalysis a = MaskAnalysis::of(Mask(2, {-w, 0, 0.5 + w, 1, 0.5 + w, 0, -w}));
        EXPECT_EQ(a.sumRules, 2);
        EXPECT_EQ(a.smoothness, 1);
        EXPECT_TRUE(a.interpolatory);
        ASSERT_TRUE(a.regularity);
        EXPECT_GT(a.regularity->lower, 1.0);
        EXPECT_LE(a.regularity->upper, 2.0);
    }
    // Past the interval the limit is no longer smooth: the bound says so.
    const MaskAnalysis wide = MaskAnalysis::of(Mask(2, {-0.25, 0, 0.75, 1, 0.75, 0, -0.25}));
    EXPECT_LT(wide.smoothness, 1);
    ASSERT_TRUE(wide.regularity);
    EXPECT_LT(wide.regularity->upper, 1.0);
}

TEST(MaskAnalysisTest, SchemesThatDoNotConverge)
{
    // Sub-masks of 1.5 and 0.5: not affine invariant.
    const MaskAnalysis unequal = MaskAnalysis::of(maskOf("2: 1 0.5 0.5 0"));
    EXPECT_FALSE(unequal.normalised);
    EXPECT_EQ(unequal.sumRules, 0);
    EXPECT_EQ(unequal.smoothness, -1);
    EXPECT_FALSE(unequal.regularity);
    EXPECT_FALSE(unequal.basisAtIntegers);
    EXPECT_TRUE(hasNote(unequal, "sub-masks sum to 1.5 and 0.5: the scheme is not affine invariant"));
    EXPECT_TRUE(hasNote(unequal, "1 trailing zero coefficient dropped"));
    EXPECT_EQ(unequal.mask, (std::vector<double>{1, 0.5, 0.5}));

    // Chaikin's mask without its denominator: equal sums of 4.
    const MaskAnalysis unscaled = MaskAnalysis::of(maskOf("2: 0 1 3 3 1"));
    EXPECT_FALSE(unscaled.normalised);
    EXPECT_EQ(unscaled.sumRules, 3);
    EXPECT_FALSE(unscaled.regularity);
    EXPECT_TRUE(hasNote(unscaled, "divided by 4 it would be"));
    EXPECT_TRUE(hasNote(unscaled, "1 leading zero coefficient dropped"));

    // Doubling without averaging: the limit is a step function.
    const MaskAnalysis steps = MaskAnalysis::of(maskOf("2: 1 1"));
    EXPECT_TRUE(steps.normalised);
    EXPECT_EQ(steps.sumRules, 1);
    EXPECT_EQ(steps.smoothness, -1);
    EXPECT_FALSE(steps.regularity);
    EXPECT_TRUE(hasNote(steps, "the scheme does not converge"));

    const MaskAnalysis zero = MaskAnalysis::of(maskOf("3: 0 0"));
    EXPECT_EQ(zero.mask, std::vector<double>{0});
    EXPECT_FALSE(zero.regularity);
    EXPECT_EQ(zero.support, 0.0);
}

TEST(MaskAnalysisTest, ConvergenceAloneAgreesWithTheWholeAnalysis)
{
    for (const char *text : {"2: 1 2 1 / 2", "2: 1 1", "2: -1 0 9 16 9 0 -1 / 16", "2: 1 0.5 0.5", "3: 1 2 3 2 1 / 3",
                             "2: -0.25 0 0.75 1 0.75 0 -0.25", "2: 0.4 0.6 0.6 0.4"}) {
        const Mask mask = maskOf(text);
        EXPECT_EQ(MaskAnalysis::provesConvergence(mask), MaskAnalysis::of(mask).smoothness >= 0) << text;
    }
}

} // namespace
