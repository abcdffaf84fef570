#include "ShownView.h"

#include "analysis/LimitDistance.h"
#include "analysis/SchemeSetup.h"
#include "geometry/ControlPoints.h"
#include "support/Feedback.h"
#include "render/StudyLayers.h"

#include <QCheckBox>
#include <QFile>
#include <QMouseEvent>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <map>
#include <memory>

// The study's drawing in the real window: compared curves, passes, the
// limit, the comb and the legend as issued to OpenGL (feedback mode), the
// shares of the point budget, and the export.
class GLBoxStudyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { window.reset(); }

    void comparedCurvesInTheirOwnColours();
    void comparedCurvesFollowEditsOnly();
    void budgetShares_data();
    void budgetShares();
    void limitedComparisonIsTold();
    void passesAndMarks_data();
    void passesAndMarks();
    void limitOnlyWhereKnown_data();
    void limitOnlyWhereKnown();
    void combStandsOutside();
    void exportWithAndWithoutStudy();
    void studyFollowsTheZoom();

private:
    void tick(const char *name, bool on = true) { window->findChild<QCheckBox *>(name)->setChecked(on); }
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, glbox->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(glbox, &event);
    }
    // Paints the view, then captures what paintStep issues.
    std::vector<FeedbackItem> capture(void (GLBox::*paintStep)());

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

const QList<QPointF> square{{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
const char *compareBoxes[5] = {"", "compareBezierCheckBox", "compareChaikinCheckBox", "compareBSplineCheckBox",
                               "compareProposedCheckBox"};

std::string colourName(const std::array<float, 3> &c)
{
    FeedbackVertex v;
    v.r = c[0], v.g = c[1], v.b = c[2];
    return colourOf(v);
}

// The issued lines grouped by colour.
std::map<std::string, std::vector<FeedbackItem>> linesByColour(const std::vector<FeedbackItem> &items)
{
    std::map<std::string, std::vector<FeedbackItem>> groups;
    for (const FeedbackItem &item : items)
        if (item.kind == FeedbackItem::Line)
            groups[colourOf(item.vertices[0])].push_back(item);
    return groups;
}

bool onCurve(const FeedbackVertex &v, const List<Point> &points)
{
    for (const Node<Point> *n = points.head; n; n = n->next)
        if (near(v.x, n->item->position.x()) && near(v.y, n->item->position.y()))
            return true;
    return false;
}

QList<QPointF> regularPolygon(int n, double radius)
{
    QList<QPointF> points;
    for (int k = 0; k < n; ++k)
        points << QPointF(radius * std::cos(2 * M_PI * k / n), radius * std::sin(2 * M_PI * k / n));
    return points;
}

} // namespace

void GLBoxStudyTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    setPolygon(glbox, square, true);
}

std::vector<FeedbackItem> GLBoxStudyTest::capture(void (GLBox::*paintStep)())
{
    glbox->grabFramebuffer();
    glbox->makeCurrent();
    auto items = captureFeedback([this, paintStep] { (glbox->*paintStep)(); });
    glbox->doneCurrent();
    return items;
}

void GLBoxStudyTest::comparedCurvesInTheirOwnColours()
{
    glbox->setCurrentCurve(2);
    curveAt(glbox, 2)->level = 2;
    curveAt(glbox, 3)->level = 1;
    curveAt(glbox, 4)->level = 2;
    for (int i = 1; i <= 4; ++i)
        tick(compareBoxes[i]);
    const auto groups = linesByColour(capture(&GLBox::paintComparedCurves));

    // The selected Chaikin is drawn as always, not again as compared;
    // every other scheme with its own level, in its own colour, on its
    // own points: loops of 2n segments, the Bezier polyline of n - 1.
    QCOMPARE(groups.size(), std::size_t(3));
    QVERIFY(!groups.count(colourName(GLBox::compareColour(2))));
    const std::size_t segments[5] = {0, curveAt(glbox, 1)->result->count - 1, 0, 2 * 8, 2 * 36};
    for (int i : {1, 3, 4}) {
        const auto found = groups.find(colourName(GLBox::compareColour(i)));
        QVERIFY2(found != groups.end(), compareBoxes[i]);
        QCOMPARE(found->second.size(), segments[i]);
        for (const FeedbackItem &line : found->second)
            QVERIFY(onCurve(line.vertices[0], *curveAt(glbox, i)->result));
    }
    // Each line gives the curve's level (the Bezier curve's depth) and u.
    QCOMPARE(glbox->legendLines(),
             QStringList({"Chaikin (level 2, u 0.75)",
                          QString("Bezier (depth %1, u 0.50)").arg(curveAt(glbox, 1)->reachedLevel),
                          "Cubic B-Spline (level 1, u 0.50)",
                          QString::asprintf("Vantrell Proposed (level 2, u %.2f)", curveAt(glbox, 4)->u())}));

    // Unticked: drawn no more, memory given back; the legend goes with
    // the last one.
    for (int i : {1, 3, 4})
        tick(compareBoxes[i], false);
    QVERIFY(capture(&GLBox::paintComparedCurves).empty());
    QCOMPARE(curveAt(glbox, 3)->result, nullptr);
    QVERIFY(glbox->legendLines().isEmpty());
    QVERIFY(glbox->studyLayers().legendImage().isNull());
}

