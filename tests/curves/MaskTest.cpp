#include <gtest/gtest.h>

#include "curves/Mask.h"

#include <cmath>
#include <limits>

namespace {

TEST(MaskTest, ReadsTheTextForm)
{
    struct Case
    {
        const char *text;
        int arity;
        std::vector<double> coefficients;
    };
    const Case cases[] = {
        {"2: -1 0 9 16 9 0 -1 / 16", 2, {-0.0625, 0, 0.5625, 1, 0.5625, 0, -0.0625}},
        {"3:1,2,3,2,1/3", 3, {1.0 / 3, 2.0 / 3, 1, 2.0 / 3, 1.0 / 3}},
        {"  2 :  0.25\t0.75 0.75 +0.25  ", 2, {0.25, 0.75, 0.75, 0.25}},
        {"2: 1e-1 -2.5E2 / -0.5", 2, {-0.2, 500}},
        {"3: 7", 3, {7}},
    };
    for (const Case &c : cases) {
        const Mask::Parsed parsed = Mask::parse(c.text);
        ASSERT_TRUE(parsed.mask) << c.text << ": " << parsed.error;
        EXPECT_EQ(parsed.mask->arity(), c.arity) << c.text;
        EXPECT_EQ(parsed.mask->coefficients(), c.coefficients) << c.text;
        // The text form reads back to the same mask, digit for digit.
        EXPECT_EQ(Mask::parse(parsed.mask->text()).mask, parsed.mask) << parsed.mask->text();
    }
    EXPECT_EQ(Mask::parse("2: 1 3 3 1 / 4").mask->text(), "2: 0.25 0.75 0.75 0.25");
}

TEST(MaskTest, SaysWhatIsWrong)
{
    struct Case
    {
        std::string text;
        const char *says;
    };
    const Case cases[] = {
        {"4: 1 2 1", "arity must be 2 or 3, not 4"},
        {"two: 1 2 1", "arity must be 2 or 3, not 'two'"},
        {"1 2 1", "no ':'"},
        {"2:", "no coefficients"},
        {"2: / 4", "no coefficients"},
        {"2: 1 x 1", "'x' is not a number"},
        {"2: 1 2abc", "'2abc' is not a number"},
        {"2: 1 +-2", "'+-2' is not a number"},
        {"2: 1 nan 1", "'nan' is not a finite number"},
        {"2: inf", "'inf' is not a finite number"},
        {"2: 1e999", "too large"},
        {"2: 1 2 1 / 0", "denominator is zero"},
        {"2: 1 2 1 / -0.0", "denominator is zero"},
        {"2: 1 2 1 /", "no denominator"},
        {"2: 1 2 1 / 2 3", "only one number may follow"},
        {"2: 1 2 1 / 2 / 3", "only one number may follow"},
        {"2: 1 2 1 / nan", "denominator 'nan' is not a finite number"},
        {"2: 1e300 / 1e-300", "not a finite number"},
        {"3: 2e9", "larger than the largest allowed"},
    };
    for (const Case &c : cases) {
        const Mask::Parsed parsed = Mask::parse(c.text);
        EXPECT_FALSE(parsed.mask) << c.text;
        EXPECT_NE(parsed.error.find(c.says), std::string::npos) << c.text << " gave: " << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "one line";
    }
    std::string many = "2:";
    for (int i = 0; i < 64; ++i)
        many += " 1";
    EXPECT_TRUE(Mask::parse(many).mask);
    EXPECT_NE(Mask::parse(many + " 1").error.find("more than 64 coefficients"), std::string::npos);
}

} // namespace
