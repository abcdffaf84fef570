#include "view/ShownView.h"

#include "geometry/ControlPoints.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

// The control panel of a fresh window each time: how it loads a scheme's
// settings, what its sliders send to the view, and the area read-out,
// ending with a whole session driven by real events.
class GLMainWindowPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readBackPerScheme_data();
    void readBackPerScheme();
    void readBackRounds_data();
    void readBackRounds();
    void everyUPositionSurvivesReselection();
    void selectCurveLeavesPanel();
    void arrowKeysStep_data();
    void arrowKeysStep();
    void areaLabels_data();
    void areaLabels();
    void finalIsTheDrawnCurvesArea_data();
    void finalIsTheDrawnCurvesArea();
    void noCurveNoDifference();
    void closedChaikinSession();

private:
    template <typename W>
    W *widget(const char *name) const
    {
        return window->findChild<W *>(name);
    }
    // Picks a scheme the way a user does, so that the box emits activated.
    void choose(int index);
    QStringList areaTexts() const;

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

// Chaikin's corner cutting with weight u, written from its definition:
// each corner c between p and n becomes u c + (1 - u) p, u c + (1 - u) n.
QList<QPointF> chaikin(QList<QPointF> polygon, double u, int passes)
{
    for (int pass = 0; pass < passes; ++pass) {
        QList<QPointF> next;
        const qsizetype n = polygon.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF c = polygon[i], p = polygon[(i + n - 1) % n], q = polygon[(i + 1) % n];
            next << u * c + (1 - u) * p << u * c + (1 - u) * q;
        }
        polygon = next;
    }
    return polygon;
}

// Shoelace area, positive for clockwise polygons as the read-out shows it.
double clockwiseArea(const QList<QPointF> &polygon)
{
    double twice = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return -twice / 2;
}

} // namespace

void GLMainWindowPanelTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
}

void GLMainWindowPanelTest::cleanup()
{
    window.reset();
}

void GLMainWindowPanelTest::choose(int index)
{
    auto *box = widget<QComboBox>("curveComboBox");
    box->setCurrentIndex(index == 0 ? 1 : index - 1);
    QTest::keyClick(box, index == 0 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(box->currentIndex(), index);
}

QStringList GLMainWindowPanelTest::areaTexts() const
{
    QStringList texts;
    for (const QLabel *label : widget<QGroupBox>("areaBox")->findChildren<QLabel *>())
        texts << label->text();
    return texts;
}

void GLMainWindowPanelTest::readBackPerScheme_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("u");
    QTest::addColumn<bool>("bezierLike");

    // Bezier: precision 2 and depth colour on offer, no level; the closed
    // schemes the other way round. Disabled controls keep their values.
    QTest::newRow("Bezier") << 1 << false << 50 << true;
    QTest::newRow("Chaikin") << 2 << true << 75 << false;
    QTest::newRow("Cubic B-Spline") << 3 << false << 50 << false;
    QTest::newRow("Vantrell Proposed") << 4 << true << 50 << false;
}

void GLMainWindowPanelTest::readBackPerScheme()
{
    QFETCH(int, scheme);
    QFETCH(bool, closed);
    QFETCH(int, u);
    QFETCH(bool, bezierLike);

    glbox->controlPoints->closed = closed;
    curveAt(glbox, scheme)->curvePoints = true;
    choose(scheme);

    QCOMPARE(glbox->currentCurve, scheme);
    QCOMPARE(widget<QCheckBox>("openCloseCurveCheckBox")->isChecked(), closed);
    QCOMPARE(widget<QSlider>("uparameter")->value(), u);
    QVERIFY(widget<QCheckBox>("drawCurvePointsCheckBox")->isChecked());
    QCOMPARE(widget<QSlider>("precision")->isEnabled(), bezierLike);
    QCOMPARE(widget<QSlider>("precision")->value(), bezierLike ? 2 : 0);
    QCOMPARE(widget<QSpinBox>("level")->isEnabled(), !bezierLike);
    QCOMPARE(widget<QSpinBox>("level")->value(), 0);
    QCOMPARE(widget<QCheckBox>("depthColourCheckBox")->isEnabled(), bezierLike);
    QVERIFY(!widget<QCheckBox>("depthColourCheckBox")->isChecked());
}

void GLMainWindowPanelTest::readBackRounds_data()
{
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("precision");
    QTest::addColumn<int>("uSlider");
    QTest::addColumn<int>("precisionSlider");

    // u to the nearest position, precision toward zero.
    QTest::newRow("three quarters") << 0.75 << 0.2 << 75 << 2;
    QTest::newRow("nudged ends") << 0.01 << 0.05 << 1 << 0;
    QTest::newRow("upper end") << 0.99 << 2.99 << 99 << 29;
    QTest::newRow("negative u") << -0.567 << 9.99 << -57 << 99;
}

