#include "view/ShownView.h"

#include "app/FigureExport.h"
#include "app/PointsTransfer.h"
#include "document/PointImport.h"
#include "model/Document.h"
#include "view/ExportOptions.h"

#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

// Points in and out through the real window and real files: the curve's
// points exported as CSV and JSON and imported again, other files and the
// clipboard imported as one undo step, bad input told and nothing changed,
// and the figure and the points on the clipboard.
class GLMainWindowPointsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void exportedCurveImportsAsTheSamePoints();
    void importReadsEachKind_data();
    void importReadsEachKind();
    void badInputChangesNothing_data();
    void badInputChangesNothing();
    void clipboardCarriesPointsAndFigure();
    void noCurveNoPoints();

private:
    QString write(const QString &name, const QByteArray &contents) const;
    bool import(const QString &path);
    void trigger(const char *action) const { window->findChild<QAction *>(action)->trigger(); }
    std::vector<Vector> polygon() const { return glbox->snapshot().points; }
    bool canUndo() const { return window->findChild<QAction *>("undoAction")->isEnabled(); }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
    PointsTransfer *points = nullptr;
};

namespace {

const QList<QPointF> square{{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};

std::vector<Vector> vectors(const QList<QPointF> &list)
{
    std::vector<Vector> out;
    for (const QPointF p : list)
        out.emplace_back(p.x(), p.y());
    return out;
}

std::vector<Vector> curvePoints(GLBox *glbox)
{
    std::vector<Vector> out;
    for (const Node<Point> *n = glbox->selectedCurve()->result->head; n; n = n->next)
        out.push_back(n->item->position);
    return out;
}

} // namespace

void GLMainWindowPointsTest::initTestCase()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
}

void GLMainWindowPointsTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    points = window->findChild<PointsTransfer *>("pointsTransfer");
    QVERIFY(points);
    setPolygon(glbox, square, true);
    glbox->setCurrentCurve(2);
    glbox->setLevel(3);
    glbox->upToDate();
}

QString GLMainWindowPointsTest::write(const QString &name, const QByteArray &contents) const
{
    const QString path = folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return {};
    return path;
}

bool GLMainWindowPointsTest::import(const QString &path)
{
    points->chooseImportFile = [path] { return path; };
    const std::vector<Vector> before = polygon();
    trigger("importPointsAction");
    return polygon() != before;
}

void GLMainWindowPointsTest::exportedCurveImportsAsTheSamePoints()
{
    const std::vector<Vector> curve = curvePoints(glbox);
    QCOMPARE(curve.size(), std::size_t(32));
    for (const ExportOptions::Format format : {ExportOptions::Csv, ExportOptions::Json}) {
        window->chooseExport = [this, format](QString &path, ExportOptions &options) {
            path = folder->filePath("curve");
            options.format = format;
            return true;
        };
        window->exportFigure();
    }
    QFile json(folder->filePath("curve.json"));
    QVERIFY(json.open(QIODevice::ReadOnly));
    const QJsonObject figure = QJsonDocument::fromJson(json.readAll()).object();
    QCOMPARE(figure["scheme"].toString(), QString("chaikin"));
    QCOMPARE(figure["points"].toArray().size(), qsizetype(curve.size()));
    QCOMPARE(figure["points"].toArray()[5].toArray()[0].toDouble(), curve[5].x());

    // Every digit of the CSV reads back: the polygon is the curve, bit for
    // bit, and undo takes the import back in one step.
    QVERIFY(import(folder->filePath("curve.csv")));
    QVERIFY(polygon() == curve);
    QVERIFY(glbox->controlPoints->closed);
    QCOMPARE(window->statusBar()->currentMessage(),
             "Imported 32 points from " + QDir::toNativeSeparators(folder->filePath("curve.csv")));
    trigger("undoAction");
    QVERIFY(polygon() == vectors(square));
    QVERIFY(!canUndo());
}

void GLMainWindowPointsTest::importReadsEachKind_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QList<QPointF>>("expected");
    QTest::addColumn<bool>("closed");

    const QList<QPointF> three{{1, 2}, {3, -4}, {-5.5, 6}};
    QTest::newRow("CSV with header") << QByteArray("x,y\n1,2\n3,-4\n-5.5,6\n") << three << false;
    QTest::newRow("white space") << QByteArray("# measured\n1 2\n3\t-4\n\n-5.5   6\n") << three << false;
    // SVG's y grows downwards; a closing Z closes the polygon.
    QTest::newRow("SVG path") << QByteArray("<svg><path d='M 1 -2 L 3 4 l -8.5 -10 Z'/></svg>") << three << true;
    QTest::newRow("SVG polyline") << QByteArray("<svg>\n<polyline points='1,-2 3,4 -5.5,-6'/></svg>") << three
                                  << false;
    // Too large for the view: scaled into the middle 90% of it.
    QTest::newRow("beyond the view") << QByteArray("0 0\n100 0\n100 50\n") << QList<QPointF>{{-9, -4.5}, {9, -4.5}, {9, 4.5}}
                                     << false;
}

