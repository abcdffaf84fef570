#include "view/ShownView.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QtTest>

#include <memory>

// What the panel tells a user: a tooltip on every control, each slider's
// value beside it, and a window whose width does not jump while the panel
// fills in. A fresh window, at its smallest, for each test.
class GLMainWindowLegibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyControlHasATooltip();
    void valueLabelsFollowSliders_data();
    void valueLabelsFollowSliders();
    void widthStaysWhenSchemeChosen_data();
    void widthStaysWhenSchemeChosen();

private:
    void choose(int index);

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

void GLMainWindowLegibilityTest::init()
{
    window = std::make_unique<GLMainWindow>();
    window->resize(400, 350);
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
}

void GLMainWindowLegibilityTest::cleanup()
{
    window.reset();
}

void GLMainWindowLegibilityTest::choose(int index)
{
    auto *box = window->findChild<QComboBox *>("curveComboBox");
    box->setCurrentIndex(index - 1);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(glbox->currentCurve, index);
}

void GLMainWindowLegibilityTest::everyControlHasATooltip()
{
    // Found by kind, so that a control added later without help shows up.
    QStringList controls, silent;
    for (const char *boxName : {"controlBox", "viewBox", "areaBox", "studyBox", "laboratoryBox"}) {
        for (QWidget *w : window->findChild<QGroupBox *>(boxName)->findChildren<QWidget *>()) {
            const bool control = qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractButton *>(w) ||
                                 qobject_cast<QAbstractSlider *>(w) || qobject_cast<QAbstractSpinBox *>(w);
            if (!control)
                continue;
            controls << w->objectName();
            if (w->toolTip().isEmpty())
                silent << w->objectName();
        }
    }
    QVERIFY(controls.size() >= 10); // the search finds the panel at all
    QCOMPARE(silent, QStringList());
}

void GLMainWindowLegibilityTest::valueLabelsFollowSliders_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");

    // What the view applies, not the raw position: the ends of u and the
    // zero of the precision are nudged.
    QTest::newRow("u") << "uparameter" << 37 << "0.37";
    QTest::newRow("u 0") << "uparameter" << 0 << "0.01";
    QTest::newRow("u 100") << "uparameter" << 100 << "0.99";
    QTest::newRow("u -100") << "uparameter" << -100 << "-1.00";
    QTest::newRow("precision") << "precision" << 25 << "2.50";
    QTest::newRow("precision 0") << "precision" << 0 << "0.05";
    QTest::newRow("precision 100") << "precision" << 100 << "10.00";
    QTest::newRow("grid") << "grid space" << 4 << "4";
    QTest::newRow("grid 0") << "grid space" << 0 << "off";
}

void GLMainWindowLegibilityTest::valueLabelsFollowSliders()
{
    QFETCH(QString, slider);
    QFETCH(int, position);
    QFETCH(QString, text);

    choose(1);
    auto *handle = window->findChild<QSlider *>(slider);
    auto *value = window->findChild<QLabel *>(slider + "Value");
    QVERIFY(handle && value);
    // From the other end, so that the position is a change.
    handle->setValue(position == handle->maximum() ? handle->minimum() : handle->maximum());
    handle->setValue(position);
    QCOMPARE(value->text(), text);
    QCOMPARE(value->parentWidget(), handle->parentWidget());
}

void GLMainWindowLegibilityTest::widthStaysWhenSchemeChosen_data()
{
    QTest::addColumn<int>("scheme");

    QTest::newRow("Bezier") << 1;
    QTest::newRow("Chaikin") << 2;
    QTest::newRow("Cubic B-Spline") << 3;
    QTest::newRow("Vantrell Proposed") << 4;
}

void GLMainWindowLegibilityTest::widthStaysWhenSchemeChosen()
{
    QFETCH(int, scheme);

    // A closed square near the view's edge, run round twice: the areas
    // read several hundred.
    QList<QPointF> twice;
    for (int round = 0; round < 2; ++round)
        twice << QPointF(-9.5, -9.5) << QPointF(-9.5, 9.5) << QPointF(9.5, 9.5) << QPointF(9.5, -9.5);
    setPolygon(glbox, twice, true);
    QTest::qWait(50);
    const int before = window->width();

    choose(scheme);
    auto *polygonArea = window->findChild<QGroupBox *>("areaBox")->findChildren<QLabel *>().first();
    QTRY_COMPARE(polygonArea->text(), QString("Control Points = 722.00"));
    // The widest slider texts as well.
    window->findChild<QSlider *>("uparameter")->setValue(-100);
    window->findChild<QSlider *>("precision")->setValue(100);
    window->findChild<QSlider *>("grid space")->setValue(10);
    QTest::qWait(50);
    QCOMPARE(window->width(), before);
}

QTEST_MAIN(GLMainWindowLegibilityTest)
#include "GLMainWindowLegibilityTest.moc"