void GLMainWindowPanelTest::readBackRounds()
{
    QFETCH(double, u);
    QFETCH(double, precision);
    QFETCH(int, uSlider);
    QFETCH(int, precisionSlider);

    Curve *bezier = curveAt(glbox, 1);
    bezier->setU(u);
    bezier->precision = precision;
    choose(1);

    QCOMPARE(widget<QSlider>("uparameter")->value(), uSlider);
    QCOMPARE(widget<QSlider>("precision")->value(), precisionSlider);
}

void GLMainWindowPanelTest::everyUPositionSurvivesReselection()
{
    // Positions 0 and 100 stand for 0.01 and 0.99 and come back as 1 and
    // 99; every other position comes back as it was, however often.
    auto *slider = widget<QSlider>("uparameter");
    choose(3);
    QList<int> drifted;
    for (int position = -100; position <= 100; ++position) {
        slider->setValue(position);
        const int expected = position == 0 ? 1 : position == 100 ? 99 : position;
        for (int again = 0; again < 3; ++again) {
            choose(3);
            if (slider->value() != expected) {
                drifted << position;
                break;
            }
        }
    }
    QCOMPARE(drifted, QList<int>());
}

void GLMainWindowPanelTest::selectCurveLeavesPanel()
{
    setPolygon(glbox, {{0, 0}, {0, 4}, {3, 0}}, true);
    choose(1);
    QTRY_COMPARE(areaTexts().first(), QString("Control Points = 6.00"));
    widget<QSlider>("uparameter")->setValue(30);
    const auto panel = [this] {
        return QVariantList{widget<QSlider>("uparameter")->value(),
                            widget<QSlider>("precision")->isEnabled(),
                            widget<QSpinBox>("level")->isEnabled(),
                            widget<QCheckBox>("depthColourCheckBox")->isEnabled(),
                            widget<QCheckBox>("openCloseCurveCheckBox")->isChecked(),
                            areaTexts()};
    };
    const QVariantList before = panel();

    choose(0);
    glbox->update();
    QTest::qWait(50);

    QCOMPARE(glbox->currentCurve, 0);
    QCOMPARE(window->statusBar()->currentMessage(), QString("No curve selected"));
    QCOMPARE(panel(), before);
}

void GLMainWindowPanelTest::arrowKeysStep_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("message");

    QTest::newRow("u") << "uparameter" << 10 << "u = 0.60";
    QTest::newRow("precision") << "precision" << 10 << "Precision = 1.20";
    QTest::newRow("grid") << "grid space" << 2 << "Set grid spacing to 4.";
}

void GLMainWindowPanelTest::arrowKeysStep()
{
    QFETCH(QString, name);
    QFETCH(int, step);
    QFETCH(QString, message);

    choose(1);
    auto *slider = widget<QSlider>(name.toLatin1().constData());
    const int start = slider->value();

    QTest::keyClick(slider, Qt::Key_Right);

    QCOMPARE(slider->value(), start + step);
    QCOMPARE(window->statusBar()->currentMessage(), message);
    QTest::keyClick(slider, Qt::Key_Left);
    QCOMPARE(slider->value(), start);
}

void GLMainWindowPanelTest::areaLabels_data()
{
    QTest::addColumn<double>("polygon");
    QTest::addColumn<double>("delta");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("positive") << 12.5 << 0.25
                              << QStringList({"Control Points = 12.50", "Delta = 0.25", "Final = 12.25"});
    QTest::newRow("negative delta") << 3.0 << -1.0
                                    << QStringList({"Control Points = 3.00", "Delta = -1.00", "Final = 4.00"});
    QTest::newRow("rounded") << -2.0 / 3 << 1.0 / 3
                             << QStringList({"Control Points = -0.67", "Delta = 0.33", "Final = -1.00"});
    QTest::newRow("minus zero") << -0.001 << 0.001
                                << QStringList({"Control Points = 0.00", "Delta = 0.00", "Final = 0.00"});
}

void GLMainWindowPanelTest::areaLabels()
{
    QFETCH(double, polygon);
    QFETCH(double, delta);
    QFETCH(QStringList, texts);

    window->setArea(polygon, delta);
    QCOMPARE(areaTexts(), texts);
}