void GLBoxStudyTest::comparedCurvesFollowEditsOnly()
{
    tick("compareBSplineCheckBox");
    Curve *bspline = curveAt(glbox, 3);
    bspline->level = 1;
    for (const int selected : {2, 0}) {
        glbox->setCurrentCurve(selected);
        glbox->grabFramebuffer();
        // A drag of the first point to (-7, -6): the compared curve follows.
        send(QEvent::MouseButtonPress, pixelAt(glbox, -5, -5), Qt::RightButton, Qt::RightButton);
        send(QEvent::MouseMove, pixelAt(glbox, -7, -6), Qt::NoButton, Qt::RightButton);
        send(QEvent::MouseButtonRelease, pixelAt(glbox, -7, -6), Qt::RightButton, Qt::NoButton);
        glbox->grabFramebuffer();
        QVERIFY(!glbox->controlPoints->dirty);
        const Vector first = bspline->result->head->item->position; // (1/8, 3/4, 1/8) of three corners
        QVERIFY(near(first.x(), (-5 + 6 * -7 + 5) / 8.0, 0.05) && near(first.y(), (5 + 6 * -6 + -5) / 8.0, 0.05));

        // A hover repaints without subdividing: a point moved by hand
        // stays where it was put.
        bspline->result->head->item->position = Vector(9, 9);
        send(QEvent::MouseMove, pixelAt(glbox, 3, 3), Qt::NoButton, Qt::NoButton);
        const auto groups = linesByColour(capture(&GLBox::paintComparedCurves));
        QCOMPARE(bspline->result->head->item->position, Vector(9, 9));
        QVERIFY(near(groups.at(colourName(GLBox::compareColour(3))).front().vertices[0].x, 9));
        setPolygon(glbox, square, true);
    }
}

void GLBoxStudyTest::budgetShares_data()
{
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<int>("selectedQuarters");

    // Chaikin selected; ticking it too compares nothing more.
    QTest::newRow("none") << QList<int>{} << 4;
    QTest::newRow("the selected one") << QList<int>{2} << 4;
    QTest::newRow("one") << QList<int>{3} << 3;
    QTest::newRow("two") << QList<int>{1, 4} << 2;
    QTest::newRow("all") << QList<int>{1, 2, 3, 4} << 1;
}

void GLBoxStudyTest::budgetShares()
{
    QFETCH(QList<int>, ticked);
    QFETCH(int, selectedQuarters);

    glbox->setCurrentCurve(2);
    for (int i : ticked)
        tick(compareBoxes[i]);
    const std::uint32_t quarter = Curve::pointBudget / 4;
    QCOMPARE(curveAt(glbox, 2)->pointLimit, selectedQuarters * quarter);
    std::uint64_t total = 0;
    for (int i = 1; i <= 4; ++i)
        if (i == 2 || ticked.contains(i))
            total += curveAt(glbox, i)->pointLimit;
    QVERIFY(total <= Curve::pointBudget);
    // Selecting another scheme gives every curve its new share.
    glbox->setCurrentCurve(3);
    QCOMPARE(curveAt(glbox, 2)->pointLimit, ticked.contains(2) ? quarter : Curve::pointBudget);
}

