#include "view/ShownView.h"

#include "analysis/SchemeSetup.h"
#include "view/ConvergencePlot.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

#include <cmath>
#include <memory>

// The "Study" box's read-out and plot in a fresh real window each time:
// the distance to the limit (or between levels) that the view measured
// for the selected curve, the plot's logarithmic scale, and the series
// finished after the edits pause.
class GLMainWindowStudyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { window.reset(); }

    void readoutAndPlot_data();
    void readoutAndPlot();
    void longSeriesFinishesAfterThePause();
    void offAndNothingDrawn();

private:
    // Selects scheme with u (hundredths) and level through the panel.
    void choose(int scheme, int u, int level);
    QString readout() const { return window->findChild<QLabel *>("distanceLabel")->text(); }

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
    ConvergencePlot *plot = nullptr;
};

namespace {

const QList<QPointF> hexagon{{-6, -4}, {-7, 4}, {-1, 7}, {5, 5}, {7, -2}, {1, -6}};

} // namespace

void GLMainWindowStudyTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    plot = window->findChild<ConvergencePlot *>("convergencePlot");
    QVERIFY(plot);
    setPolygon(glbox, hexagon, true);
}

void GLMainWindowStudyTest::choose(int scheme, int u, int level)
{
    glbox->setCurrentCurve(scheme);
    window->findChild<QSlider *>("uparameter")->setValue(u);
    window->findChild<QSpinBox *>("level")->setValue(level);
}

void GLMainWindowStudyTest::readoutAndPlot_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<int>("u");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<double>("ratio"); // per level, 0: not checked

    // Chaikin at 0.75 and the B-spline at 0.5 quarter their distance to
    // the limit per pass, the Bezier scheme per split at 0.5; every other
    // u at which a scheme converges has its exact limit too (the Vantrell
    // scheme at 0.5 takes off a quarter per pass); where a scheme does not
    // converge, consecutive levels are compared.
    QTest::newRow("Chaikin 0.75") << 2 << 75 << 6 << "Distance to limit = " << 4.0;
    QTest::newRow("B-spline 0.50") << 3 << 50 << 6 << "Distance to limit = " << 4.0;
    QTest::newRow("Bezier 0.50") << 1 << 50 << 0 << "Distance to limit = " << 4.0;
    QTest::newRow("Chaikin 0.60") << 2 << 60 << 5 << "Distance to limit = " << 0.0;
    QTest::newRow("Vantrell 0.50") << 4 << 50 << 4 << "Distance to limit = " << 1.33;
    QTest::newRow("Chaikin -0.30") << 2 << -30 << 5 << "Levels 4 to 5 apart = " << 0.0;
}

void GLMainWindowStudyTest::readoutAndPlot()
{
    QFETCH(int, scheme);
    QFETCH(int, u);
    QFETCH(int, level);
    QFETCH(QString, firstLine);
    QFETCH(double, ratio);

    choose(scheme, u, level);
    window->findChild<QCheckBox *>("showLimitCheckBox")->setChecked(true);
    glbox->grabFramebuffer();

    // The read-out gives the last entry of the selected curve's series.
    const ConvergenceSeries expected = ConvergenceSeries::measure(SchemeSetup::of(*curveAt(glbox, scheme)));
    QCOMPARE(plot->series().distances.size(), expected.distances.size());
    QVERIFY(plot->isCurrent());
    const QStringList lines = readout().split('\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], firstLine + QString::asprintf("%.2e", expected.distances.back()));
    const QString unit = scheme == 1 ? "depth" : "level";
    QVERIFY2(lines[1].startsWith(QString("%1 %2 of %2").arg(unit).arg(expected.wantedLevel)), qPrintable(lines[1]));

    // On the logarithmic scale every level's dot is as far below the one
    // before as log10 of their ratio, in the plot's pixels per decade.
    const auto points = plot->plottedPoints();
    QCOMPARE(points.size(), expected.distances.size() - (expected.toLimit ? 0 : 1));
    const double pixelsPerDecade = (points.back().second.y() - points.front().second.y()) /
                                   std::log10(expected.distances[std::size_t(points.front().first)] /
                                              expected.distances.back());
    for (std::size_t k = 1; k < points.size(); ++k) {
        const double fall = std::log10(expected.distances[std::size_t(points[k - 1].first)] /
                                       expected.distances[std::size_t(points[k].first)]);
        QVERIFY(std::abs(points[k].second.y() - points[k - 1].second.y() - fall * pixelsPerDecade) < 1e-6);
    }
    if (ratio > 0) {
        QVERIFY(pixelsPerDecade > 0);
        const QString rate = plot->rateText();
        QVERIFY2(rate.startsWith("\u00f7") && std::abs(rate.mid(1, 4).toDouble() - ratio) < 0.15, qPrintable(rate));
    }
}

void GLMainWindowStudyTest::longSeriesFinishesAfterThePause()
{
    // Level 14 of six points is more than a paint may measure: the first
    // levels come at once, greyed, the rest once the edits pause.
    choose(3, 50, 14);
    window->findChild<QCheckBox *>("showLimitCheckBox")->setChecked(true);
    glbox->grabFramebuffer();
    auto *label = window->findChild<QLabel *>("distanceLabel");
    QVERIFY(!label->isEnabled());
    QVERIFY(!plot->isCurrent());
    const std::size_t quick = plot->series().distances.size();
    QTRY_VERIFY_WITH_TIMEOUT(label->isEnabled(), 5000);
    QVERIFY(plot->series().distances.size() > quick);
    QCOMPARE(plot->series().lastLevel(), 14);
    QVERIFY(readout().contains("level 14 of 14"));
}

void GLMainWindowStudyTest::offAndNothingDrawn()
{
    QVERIFY(readout().startsWith("Distance to limit: \u2013"));
    choose(2, 75, 3);
    auto *limit = window->findChild<QCheckBox *>("showLimitCheckBox");
    limit->setChecked(true);
    glbox->controlPoints->closed = false; // Chaikin draws nothing on an open polygon
    glbox->controlPoints->dirty = true;
    glbox->grabFramebuffer();
    QCOMPARE(readout(), QString("Distance to limit: \u2013\nno curve drawn"));
    QVERIFY(plot->plottedPoints().empty());

    limit->setChecked(false);
    QCOMPARE(readout(), QString("Distance to limit: \u2013\ntick Show Limit with a scheme selected"));
}

QTEST_MAIN(GLMainWindowStudyTest)
#include "GLMainWindowStudyTest.moc"
