#include "geometry/Point.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

Point at(double x, double y)
{
    return Point(Vector(x, y));
}

Point ghosted(double x, double y, double gx, double gy)
{
    Point p = at(x, y);
    p.hasGhost = true;
    p.ghost = Vector(gx, gy);
    return p;
}

} // namespace

TEST(PointTest, NewPointHasInitialFields)
{
    const Point p(Vector(1, 2, 3));
    EXPECT_EQ(p.position, Vector(1, 2, 3));
    EXPECT_FALSE(p.selected || p.hasGhost || p.edgeHighlighted || p.highlighted);
    EXPECT_EQ(p.ghost, Vector());
    EXPECT_EQ(p.level, 0);
}

TEST(PointTest, CopyKeepsEverythingAndIsIndependent)
{
    Point source = ghosted(1, 2, 3, 4);
    source.selected = source.edgeHighlighted = source.highlighted = true;
    source.level = 7;
    Point copy = source;
    EXPECT_TRUE(copy.selected && copy.hasGhost && copy.edgeHighlighted && copy.highlighted);
    EXPECT_EQ(copy.ghost, Vector(3, 4));
    EXPECT_EQ(copy.level, 7);
    copy.position[0] = 100;
    EXPECT_EQ(source.position, Vector(1, 2));
}

TEST(PointTest, SignedAreaIsPositiveCounterClockwise)
{
    const Point t = at(0, 0), a = at(1, 0), b = at(0, 1);
    EXPECT_DOUBLE_EQ(t.signedArea(a, b), 0.5);
    EXPECT_DOUBLE_EQ(t.signedArea(b, a), -0.5);
    EXPECT_DOUBLE_EQ(t.signedArea(t, b), 0.0);
    EXPECT_DOUBLE_EQ(at(1, 1).signedArea(at(3, 1), at(1, 5)), 4.0) << "translation does not matter";
}

struct CombineCase
{
    const char *name;
    Point a, b;
    double t;
    Vector position;
    bool hasGhost;
    Vector ghost;
};

TEST(PointTest, CombineWeighsPositionsAndGhosts)
{
    const CombineCase cases[] = {
        {"no ghosts, midpoint", at(0, 0), at(2, 4), 0.5, {1, 2}, false, {}},
        {"only a has a ghost", ghosted(0, 0, 4, 0), at(0, 4), 0.75, {0, 1}, true, {3, 1}},
        {"only b has a ghost", at(0, 4), ghosted(0, 0, 4, 0), 0.25, {0, 1}, true, {3, 1}},
        {"both have ghosts", ghosted(0, 0, 2, 2), ghosted(4, 0, 6, 2), 0.5, {2, 0}, true, {4, 2}},
        {"t = 1 gives a", ghosted(1, 1, 5, 5), at(3, 3), 1.0, {1, 1}, true, {5, 5}},
        {"t = 0 gives b", at(1, 1), at(3, 3), 0.0, {3, 3}, false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<Point> p(combine(c.a, c.b, c.t));
        EXPECT_EQ(p->position, c.position);
        EXPECT_EQ(p->hasGhost, c.hasGhost);
        EXPECT_EQ(p->ghost, c.ghost);
    }
}

TEST(PointTest, CombineDropsFlagsAndLevel)
{
    Point a = at(0, 0), b = at(2, 0);
    a.selected = b.highlighted = a.edgeHighlighted = true;
    a.level = b.level = 4;
    const std::unique_ptr<Point> p(combine(a, b, 0.5));
    EXPECT_FALSE(p->selected || p->highlighted || p->edgeHighlighted);
    EXPECT_EQ(p->level, 0);
}

TEST(PointTest, CombineIntoMayOverwriteAnInput)
{
    Point a = ghosted(0, 0, 2, 0), b = at(4, 0);
    combineInto(a, a, b, 0.5);
    EXPECT_EQ(a.position, Vector(2, 0));
    EXPECT_EQ(a.ghost, Vector(3, 0));
    EXPECT_TRUE(a.hasGhost);
}
