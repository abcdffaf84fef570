#include "CurveTesting.h"

#include "geometry/ViewTransform.h"
#include "model/PolygonEditor.h"
#include "model/Scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Edits of the polygon as undo steps: what each edit reports, a drag as
// one step, and putting a snapshot back.
namespace {

struct Step
{
    PolygonSnapshot::Shared before, after;
    std::string name;
};

class PolygonEditorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        editor.edited = [this](const PolygonSnapshot::Shared &before, const PolygonSnapshot::Shared &after,
                               const std::string &name) { steps.push_back({before, after, name}); };
        startOver();
    }

    // The open unit square, and no steps yet.
    void startOver()
    {
        editor.restore(std::make_shared<const PolygonSnapshot>(PolygonSnapshot{polygons::unitSquare(), false}));
        steps.clear();
    }

    Scene scene;
    PolygonEditor editor{scene};
    std::vector<Step> steps;
};

} // namespace

TEST_F(PolygonEditorTest, EveryEditIsOneNamedStep)
{
    struct Case
    {
        const char *name;
        std::function<bool(PolygonEditor &)> edit;
        std::size_t pointsAfter;
    };
    const Case cases[] = {
        {"Append Point", [](PolygonEditor &e) { return e.append({5, 5}); }, 5},
        {"Split Edge", [](PolygonEditor &e) { return e.split({1, 0}) != nullptr; }, 5},
        {"Delete Point", [](PolygonEditor &e) { return e.remove({0, 1}); }, 3},
        {"Delete Control Points", [](PolygonEditor &e) { return e.removeAll(); }, 0},
        {"Close Polygon", [](PolygonEditor &e) { return e.setClosed(true); }, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        startOver();
        const PolygonSnapshot::Shared before = editor.currentPolygon();
        ASSERT_TRUE(c.edit(editor));
        ASSERT_EQ(steps.size(), 1u);
        EXPECT_EQ(steps[0].name, c.name);
        EXPECT_EQ(steps[0].before, before);
        EXPECT_EQ(steps[0].after->points.size(), c.pointsAfter);
        EXPECT_EQ(steps[0].after, editor.currentPolygon()) << "the snapshot after is the polygon now";
    }
    // Edits that change nothing are no steps.
    startOver();
    EXPECT_FALSE(editor.remove({7, 7}));
    EXPECT_FALSE(editor.setClosed(false));
    EXPECT_EQ(editor.split({7, 7}), nullptr);
    EXPECT_TRUE(steps.empty());
}

TEST_F(PolygonEditorTest, ADragIsOneStep)
{
    Point *moving = editor.beginDrag({1, 1});
    ASSERT_NE(moving, nullptr);
    for (int i = 0; i < 5; ++i)
        editor.dragBy(0.5, 0);
    EXPECT_TRUE(moving->hasGhost);
    EXPECT_EQ(moving->ghost, Vector(1, 1));
    EXPECT_TRUE(steps.empty());
    editor.endDrag();
    EXPECT_FALSE(moving->hasGhost);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "Move Point");
    EXPECT_EQ(steps[0].after->points[2], Vector(3.5, 1));

    // Committed in the middle, the drag goes on as a step of its own, which
    // starts where the first ended.
    editor.beginDrag({0, 0});
    editor.dragBy(0, -1);
    editor.commitDrag();
    editor.dragBy(0, -1);
    editor.endDrag();
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[2].before, steps[1].after);
    EXPECT_EQ(steps[2].after->points[0], Vector(0, -2));

    // Points stay within any view's reach.
    editor.beginDrag({0, -2});
    editor.dragBy(-1e6, 0);
    editor.endDrag();
    EXPECT_EQ(scene.polygon().points.head->item->position.x(), -ViewTransform::reach);
}

