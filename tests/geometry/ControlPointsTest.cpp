#include "geometry/ControlPoints.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace {

class ControlPointsTest : public testing::Test
{
protected:
    ControlPoints polygon;

    void add(std::initializer_list<std::pair<double, double>> pts)
    {
        for (const auto &[x, y] : pts)
            ASSERT_TRUE(polygon.insertPoint(Vector(x, y)));
    }

    Point &point(std::uint32_t i) { return *polygon.points.indexNode(i)->item; }

    std::vector<Vector> positions()
    {
        std::vector<Vector> result;
        for (auto *n = polygon.points.head; n; n = n->next)
            result.push_back(n->item->position);
        return result;
    }
};

} // namespace

TEST_F(ControlPointsTest, StartsOpenEmptyAndDirty)
{
    EXPECT_FALSE(polygon.closed);
    EXPECT_TRUE(polygon.dirty);
    EXPECT_FALSE(polygon.highlighted);
    EXPECT_EQ(polygon.points.count, 0u);
    EXPECT_EQ(polygon.edgeCount(), -1);
    EXPECT_FALSE(polygon.highlightEdge(Vector()));
}

TEST_F(ControlPointsTest, InsertAppendsEvenOnTopOfAPoint)
{
    add({{0, 0}, {1, 0}});
    polygon.dirty = false;
    ASSERT_TRUE(polygon.insertPoint(Vector(0, 0)));
    EXPECT_TRUE(polygon.dirty);
    EXPECT_EQ(positions(), (std::vector<Vector>{{0, 0}, {1, 0}, {0, 0}}));
}

TEST_F(ControlPointsTest, PickRadiusIsInclusive)
{
    add({{0.1, 0}, {5, 5}});
    EXPECT_EQ(polygon.pickPoint(Vector(0, 0)), &point(1));
    polygon.points.head->item->position = Vector(0.1000001, 0);
    EXPECT_EQ(polygon.pickPoint(Vector(0, 0)), nullptr);
}

struct AreaCase
{
    const char *name;
    std::vector<std::pair<double, double>> points;
    bool closed;
    double area;
};

