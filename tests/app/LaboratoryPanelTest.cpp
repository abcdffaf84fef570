#include "view/ShownView.h"

#include "app/AnalysisSection.h"
#include "curves/ChaikinCurve.h"
#include "curves/CustomCurve.h"
#include "curves/MaskPresets.h"
#include "model/Scene.h"
#include "view/LabPlot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The Scheme Laboratory box of a real window, through its widgets' object
// names: masks typed, picked and copied; open ends; the analysis and its
// background sweep; playing the levels.
class LaboratoryPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { window.reset(); }

    void typedPickedAndCopiedMasks();
    void openEndsAndInfluence();
    void analysisAndSweep();
    void playLevelsStopsAtAnEdit();

private:
    template <typename W> W *widget(const char *name) const { return window->findChild<W *>(name); }
    Scene &scene() const { return glbox->scene(); }
    void typeMask(const QString &text)
    {
        auto *edit = widget<QLineEdit>("maskEdit");
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

const QList<QPointF> hexagon{{-6, -4}, {-7, 4}, {-1, 7}, {5, 5}, {7, -2}, {1, -6}};

} // namespace

void LaboratoryPanelTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    setPolygon(glbox, hexagon, true);
}

void LaboratoryPanelTest::typedPickedAndCopiedMasks()
{
    // A typed mask selects the custom scheme and draws by its rule.
    typeMask("2: 1 3 3 1 / 4");
    QCOMPARE(scene().selected(), int(Schemes::Custom));
    QCOMPARE(widget<QComboBox>("curveComboBox")->currentIndex(), int(Schemes::Custom));
    QCOMPARE(scene().customCurve().customMask(), MaskPresets::bspline(2, 2));
    widget<QSpinBox>("level")->setValue(2);
    scene().update();
    QCOMPARE(scene().selectedCurve()->result->count, 24u);

    // Typed key by key, each sound mask on the way is drawn at once.
    auto *edit = widget<QLineEdit>("maskEdit");
    edit->clear();
    QTest::keyClicks(edit, "2: 1 2 1 / 2");
    QCOMPARE(scene().customCurve().customMask(), MaskPresets::bspline(1, 2));
    QCOMPARE(edit->text(), QString("2: 1 2 1 / 2"));
    typeMask("2: 1 3 3 1 / 4");

        // Refused: not affine invariant (the analysis's note), and no mask.
    typeMask("2: 1 1 1");
    QVERIFY2(window->statusBar()->currentMessage().contains("not affine invariant"),
             qPrintable(window->statusBar()->currentMessage()));
    typeMask("2: 1 x");
    QVERIFY(window->statusBar()->currentMessage().startsWith("Mask not applied"));
    QCOMPARE(scene().customCurve().customMask(), MaskPresets::bspline(2, 2));

    // Presets, the four-point tension, and a built-in scheme's mask.
    auto *presets = widget<QComboBox>("maskPresetComboBox");
    const int cubic = presets->findText("B-Spline, Degree 3");
    QVERIFY(cubic > 0);
    presets->setCurrentIndex(cubic);
    emit presets->activated(cubic);
    QCOMPARE(scene().customCurve().customMask(), MaskPresets::bspline(3, 2));
    widget<QDoubleSpinBox>("tensionSpinBox")->setValue(0.05);
    QCOMPARE(scene().customCurve().customMask(), MaskPresets::fourPoint(0.05));
    glbox->setCurrentCurve(Schemes::Chaikin);
    widget<QPushButton>("copyToCustomButton")->click();
    QCOMPARE(scene().selected(), int(Schemes::Custom));
    QCOMPARE(scene().customCurve().customMask(), ChaikinCurve::maskAt(0.75));
    QCOMPARE(widget<QLineEdit>("maskEdit")->text(), QString::fromStdString(ChaikinCurve::maskAt(0.75).text()));
}