void GLBoxStudyTest::limitedComparisonIsTold()
{
    // 200 points at level 13 make 1,638,400, above a quarter of the
    // budget: level 12 (819,200 points) is the deepest within it.
    setPolygon(glbox, regularPolygon(200, 8), true);
    glbox->setCurrentCurve(2);
    curveAt(glbox, 2)->level = 13;
    curveAt(glbox, 3)->level = 13;
    glbox->grabFramebuffer();
    QCOMPARE(curveAt(glbox, 2)->reachedLevel, 13);
    // The selected curve's result, too large for its new quarter, is
    // freed at once rather than kept beside the compared ones until it is
    // made again.
    for (int i : {1, 3, 4})
        tick(compareBoxes[i]);
    QCOMPARE(curveAt(glbox, 2)->result, nullptr);
    glbox->grabFramebuffer();
    QCOMPARE(curveAt(glbox, 2)->reachedLevel, 12);
    QCOMPARE(curveAt(glbox, 3)->reachedLevel, 12);
    QCOMPARE(glbox->legendLines().at(2), QString("Cubic B-Spline (reached 12: a quarter of the point budget while comparing, u 0.50)"));
    QCOMPARE(window->statusBar()->currentMessage(),
             QString("Level 13 limited to 12 (819200 points, a quarter of the point budget while comparing)"));
    glbox->controlPoints->closed = false;
    glbox->controlPoints->dirty = true;
    glbox->grabFramebuffer();
    QCOMPARE(glbox->legendLines().at(2), QString("Cubic B-Spline (needs a closed polygon)"));
}

void GLBoxStudyTest::passesAndMarks_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("loopSegments");
    QTest::addColumn<int>("inserted");
    QTest::addColumn<int>("moved");

    // Chaikin moves nothing; the B-spline moves every vertex and inserts
    // one point per edge; the Vantrell scheme inserts two per vertex.
    QTest::newRow("Chaikin") << 2 << 3 << QList<int>{4, 8, 16} << 32 << 0;
    QTest::newRow("B-spline") << 3 << 2 << QList<int>{4, 8} << 8 << 8;
    QTest::newRow("Vantrell") << 4 << 2 << QList<int>{4, 12} << 24 << 12;
    QTest::newRow("level 0") << 3 << 0 << QList<int>{} << 0 << 0;
    QTest::newRow("Bezier") << 1 << 0 << QList<int>{} << 0 << 0;
}

void GLBoxStudyTest::passesAndMarks()
{
    QFETCH(int, scheme);
    QFETCH(int, level);
    QFETCH(QList<int>, loopSegments);
    QFETCH(int, inserted);
    QFETCH(int, moved);

    glbox->setCurrentCurve(scheme);
    window->findChild<QSpinBox *>("level")->setValue(level);
    tick("showPassesCheckBox");
    QCOMPARE(window->findChild<QCheckBox *>("showPassesCheckBox")->isEnabled(), scheme != 1);

    // The loops of levels 0 to k - 1 in order, each greyer than the one
    // before.
    const auto items = capture(&GLBox::paintPasses);
    std::size_t at = 0;
    float lastGrey = 1.0f;
    for (int segments : loopSegments) {
        QVERIFY(at + std::size_t(segments) <= items.size());
        const FeedbackVertex &v = items[at].vertices[0];
        QVERIFY(v.r == v.g && v.g == v.b && v.r < lastGrey);
        lastGrey = v.r;
        for (int k = 0; k < segments; ++k)
            QCOMPARE(colourOf(items[at + std::size_t(k)].vertices[0]), colourOf(v));
        at += std::size_t(segments);
    }
    QCOMPARE(at, items.size());

    int black = 0, white = 0;
    const Curve *curve = curveAt(glbox, scheme);
    for (const FeedbackItem &item : capture(&GLBox::paintStudyOverlays)) {
        QCOMPARE(item.kind, FeedbackItem::Point);
        QVERIFY(onCurve(item.vertices[0], *curve->result));
        black += colourOf(item.vertices[0]) == "0.00,0.00,0.00";
        white += colourOf(item.vertices[0]) == "1.00,1.00,1.00";
    }
    QCOMPARE(black, inserted);
    QCOMPARE(white, moved);
}

void GLBoxStudyTest::limitOnlyWhereKnown_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<int>("u");
    QTest::addColumn<bool>("drawn");

    QTest::newRow("Chaikin 0.75") << 2 << 75 << true;
    QTest::newRow("Chaikin 0.60") << 2 << 60 << false;
    QTest::newRow("B-spline 0.50") << 3 << 50 << true;
    QTest::newRow("B-spline 0.40") << 3 << 40 << false;
    QTest::newRow("Bezier 0.30") << 1 << 30 << true;
    QTest::newRow("Vantrell 0.50") << 4 << 50 << false;
}

