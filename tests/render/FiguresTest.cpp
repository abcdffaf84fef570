#include "CurveTesting.h"

#include "model/Scene.h"
#include "render/Figures.h"
#include "render/Frame.h"
#include "render/SceneRenderer.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

// The pages fit for print: each curve and the polygon one path with round
// joins and caps, in the screen's order (the polygon beneath the curve),
// a margin around the marks, and nothing of the interface (selection,
// highlights) on the page.
namespace {

constexpr int pageSide = 283;

// One SVG element with a stroke or a fill, in document order.
struct Mark
{
    QString element, stroke, fill, cap, join;
    QString d;
    double cx = 0, cy = 0, r = 0;
};

std::vector<Mark> marksOf(const QByteArray &svg)
{
    std::vector<Mark> marks;
    QXmlStreamReader xml(svg);
    std::vector<QXmlStreamAttributes> groups;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("g"))
            groups.pop_back();
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("g")) {
            groups.push_back(xml.attributes());
            continue;
        }
        if (groups.empty())
            continue;
        const QXmlStreamAttributes &g = groups.back();
        const QXmlStreamAttributes a = xml.attributes();
        marks.push_back({xml.name().toString(), g.value("stroke").toString(), g.value("fill").toString(),
                         g.value("stroke-linecap").toString(), g.value("stroke-linejoin").toString(),
                         a.value("d").toString(), a.value("cx").toDouble(), a.value("cy").toDouble(),
                         a.value("r").toDouble()});
    }
    return marks;
}

class FiguresTest : public testing::Test
{
protected:
    void SetUp() override
    {
        scene.replacePolygon(polygons::pentagon(), true);
        scene.select(Schemes::BSpline);
        scene.setLevel(4);
        // Interface state a page must not show.
        scene.polygon().points.head->item->selected = true;
        scene.polygon().highlightEdge(polygons::pentagon()[2]);
        scene.polygon().highlightPoint(polygons::pentagon()[3]);
        scene.update();
    }

    Scene scene;
    SceneRenderer renderer{scene};
    ViewTransform view;
};

} // namespace

TEST_F(FiguresTest, SvgPageFitForPrint)
{
    const Frame page = Frame::page(view, pageSide, true);
    const QRect box = Figures::pageBox(scene, view, pageSide);
    const std::vector<Mark> marks = marksOf(Figures::svg(renderer, page, box, pageSide, "B-spline"));
    int polygonAt = -1, curveAt = -1, curvePaths = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const Mark &m = marks[i];
        EXPECT_NE(m.fill, "#0000ff") << "no selected point";
        EXPECT_NE(m.fill, "#00ffff") << "no highlighted point";
        EXPECT_NE(m.stroke, "#0000ff") << "no highlighted edge";
        if (m.stroke == "#262626" && m.element == "path")
            polygonAt = int(i);
        if (m.stroke == "#a587ff") {
            curveAt = int(i);
            ++curvePaths;
            EXPECT_EQ(m.cap, "round");
            EXPECT_EQ(m.join, "round");
        }
        if (m.element == "circle") {
            // The control points' dots, a point's margin inside the page.
            EXPECT_GE(m.cx - m.r, Figures::margin - 0.5);
            EXPECT_LE(m.cx + m.r, box.width() - Figures::margin + 0.5);
            EXPECT_GE(m.cy - m.r, Figures::margin - 0.5);
            EXPECT_LE(m.cy + m.r, box.height() - Figures::margin + 0.5);
        }
    }
    EXPECT_EQ(curvePaths, 1) << "the curve is one path";
    ASSERT_GE(polygonAt, 0);
    EXPECT_LT(polygonAt, curveAt) << "the polygon lies beneath the curve";
    // The loop's path runs through all 80 points of level 4 and closes.
    const Mark &curve = marks[std::size_t(curveAt)];
    EXPECT_EQ(curve.d.count(QRegularExpression("[ML]")), 5 * 16 + 1);
}

TEST_F(FiguresTest, PdfPageFitForPrint)
{
    const Frame page = Frame::page(view, pageSide, true);
    const QRect box = Figures::pageBox(scene, view, pageSide);
    const QByteArray pdf = Figures::pdf(renderer, page, box, pageSide, "B-spline");
    EXPECT_TRUE(pdf.startsWith("%PDF-1.4"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_TRUE(pdf.contains("1 J 1 j")) << "round caps and joins";
    EXPECT_TRUE(pdf.contains(QString("/MediaBox [0 0 %1 %2]").arg(box.width()).arg(box.height()).toLatin1()));
    EXPECT_FALSE(pdf.contains("0 0 1 rg")) << "no selected point";
    EXPECT_FALSE(pdf.contains("0 1 1 rg")) << "no highlighted point";
    EXPECT_FALSE(pdf.contains("0 0 1 RG")) << "no highlighted edge";
    // The polygon, then the curve: one path of 80 points, closed.
    const qsizetype polygon = pdf.indexOf("0.15 0.15 0.15 RG");
    const qsizetype curve = pdf.indexOf("0.65 0.53 1 RG");
    ASSERT_GE(polygon, 0);
    EXPECT_GT(curve, polygon);
    const QByteArray path = pdf.mid(curve, pdf.indexOf("h S", curve) - curve);
    EXPECT_EQ(path.count(" m\n"), 1);
    EXPECT_EQ(path.count(" l\n"), 5 * 16 - 1);
}

TEST_F(FiguresTest, PageBoxHoldsTheMarks)
{
    // The pentagon spans (-3.5..4) x (-3..3.5) of the world square -10..10.
    const QRect box = Figures::pageBox(scene, view, pageSide);
    const double scale = pageSide / 20.0;
    const double reach = Figures::markReach + Figures::margin;
    EXPECT_LE(box.left(), (6.5) * scale - reach);
    EXPECT_GE(box.left(), (6.5) * scale - reach - 1);
    EXPECT_GE(box.right() + 1, (14.0) * scale + reach);
    EXPECT_LE(box.right() + 1, (14.0) * scale + reach + 1);
    // Anything of the study reaches past polygon and curve: the whole page.
    scene.setShowCurvature(true);
    EXPECT_EQ(Figures::pageBox(scene, view, pageSide), QRect(0, 0, pageSide, pageSide));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
