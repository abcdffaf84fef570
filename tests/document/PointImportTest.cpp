// Points from text and SVG: what is read, and the one sentence for what
// cannot be.
#include "document/PointImport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Readable
{
    const char *what;
    const char *text;
    std::vector<Vector> points;
    bool closed;
};

class Reads : public testing::TestWithParam<Readable>
{
};

TEST_P(Reads, ThePointsInOrder)
{
    PointImport::Result result;
    ASSERT_EQ(PointImport::read(GetParam().text, "in.txt", result), QString());
    EXPECT_EQ(result.points, GetParam().points);
    EXPECT_EQ(result.closed, GetParam().closed);
}

INSTANTIATE_TEST_SUITE_P(
    TextAndSvg, Reads,
    testing::Values(
        Readable{"csv with header", "x,y\n1,2\n-3.5,4e1\n\n", {{1, 2}, {-3.5, 40}}, false},
        Readable{"white space, comments, CRLF", "# from a tool\r\n 1 2\r\n\t3\t4\r\n5;6", {{1, 2}, {3, 4}, {5, 6}}, false},
        Readable{"svg path, relative, closed",
                 "<svg><g><path d='M10 20 l5 0 v-5 h-5 z M 0 0 L 9 9'/></g></svg>",
                 {{10, -20}, {15, -20}, {15, -15}, {10, -15}},
                 true},
        Readable{"svg curve keeps its control points",
                 "<svg><path d='M0,0C1,1 2,1 3,0Q4-1,5,0A1 1 0 1 0 7 0'/></svg>",
                 {{0, 0}, {1, -1}, {2, -1}, {3, 0}, {4, 1}, {5, 0}, {7, 0}},
                 false},
        Readable{"svg polygon after other shapes",
                 "<?xml version='1.0'?>\n<svg><rect width='3'/><polygon points='1,1 2,2 3,1'/></svg>",
                 {{1, -1}, {2, -2}, {3, -1}},
                 true}),
    [](const testing::TestParamInfo<Readable> &info) { return "case" + std::to_string(info.index); });

struct Refused
{
    const char *text;
    const char *sentence;
};

class Refuses : public testing::TestWithParam<Refused>
{
};

TEST_P(Refuses, WithOneSentenceNamingFileAndLine)
{
    PointImport::Result result;
    result.points = {{7, 7}};
    EXPECT_EQ(PointImport::read(GetParam().text, "in.txt", result), QString(GetParam().sentence));
    EXPECT_EQ(result.points, std::vector<Vector>{Vector(7, 7)}); // untouched
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Refuses,
    testing::Values(
        Refused{"x,y\n1,2\n3\n", "Line 3 of in.txt is not a point: expected two finite numbers x and y, found \"3\"."},
        Refused{"1 2\nx y\n", "Line 2 of in.txt is not a point: expected two finite numbers x and y, found \"x y\"."},
        Refused{"1 2 3\n", "Line 1 of in.txt is not a point: expected two finite numbers x and y, found \"1 2 3\"."},
        Refused{"1 nan\n", "Line 1 of in.txt is not a point: expected two finite numbers x and y, found \"1 nan\"."},
        Refused{"1 1e999\n", "Line 1 of in.txt is not a point: expected two finite numbers x and y, found \"1 1e999\"."},
        Refused{"x,y\n\n", "in.txt holds no points."},
        Refused{"<svg><circle r='3'/></svg>", "in.txt has no path, polyline or polygon."},
        Refused{"<svg>\n<path d='M1 2 L3'/></svg>", "In in.txt, the path at line 2 cannot be read: the path's 'L' lacks a number or has one that is not finite."},
        Refused{"<svg><path d='M1 2 X3 4'/>", "In in.txt, the path at line 1 cannot be read: the path has an unknown command 'X'."},
        Refused{"<svg><path d='M1 2'", "in.txt is not valid SVG: Premature end of document. at line 1."}));

TEST(PointImport, LimitsTheCount)
{
    QByteArray many;
    for (std::size_t i = 0; i <= PointImport::maxPoints; ++i)
        many += "1 2\n";
    PointImport::Result result;
    EXPECT_EQ(PointImport::read(many, "big.csv", result), QString("big.csv holds more than 100000 points."));
}

TEST(PointImport, FitsWhatDoesNotFit)
{
    std::vector<Vector> inside{{-1, -1}, {2, 3}};
    EXPECT_FALSE(PointImport::fitInto(inside, 0, 0, 10));
    EXPECT_EQ(inside, (std::vector<Vector>{{-1, -1}, {2, 3}}));

    // 0..200 by 0..100, into the square centred at (1, 1), half side 10:
    // the wider extent fills 90% of its side, the centres meet.
    std::vector<Vector> large{{0, 0}, {200, 100}, {100, 50}};
    EXPECT_TRUE(PointImport::fitInto(large, 1, 1, 10));
    EXPECT_EQ(large, (std::vector<Vector>{{-8, -3.5}, {10, 5.5}, {1, 1}}));
}

} // namespace