void GLBoxStudyTest::limitOnlyWhereKnown()
{
    QFETCH(int, scheme);
    QFETCH(int, u);
    QFETCH(bool, drawn);

    setPolygon(glbox, {{-6, -4}, {-7, 4}, {-1, 7}, {5, 5}, {7, -2}, {1, -6}}, true);
    glbox->setCurrentCurve(scheme);
    window->findChild<QSlider *>("uparameter")->setValue(u);
    window->findChild<QSpinBox *>("level")->setValue(2);
    tick("showLimitCheckBox");
    const auto items = capture(&GLBox::paintStudyOverlays);
    if (!drawn) {
        QVERIFY(items.empty());
        QVERIFY(window->statusBar()->currentMessage().startsWith("No closed-form limit"));
        return;
    }
    // A thin black line on the closed-form limit.
    const std::unique_ptr<LimitCurve> limit = SchemeSetup::of(*curveAt(glbox, scheme)).limit();
    const LimitDistance toLimit(*limit);
    std::size_t hint = 0;
    QVERIFY(items.size() > 20);
    for (const FeedbackItem &item : items) {
        QCOMPARE(colourOf(item.vertices[0]), std::string("0.00,0.00,0.00"));
        QVERIFY(toLimit.project(Vector(item.vertices[0].x, item.vertices[0].y), hint).distance < 1e-3);
    }
}

void GLBoxStudyTest::combStandsOutside()
{
    // A circle-like curve of radius about 4.9: 128 teeth, each about 5 /
    // 4.9 long (a quarter of the view's side per unit of curvature),
    // standing outside, then the outline through their tips.
    setPolygon(glbox, regularPolygon(16, 5), true);
    glbox->setCurrentCurve(3);
    window->findChild<QSpinBox *>("level")->setValue(3);
    tick("curvatureCheckBox");
    const auto items = capture(&GLBox::paintStudyOverlays);
    QCOMPARE(items.size(), std::size_t(2 * 128));
    for (std::size_t k = 0; k < 128; ++k) {
        const FeedbackVertex &base = items[k].vertices[0], &tip = items[k].vertices[1];
        QCOMPARE(colourOf(base), std::string("1.00,1.00,1.00"));
        const double r = std::hypot(base.x, base.y), reach = std::hypot(tip.x, tip.y);
        QVERIFY2(near(reach - r, 5 / r, 0.05), qPrintable(QString::number(reach - r)));
        QVERIFY(near(items[128 + k].vertices[0].x, tip.x) && near(items[128 + k].vertices[0].y, tip.y));
    }
}

void GLBoxStudyTest::exportWithAndWithoutStudy()
{
    QTemporaryDir folder;
    const QString name = folder.filePath("page.eps");
    glbox->chooseExportFile = [name] { return name; };
    auto page = [&] {
        QFile::remove(name);
        glbox->exportPS();
        QFile file(name);
        QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        // The one line that differs between two exports of one picture.
        const qsizetype date = text.indexOf("%%CreationDate");
        return date < 0 ? text : text.remove(date, text.indexOf('\n', date) - date);
    };
    glbox->setCurrentCurve(2);
    window->findChild<QSpinBox *>("level")->setValue(3);
    glbox->grabFramebuffer();
    const QByteArray plain = page();

    tick("compareBSplineCheckBox");
    for (const char *box : {"showPassesCheckBox", "showLimitCheckBox", "curvatureCheckBox"})
        tick(box);
    glbox->grabFramebuffer();
    const QByteArray studied = page();
    QVERIFY(studied.contains("0.1 0.25 0.85 C")); // the compared B-spline
    QVERIFY(studied.contains("(Cubic B-Spline (level 0, u 0.50))"));
    QVERIFY(studied.contains("(Chaikin (level 3, u 0.75))"));
    QVERIFY(studied.size() > plain.size());

    for (const char *box : {"compareBSplineCheckBox", "showPassesCheckBox", "showLimitCheckBox", "curvatureCheckBox"})
        tick(box, false);
    glbox->grabFramebuffer();
    QCOMPARE(page(), plain);
}

