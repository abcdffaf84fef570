#include "CurveTesting.h"

#include "model/Scene.h"
#include "geometry/ViewTransform.h"
#include "render/DeviceMapping.h"
#include "render/InfluenceLayer.h"
#include "render/PainterCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

// Show Influence's layouts drawn on an image: the halo covers the support
// of the control point and nothing else, the band fills the space between
// the curve and its ghost.
namespace {

constexpr int side = 200;

class InfluenceLayerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        scene.replacePolygon(polygons::pentagon(), true);
        scene.select(Schemes::BSpline);
        scene.setLevel(3);
        scene.update();
        curve = scene.selectedCurve();
    }

    // The pixels of draw's picture in colour (within 8 bits).
    int pixelsOf(const std::function<void(Canvas &)> &draw, QColor colour)
    {
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterCanvas canvas(painter, DeviceMapping::image(ViewTransform(), side));
        draw(canvas);
        painter.end();
        int count = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                count += QColor(image.pixel(x, y)) == colour;
        return count;
    }

    Scene scene;
    Curve *curve = nullptr;
    InfluenceLayer layer;
};

TEST_F(InfluenceLayerTest, HaloOverTheSupportOnly)
{
    const std::optional<Curve::Span> span = curve->influence(0);
    ASSERT_TRUE(span && span->count > 0 && span->count < curve->result->count);
    layer.setSupport(*curve, 0, 0.0, {1, 0, 0.0});
    EXPECT_TRUE(layer.holdsSupport({1, 0, 0.0}));
    EXPECT_FALSE(layer.holdsSupport({1, 1, 0.0}));
    EXPECT_EQ(layer.supportVertices(), span->count);
    const QColor orange(255, 114, 0);
    EXPECT_GT(pixelsOf([&](Canvas &c) { layer.drawSupport(c, 1.0f); }, orange), 100);

    // No point under the pointer: nothing to draw.
    layer.setSupport(*curve, std::nullopt, 0.0, {1, std::nullopt, 0.0});
    EXPECT_EQ(layer.supportVertices(), 0u);
    EXPECT_EQ(pixelsOf([&](Canvas &c) { layer.drawSupport(c, 1.0f); }, orange), 0);
}

TEST_F(InfluenceLayerTest, BandBetweenCurveAndGhost)
{
    layer.setDisplacement(*curve, 1);
    EXPECT_EQ(layer.displacementQuads(), 0u) << "no drag, no band";
    // A drag that moved every point one unit up.
    for (Node<Point> *n = curve->result->head; n; n = n->next) {
        n->item->hasGhost = true;
        n->item->ghost = n->item->position + Vector(0, -1);
    }
    layer.setDisplacement(*curve, 2);
    EXPECT_TRUE(layer.holdsDisplacement(2));
    EXPECT_EQ(layer.displacementQuads(), curve->result->count - 1);
    // The band is a unit high along the curve's width of about 7.5 units:
    // 10 pixels a unit, so several hundred pixels.
    const int shaded = pixelsOf([&](Canvas &c) { layer.drawDisplacement(c); }, QColor(255, 219, 158));
    EXPECT_GT(shaded, 500);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