TEST_F(PolygonEditorTest, RestorePutsASnapshotBack)
{
    const PolygonSnapshot::Shared square = editor.currentPolygon();
    editor.beginDrag({1, 0});
    editor.dragBy(2, 2);
    scene.update();
    editor.restore(square);
    EXPECT_EQ(editor.movingPoint, nullptr) << "the drag ends with the points it moved";
    EXPECT_TRUE(steps.empty()) << "a restore is no step";
    EXPECT_EQ(positionsOf(scene.polygon().points), polygons::unitSquare());
    EXPECT_TRUE(scene.polygon().dirty);
    EXPECT_EQ(editor.currentPolygon(), square) << "the same snapshot, shared";
}

TEST_F(PolygonEditorTest, SelectedPointsAndTypedCoordinates)
{
    // The selection (here the two points at x = 1) goes as one step.
    ControlPoints &polygon = scene.polygon();
    for (Node<Point> *n = polygon.points.head; n; n = n->next)
        n->item->selected = n->item->position.x() == 1;
    EXPECT_EQ(editor.removeSelected(), 2u);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "Delete Selected Points");
    EXPECT_EQ(positionsOf(polygon.points), (std::vector<Vector>{{0, 0}, {0, 1}}));
    EXPECT_EQ(editor.removeSelected(), 0u);
    EXPECT_EQ(steps.size(), 1u) << "nothing selected: no step";

    // A typed position is a step; the same position, or a point that is
    // not there, is none; a far one is kept within reach.
    startOver();
    EXPECT_TRUE(editor.setPosition(1, {2.5, -1}));
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "Edit Point");
    EXPECT_EQ(steps[0].after->points[1], Vector(2.5, -1));
    EXPECT_FALSE(editor.setPosition(1, {2.5, -1}));
    EXPECT_FALSE(editor.setPosition(4, {0, 0}));
    EXPECT_EQ(steps.size(), 1u);
    EXPECT_TRUE(editor.setPosition(0, {1e9, 0}));
    EXPECT_EQ(polygon.points.head->item->position.x(), ViewTransform::reach);

    // A dragged point that is deleted is no longer dragged.
    startOver();
    Point *moving = editor.beginDrag({1, 1});
    moving->selected = true;
    editor.removeSelected();
    EXPECT_EQ(editor.movingPoint, nullptr);
}

TEST_F(PolygonEditorTest, ADragOnALatticeFollowsThePointer)
{
    const Lattice grid{2.0, -10.0, 10.0};
    Point *moving = editor.beginDrag({1, 1});
    editor.dragBy(0.4, 0.3, grid);
    EXPECT_EQ(moving->position, Vector(2, 2));
    editor.dragBy(0.5, 0.0, grid);
    EXPECT_EQ(moving->position, Vector(2, 2)) << "(1.9, 1.3) is nearest (2, 2) still";
    editor.dragBy(0.2, 0.0);
    EXPECT_NEAR(moving->position.x(), 2.1, 1e-12) << "off the lattice, back under the pointer";
    EXPECT_NEAR(moving->position.y(), 1.3, 1e-12);
    editor.endDrag();
    ASSERT_EQ(steps.size(), 1u);
}

TEST_F(PolygonEditorTest, AnAppendIsWithdrawnWhileNothingFollowed)
{
    ASSERT_TRUE(editor.append({5, 5}));
    const PolygonSnapshot::Shared before = steps.at(0).before;
    EXPECT_TRUE(editor.withdrawAppend());
    EXPECT_EQ(editor.currentPolygon(), before);
    EXPECT_EQ(steps.size(), 1u) << "the keeper of the steps forgets it";
    EXPECT_FALSE(editor.withdrawAppend()) << "once";

    // Not after another edit, nor after the polygon changed otherwise.
    editor.append({5, 5});
    editor.split({0, 0});
    EXPECT_FALSE(editor.withdrawAppend());
    editor.append({6, 6});
    editor.beginDrag({6, 6});
    editor.dragBy(1, 0);
    EXPECT_FALSE(editor.withdrawAppend());
    EXPECT_EQ(scene.polygon().points.count, 7u);
}