void GLMainWindowPanelTest::finalIsTheDrawnCurvesArea_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<int>("u");

    for (const int u : {30, 50, -40}) {
        QTest::addRow("Bezier, u %d", u) << 1 << u;
        QTest::addRow("Chaikin, u %d", u) << 2 << u;
        QTest::addRow("B-spline, u %d", u) << 3 << u;
        QTest::addRow("proposed, u %d", u) << 4 << u;
    }
}

void GLMainWindowPanelTest::finalIsTheDrawnCurvesArea()
{
    QFETCH(int, scheme);
    QFETCH(int, u);

    // A six-pointed star, clockwise.
    QList<QPointF> star;
    for (int i = 0; i < 12; ++i) {
        const double r = i % 2 ? 3.0 : 8.0, a = -i * M_PI / 6;
        star << QPointF(r * std::cos(a), r * std::sin(a));
    }
    setPolygon(glbox, star, true);
    choose(scheme);
    widget<QSlider>("uparameter")->setValue(u);
    widget<QSpinBox>("level")->setValue(3);

    QTRY_COMPARE(areaTexts().first(), QString::asprintf("Control Points = %.2f", clockwiseArea(star)));
    QList<QPointF> drawn;
    for (auto *n = curveAt(glbox, scheme)->result->head; n; n = n->next)
        drawn << QPointF(n->item->position.x(), n->item->position.y());
    QCOMPARE(areaTexts().last(), QString::asprintf("Final = %.2f", clockwiseArea(drawn)));
}

void GLMainWindowPanelTest::noCurveNoDifference()
{
    // Opening the polygon takes the closed scheme's curve away, and with it
    // the difference it accounted.
    setPolygon(glbox, {{-5, -5}, {-5, 5}, {5, 5}, {5, -5}}, true);
    choose(2);
    widget<QSpinBox>("level")->setValue(3);
    QTRY_COMPARE(areaTexts().last(), QString::asprintf("Final = %.2f", clockwiseArea(chaikin(
                                                                            {{-5, -5}, {-5, 5}, {5, 5}, {5, -5}},
                                                                            0.75, 3))));
    auto *closedBox = widget<QCheckBox>("openCloseCurveCheckBox");
    closedBox->setChecked(false);
    const QStringList zero{"Control Points = 0.00", "Delta = 0.00", "Final = 0.00"};
    QTRY_COMPARE(areaTexts(), zero);

    // The same with two points left of a closed polygon.
    closedBox->setChecked(true);
    QTRY_VERIFY(areaTexts() != zero);
    setPolygon(glbox, {{-5, -5}, {-5, 5}}, true);
    QTRY_COMPARE(areaTexts(), zero);
}

void GLMainWindowPanelTest::closedChaikinSession()
{
    // A clockwise pentagon clicked in with the mouse.
    const QList<QPointF> pentagon{{-6, -3}, {-7, 2}, {-2, 6}, {6, 4}, {4, -5}};
    for (const QPointF p : pentagon)
        QTest::mouseClick(glbox, Qt::LeftButton, Qt::NoModifier, pixelAt(glbox, p.x(), p.y()).toPoint());
    QCOMPARE(glbox->controlPoints->points.count, 5u);

    auto *closedBox = widget<QCheckBox>("openCloseCurveCheckBox");
    QTest::mouseClick(closedBox, Qt::LeftButton, Qt::NoModifier, QPoint(8, closedBox->height() / 2));
    QVERIFY(glbox->controlPoints->closed);
    choose(2);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(widget<QSpinBox>("level"), Qt::Key_Up);
    QCOMPARE(curveAt(glbox, 2)->level, 3);

    const double polygonArea = clockwiseArea(pentagon);
    const double finalArea = clockwiseArea(chaikin(pentagon, 0.75, 3));
    QVERIFY(polygonArea > finalArea && finalArea > 0);
    const QStringList expected{QString::asprintf("Control Points = %.2f", polygonArea),
                               QString::asprintf("Delta = %.2f", polygonArea - finalArea),
                               QString::asprintf("Final = %.2f", finalArea)};
    QTRY_COMPARE(areaTexts(), expected);
    QCOMPARE(curveAt(glbox, 2)->result->count, 5u * 8);

    // Ctrl+P exports what is on screen.
    QTemporaryDir folder;
    const QString path = folder.filePath("session.eps");
    glbox->chooseExportFile = [path] { return path; };
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    QFile page(path);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray text = page.readAll();
    QVERIFY(text.contains("%%Title: Chaikin curve\n"));
    QVERIFY(text.contains("0.65 0.53 1 C"));
}

QTEST_MAIN(GLMainWindowPanelTest)
#include "GLMainWindowPanelTest.moc"