void LaboratoryPanelTest::openEndsAndInfluence()
{
    glbox->setOpenCloseCurve(0);
    glbox->setCurrentCurve(Schemes::BSpline);
    widget<QSpinBox>("level")->setValue(3);
    scene().update();
    QVERIFY(!scene().selectedCurve()->drawsCurve());
    auto *ends = widget<QCheckBox>("openEndsCheckBox");
    QVERIFY(ends->isEnabled());
    ends->setChecked(true);
    scene().update();
    const Curve *curve = scene().selectedCurve();
    QVERIFY(curve->drawsCurve() && curve->drawnOpen());
    QCOMPARE(curve->result->head->item->position, Vector(hexagon.first().x(), hexagon.first().y()));
    // The Bezier scheme has no open ends to switch; its box follows.
    glbox->setCurrentCurve(Schemes::Bezier);
    QVERIFY(!ends->isEnabled());

    widget<QCheckBox>("showInfluenceCheckBox")->setChecked(true);
    QVERIFY(scene().study().influence);
}

void LaboratoryPanelTest::analysisAndSweep()
{
    auto *section = widget<AnalysisSection>(nullptr);
    QVERIFY(section);
    QVERIFY(!widget<QWidget>("analysisSection")->isVisible());
    widget<QToolButton>("analysisToggle")->click();
    QVERIFY(widget<QWidget>("analysisSection")->isVisible());

    glbox->setCurrentCurve(Schemes::Chaikin);
    widget<QSlider>("uparameter")->setValue(75);
    const QString text = widget<QLabel>("analysisLabel")->text();
    QVERIFY2(text.contains("C1, regularity 2.00") && text.contains("Sum rules 3"), qPrintable(text));
    auto *basis = widget<LabPlot>("basisPlot");
    QCOMPARE(basis->lines().size(), 2u); // phi and phi'

    // The sweep comes in value by value and ends with every value of u.
    auto *plot = widget<LabPlot>("regularityPlot");
    QCOMPARE(section->family(), AnalysisSection::Family::Chaikin);
    QTRY_VERIFY_WITH_TIMEOUT(section->sweepFinished(), 20000);
    QCOMPARE(plot->lines().at(1).points.size(), std::size_t(RegularitySweep::defaultCount));
    QCOMPARE(*plot->marker(), 0.75);
    widget<QSlider>("uparameter")->setValue(30);
    QCOMPARE(*plot->marker(), 0.3);

    // The four-point preset sweeps w; another custom mask has no weight.
    widget<QDoubleSpinBox>("tensionSpinBox")->setValue(0.08);
    QCOMPARE(section->family(), AnalysisSection::Family::FourPoint);
    QCOMPARE(*plot->marker(), 0.08);
    typeMask("3: 1 2 3 2 1 / 3");
    QCOMPARE(section->family(), AnalysisSection::Family::None);
    QVERIFY(!plot->marker());

    // The plots' exports.
    QTemporaryDir folder;
    QVERIFY(basis->exportTo(folder.filePath("phi.png")) && plot->exportTo(folder.filePath("r.svg")));
    QCOMPARE(QImage(folder.filePath("phi.png")).size(), basis->size() * 2);
    QFile svg(folder.filePath("r.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<svg"));
}

void LaboratoryPanelTest::playLevelsStopsAtAnEdit()
{
    glbox->setCurrentCurve(Schemes::Chaikin);
    widget<QSpinBox>("level")->setValue(3);
    auto *play = widget<QPushButton>("playLevelsButton");
    play->click();
    QVERIFY(scene().playing());
    QVERIFY(scene().study().passes);
    auto *passesBox = widget<QCheckBox>("showPassesCheckBox");
    QTRY_VERIFY(passesBox->isChecked());
    QCOMPARE(scene().selectedCurve()->level, 0);
    QTRY_COMPARE_WITH_TIMEOUT(scene().selectedCurve()->level, 1, 3000);
    // Moving u is an edit: the play stops, the level and passes come back.
    widget<QSlider>("uparameter")->setValue(60);
    QVERIFY(!scene().playing());
    QVERIFY(!play->isChecked());
    QCOMPARE(scene().selectedCurve()->level, 3);
    QVERIFY(!scene().study().passes);
    QTRY_VERIFY(!passesBox->isChecked());
}

QTEST_MAIN(LaboratoryPanelTest)
#include "LaboratoryPanelTest.moc"