void GLMainWindowPointsTest::importReadsEachKind()
{
    QFETCH(QByteArray, contents);
    QFETCH(QList<QPointF>, expected);
    QFETCH(bool, closed);

    setPolygon(glbox, square, false);
    const QString path = write("points.txt", contents);
    QVERIFY(import(path));
    const std::vector<Vector> read = polygon();
    QCOMPARE(read.size(), std::size_t(expected.size()));
    for (std::size_t i = 0; i < read.size(); ++i) {
        QVERIFY2(qAbs(read[i].x() - expected[qsizetype(i)].x()) < 1e-12, qPrintable(QString::number(i)));
        QVERIFY2(qAbs(read[i].y() - expected[qsizetype(i)].y()) < 1e-12, qPrintable(QString::number(i)));
    }
    QCOMPARE(glbox->controlPoints->closed, closed);
    const bool scaled = QByteArray(QTest::currentDataTag()) == "beyond the view";
    QCOMPARE(window->statusBar()->currentMessage().contains("scaled into it"), scaled);
    QVERIFY(canUndo());
}

void GLMainWindowPointsTest::badInputChangesNothing_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected"); // %1 stands for the file's path

    QTest::newRow("bad line") << QByteArray("x,y\n1,2\n3,four\n")
                              << "Line 3 of %1 is not a point: expected two finite numbers x and y, found \"3,four\".";
    QTest::newRow("no points") << QByteArray("x,y\n") << "%1 holds no points.";
    QTest::newRow("SVG without shape") << QByteArray("<svg><circle r='3'/></svg>")
                                       << "%1 has no path, polyline or polygon.";
    QTest::newRow("missing") << QByteArray() << "Could not read %1: No such file or directory.";
}

void GLMainWindowPointsTest::badInputChangesNothing()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, expected);

    const QString path = contents.isEmpty() ? folder->filePath("missing.csv") : write("bad.csv", contents);
    const Document before = glbox->snapshot();
    QString text;
    QVERIFY(answerModalBox([&] { import(path); }, QMessageBox::Ok, nullptr, &text));
    QCOMPARE(text, expected.arg(QDir::toNativeSeparators(path)));
    QVERIFY(glbox->snapshot() == before);
    QVERIFY(!canUndo());
}

void GLMainWindowPointsTest::clipboardCarriesPointsAndFigure()
{
    const std::vector<Vector> curve = curvePoints(glbox);
    trigger("copyCurvePointsAction");
    QCOMPARE(QApplication::clipboard()->text().toUtf8(), FigureExport::csv(glbox->scene()));

    // Pasted back over another polygon: the curve's points, one step.
    setPolygon(glbox, {{1, 1}, {2, 1}, {2, 2}}, true);
    trigger("pastePointsAction");
    QVERIFY(polygon() == curve);
    QVERIFY(canUndo());

    QApplication::clipboard()->setText("1 2\nnot a point\n");
    QString text;
    const std::vector<Vector> before = polygon();
    QVERIFY(answerModalBox([this] { trigger("pastePointsAction"); }, QMessageBox::Ok, nullptr, &text));
    QCOMPARE(text, QString("Line 2 of the clipboard is not a point: expected two finite numbers x and y, found "
                           "\"not a point\"."));
    QVERIFY(polygon() == before);

    trigger("copyFigureAction");
    const QMimeData *figure = QApplication::clipboard()->mimeData();
    QVERIFY(figure->hasImage());
    const int side = qRound(glbox->width() * glbox->devicePixelRatioF());
    QCOMPARE(qvariant_cast<QImage>(figure->imageData()).size(), QSize(side, side));
    QXmlStreamReader svg(figure->data("image/svg+xml"));
    while (svg.readNext() != QXmlStreamReader::StartElement && !svg.atEnd()) {
    }
    QCOMPARE(svg.name().toString(), QString("svg"));
}

void GLMainWindowPointsTest::noCurveNoPoints()
{
    // An open polygon gives Chaikin no curve: nothing to copy or write.
    setPolygon(glbox, square, false);
    QApplication::clipboard()->setText("left alone");
    QString text;
    QVERIFY(answerModalBox([this] { trigger("copyCurvePointsAction"); }, QMessageBox::Ok, nullptr, &text));
    QCOMPARE(text, QString("Could not copy the curve's points: the Chaikin scheme draws no curve here: it needs a "
                           "closed polygon of 3 or more points."));
    QCOMPARE(QApplication::clipboard()->text(), QString("left alone"));

    window->chooseExport = [this](QString &path, ExportOptions &options) {
        path = folder->filePath("none.csv");
        options.format = ExportOptions::Csv;
        return true;
    };
    QVERIFY(answerModalBox([this] { window->exportFigure(); }, QMessageBox::Ok, nullptr, &text));
    QVERIFY2(text.startsWith("Could not write file " + QDir::toNativeSeparators(folder->filePath("none.csv"))),
             qPrintable(text));
    QVERIFY(!QFile::exists(folder->filePath("none.csv")));
}

QTEST_MAIN(GLMainWindowPointsTest)
#include "GLMainWindowPointsTest.moc"