void GLBoxStudyTest::studyFollowsTheZoom()
{
    // A circle of radius 1, the cubic B-spline selected with its limit and
    // comb, Chaikin compared and so a legend; then a real Ctrl + wheel of
    // 21 notches (about 108x) about a point of the curve.
    setPolygon(glbox, regularPolygon(10, 1), true);
    glbox->setCurrentCurve(3);
    curveAt(glbox, 2)->level = 10;
    window->findChild<QSpinBox *>("level")->setValue(10);
    for (const char *box : {"compareChaikinCheckBox", "showLimitCheckBox", "curvatureCheckBox"})
        tick(box);
    const QPoint corner(12, 12); // inside the legend's panel
    const ViewTransform &v = glbox->viewTransform;
    struct Seen
    {
        std::vector<FeedbackItem> compared, overlays;
        QRgb legend = 0;
    };
    auto look = [&] {
        Seen seen;
        seen.legend = glbox->grabFramebuffer().pixel(corner * glbox->devicePixelRatioF());
        glbox->makeCurrent();
        seen.compared = captureFeedback([this] { glbox->paintComparedCurves(); }, v.left(), v.right(), v.bottom(),
                                        v.top());
        seen.overlays = captureFeedback([this] { glbox->paintStudyOverlays(); }, v.left(), v.right(), v.bottom(),
                                        v.top());
        glbox->doneCurrent();
        return seen;
    };
    const Seen reset = look();
    const double resetSide = v.side();
    const Vector on = curveAt(glbox, 3)->result->indexNode(100)->item->position;
    const QPointF at = pixelAt(glbox, on.x(), on.y());
    QWheelEvent wheel(at, glbox->mapToGlobal(at), QPoint(), QPoint(0, 21 * 120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(glbox, &wheel);
    QVERIFY(v.zoom() > 100);
    const Seen zoomed = look();

    // Within the zoomed square: the segments starting there, of the limit
    // (black) and the compared curve, and the longest tooth as a share of
    // the side the view showed.
    auto inside = [&](const FeedbackVertex &p) {
        return p.x >= v.left() && p.x <= v.right() && p.y >= v.bottom() && p.y <= v.top();
    };
    auto limitSegments = [&](const Seen &seen) {
        return std::count_if(seen.overlays.begin(), seen.overlays.end(), [&](const FeedbackItem &item) {
            return item.kind == FeedbackItem::Line && colourOf(item.vertices[0]) == "0.00,0.00,0.00" &&
                   inside(item.vertices[0]);
        });
    };
    auto longestTooth = [&](const Seen &seen, double side) {
        double longest = 0;
        for (const FeedbackItem &item : seen.overlays) {
            const FeedbackVertex &a = item.vertices[0], &b = item.vertices.back();
            if (item.kind == FeedbackItem::Line && colourOf(a) == "1.00,1.00,1.00" && inside(a))
                longest = std::max(longest, std::hypot(b.x - a.x, b.y - a.y) / side);
        }
        return longest;
    };

    // Laid out again for the zoomed pixel: the limit is sampled finely
    // enough for arcs across the view, the compared curve (which feedback
    // mode sees whole) is simplified for it on screen; the comb keeps its
    // size on screen; the legend keeps its corner.
    QCOMPARE(glbox->screenFrame().worldPerUnit, glbox->worldPerDevicePixel());
    QVERIFY(std::count_if(zoomed.compared.begin(), zoomed.compared.end(),
                          [&](const FeedbackItem &item) { return inside(item.vertices[0]); }) > 100);
    const auto before = limitSegments(reset), after = limitSegments(zoomed);
    QVERIFY2(before <= 2 && after >= 8, qPrintable(QString("%1 -> %2").arg(before).arg(after)));
    const double toothBefore = longestTooth(reset, resetSide), toothAfter = longestTooth(zoomed, v.side());
    QVERIFY(toothBefore > 0.01);
    QVERIFY2(near(toothAfter, toothBefore, 0.01 * toothBefore),
             qPrintable(QString("%1 -> %2").arg(toothBefore).arg(toothAfter)));
    QVERIFY(qGray(reset.legend) > 220);
    QCOMPARE(zoomed.legend, reset.legend);
}

QTEST_MAIN(GLBoxStudyTest)
#include "GLBoxStudyTest.moc"