TEST_F(ControlPointsTest, AreaSignFollowsOrientation)
{
    const AreaCase cases[] = {
        {"counter-clockwise triangle", {{0, 0}, {1, 0}, {0, 1}}, true, -0.5},
        {"clockwise triangle", {{0, 0}, {0, 1}, {1, 0}}, true, 0.5},
        {"open polygon", {{0, 0}, {1, 0}, {0, 1}}, false, 0.0},
        {"two points", {{0, 0}, {1, 0}}, true, 0.0},
        {"counter-clockwise unit square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, true, -1.0},
        {"clockwise concave", {{0, 0}, {0, 4}, {2, 2}, {4, 4}, {4, 0}}, true, 12.0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ControlPoints p;
        for (const auto &[x, y] : c.points)
            p.insertPoint(Vector(x, y));
        p.closed = c.closed;
        EXPECT_DOUBLE_EQ(p.area(), c.area);
    }
}

TEST_F(ControlPointsTest, AreaIsCachedWhileClean)
{
    add({{0, 0}, {0, 1}, {1, 0}});
    polygon.closed = true;
    EXPECT_DOUBLE_EQ(polygon.area(), 0.5);
    EXPECT_TRUE(polygon.dirty) << "the curves clear dirty, not area()";
    polygon.dirty = false;
    point(2).position = Vector(0, 3);
    EXPECT_DOUBLE_EQ(polygon.area(), 0.5) << "clean: cached value";
    polygon.dirty = true;
    EXPECT_DOUBLE_EQ(polygon.area(), 1.5);
    polygon.clear();
    EXPECT_DOUBLE_EQ(polygon.area(), 0.0);
    EXPECT_TRUE(polygon.closed) << "clear keeps closed";
}

TEST_F(ControlPointsTest, MidpointSplitsTheEdgeUnderTheCursor)
{
    add({{0, 0}, {2, 0}, {2, 2}});
    polygon.dirty = false;
    Point *m = polygon.insertMidpoint(Vector(2.05, 0));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->position, Vector(2, 1));
    EXPECT_TRUE(polygon.dirty);
    EXPECT_EQ(positions(), (std::vector<Vector>{{0, 0}, {2, 0}, {2, 1}, {2, 2}}));
}

TEST_F(ControlPointsTest, MidpointAtTheLastPoint)
{
    add({{0, 0}, {2, 0}, {2, 2}});
    polygon.dirty = false;
    EXPECT_EQ(polygon.insertMidpoint(Vector(2, 2)), nullptr) << "open: no edge starts there";
    EXPECT_FALSE(polygon.dirty);
    EXPECT_EQ(polygon.points.count, 3u);
    EXPECT_EQ(polygon.insertMidpoint(Vector(7, 7)), nullptr);

    polygon.closed = true;
    Point *m = polygon.insertMidpoint(Vector(2, 2));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(polygon.points.tail->item, m) << "closing edge: new last point";
    EXPECT_EQ(m->position, Vector(1, 1));
}

TEST_F(ControlPointsTest, MidpointOfASinglePointClosedPolygonDoublesIt)
{
    add({{3, 3}});
    polygon.closed = true;
    Point *m = polygon.insertMidpoint(Vector(3, 3));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(positions(), (std::vector<Vector>{{3, 3}, {3, 3}}));
}

TEST_F(ControlPointsTest, CoincidentPointsActOnTheLowerIndexExceptSelection)
{
    add({{0, 0}, {0.05, 0}, {5, 5}});
    EXPECT_EQ(polygon.pickPoint(Vector(0.02, 0)), &point(1));
    EXPECT_TRUE(polygon.highlightPoint(Vector(0.02, 0)));
    EXPECT_TRUE(point(1).highlighted);
    EXPECT_FALSE(point(2).highlighted);
    EXPECT_TRUE(polygon.highlightEdge(Vector(0.02, 0)));
    EXPECT_TRUE(point(1).edgeHighlighted);
    EXPECT_FALSE(point(2).edgeHighlighted);

    point(3).selected = true;
    EXPECT_EQ(polygon.selectPoint(Vector(0.02, 0)), &point(2)) << "returns the last one";
    EXPECT_TRUE(point(1).selected && point(2).selected);
    EXPECT_FALSE(point(3).selected);
    EXPECT_EQ(polygon.selectPoint(Vector(9, 9)), nullptr);
    EXPECT_FALSE(point(1).selected || point(2).selected);

    ASSERT_TRUE(polygon.deletePoint(Vector(0.02, 0)));
    EXPECT_EQ(positions(), (std::vector<Vector>{{0.05, 0}, {5, 5}}));
}

TEST_F(ControlPointsTest, EdgeHighlightsAccumulateUntilCleared)
{
    add({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}});
    ASSERT_TRUE(polygon.highlightEdge(Vector(4, 0)));
    ASSERT_TRUE(polygon.highlightEdge(Vector(1, 0)));
    EXPECT_TRUE(point(2).edgeHighlighted);
    EXPECT_TRUE(point(5).edgeHighlighted) << "points after the match keep their flag";
    EXPECT_TRUE(polygon.highlighted);

    EXPECT_FALSE(polygon.highlightEdge(Vector(5, 0))) << "no edge starts at the last point of an open polygon";
    EXPECT_FALSE(point(2).edgeHighlighted || point(5).edgeHighlighted) << "visited edges are cleared";
    polygon.closed = true;
    EXPECT_TRUE(polygon.highlightEdge(Vector(5, 0)));

    point(3).selected = true;
    polygon.highlightPoint(Vector(3, 0));
    polygon.clearHighlight();
    EXPECT_FALSE(polygon.highlighted);
    for (std::uint32_t i = 1; i <= 6; ++i)
        EXPECT_FALSE(point(i).edgeHighlighted || point(i).highlighted);
    EXPECT_TRUE(point(3).selected) << "selection is untouched";
}

TEST_F(ControlPointsTest, FailedHighlightLeavesPolygonFlag)
{
    add({{0, 0}, {1, 0}});
    polygon.highlighted = true;
    EXPECT_FALSE(polygon.highlightPoint(Vector(9, 9)));
    EXPECT_TRUE(polygon.highlighted);
}

TEST_F(ControlPointsTest, DeleteRelinksAndMarksDirty)
{
    add({{0, 0}, {1, 0}, {2, 0}});
    polygon.dirty = false;
    EXPECT_FALSE(polygon.deletePoint(Vector(9, 9)));
    EXPECT_FALSE(polygon.dirty);
    ASSERT_TRUE(polygon.deletePoint(Vector(0, 0)));
    EXPECT_TRUE(polygon.dirty);
    EXPECT_EQ(polygon.points.head->item->position, Vector(1, 0));
    EXPECT_EQ(polygon.points.head->prev, nullptr);
    ASSERT_TRUE(polygon.deletePoint(Vector(1, 0)));
    ASSERT_TRUE(polygon.deletePoint(Vector(2, 0)));
    EXPECT_EQ(polygon.points.count, 0u);
    EXPECT_EQ(polygon.points.head, nullptr);
    EXPECT_EQ(polygon.points.tail, nullptr);
}

TEST_F(ControlPointsTest, ClearRemovesEverything)
{
    add({{0, 0}, {1, 0}, {2, 0}});
    polygon.highlightPoint(Vector(1, 0));
    polygon.dirty = false;
    polygon.clear();
    EXPECT_EQ(polygon.points.count, 0u);
    EXPECT_FALSE(polygon.highlighted);
    EXPECT_TRUE(polygon.dirty);
    EXPECT_TRUE(polygon.insertPoint(Vector(4, 4)));
    EXPECT_EQ(polygon.points.head, polygon.points.tail);
}
