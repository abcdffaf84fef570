#include "view/PixelCounts.h"
#include "view/ShownView.h"

#include "view/ExportOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

// File > Export... through the real window into real files, each read back
// by a real reader: Ghostscript for EPS and PDF, an XML parser for SVG, the
// toolkit's image reader for PNG.
class GLMainWindowExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void figureIsReadAndShowsTheCurve_data();
    void figureIsReadAndShowsTheCurve();
    void pageSizeIgnoresTheWindow();
    void pngFollowsTheScale();
    void namesAndSuffixes_data();
    void namesAndSuffixes();
    void folderAndTypeAreRemembered();
    void dialogOffersTypesAndOptions();
    void pngFailuresKeepTheOldFile();
    void failuresAreToldAndNotRemembered();

private:
    // Exports through File > Export... with a chooser that answers name
    // (in the temporary folder) and these options; returns the path the
    // chooser was offered.
    QString exportAs(const QString &name, ExportOptions::Format format, int scale = 1, bool printColours = true);
    QByteArray contents(const QString &name) const;

    std::unique_ptr<QTemporaryDir> settingsFolder;
    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
    std::unique_ptr<QTemporaryDir> folder;
    std::function<bool(QString &, ExportOptions &)> dialogChooser; // the window's own
};

Q_DECLARE_METATYPE(ExportOptions::Format)

namespace {

const QList<QPointF> square{{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};

// Runs Ghostscript on file with device (and extra arguments); its exit
// code, and what it printed on either stream in output.
int ghostscript(const QString &file, const QString &device, QByteArray &output, const QStringList &extra = {})
{
    QProcess gs;
    gs.setProcessChannelMode(QProcess::MergedChannels);
    gs.start("gs", QStringList{"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=" + device} + extra +
                       QStringList{file});
    if (!gs.waitForFinished(30000))
        return -1;
    output = gs.readAll();
    return gs.exitStatus() == QProcess::NormalExit ? gs.exitCode() : -1;
}

// The drawing's extent in points as Ghostscript measures it (bbox device):
// width and height, or (-1, -1) when the file is refused.
QSizeF measuredSize(const QString &file)
{
    QByteArray output;
    if (ghostscript(file, "bbox", output) != 0)
        return {-1, -1};
    const auto match = QRegularExpression(R"(%%HiResBoundingBox: (\S+) (\S+) (\S+) (\S+))").match(output);
    if (!match.hasMatch())
        return {-1, -1};
    return {match.captured(3).toDouble() - match.captured(1).toDouble(),
            match.captured(4).toDouble() - match.captured(2).toDouble()};
}

// The page size a vector file declares, in points: the EPS bounding box,
// the PDF media box, the SVG width and height; (-1, -1) when none.
QSizeF declaredSize(const QByteArray &file)
{
    for (const char *pattern : {R"(%%BoundingBox: 0 0 (\d+) (\d+))", R"(/MediaBox \[0 0 (\d+) (\d+)\])",
                                R"(<svg[^>]* width="(\d+)pt" height="(\d+)pt")"}) {
        const auto match = QRegularExpression(pattern).match(QString::fromLatin1(file));
        if (match.hasMatch())
            return {match.captured(1).toDouble(), match.captured(2).toDouble()};
    }
    return {-1, -1};
}

// The file rendered by Ghostscript at 72 dpi; a null image when refused.
QImage rendered(const QString &file, const QString &folder)
{
    const QString png = folder + "/rendered.png";
    QByteArray output;
    QFile::remove(png);
    if (ghostscript(file, "png16m", output, {"-dEPSCrop", "-r72", "-sOutputFile=" + png}) != 0)
        return {};
    return QImage(png);
}

// The stroke colours and widths of an SVG file's elements, as
// "colour width" entries, with the elements counted; empty when the XML
// is not well formed or the root is not svg.
QMap<QString, int> svgStrokes(const QByteArray &text)
{
    QXmlStreamReader xml(text);
    QMap<QString, int> strokes;
    bool root = true;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (root && xml.name() != QLatin1String("svg"))
            return {};
        root = false;
        const QXmlStreamAttributes a = xml.attributes();
        if (a.hasAttribute("stroke"))
            ++strokes[a.value("stroke").toString() + " " + a.value("stroke-width").toString()];
    }
    return xml.hasError() ? QMap<QString, int>() : strokes;
}

} // namespace

void GLMainWindowExportTest::initTestCase()
{
    // The remembered folder and type go to a settings folder of the test's
    // own, not the user's.
    settingsFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(settingsFolder->isValid());
    qputenv("XDG_CONFIG_HOME", settingsFolder->path().toLocal8Bit());
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    dialogChooser = window->chooseExport;
}

void GLMainWindowExportTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    setPolygon(glbox, square, true);
    glbox->setCurrentCurve(2);
    curveAt(glbox, 2)->level = 3;
    glbox->controlPoints->dirty = true;
    window->statusBar()->clearMessage();
}

QString GLMainWindowExportTest::exportAs(const QString &name, ExportOptions::Format format, int scale,
                                         bool printColours)
{
    QString offered;
    const QString answer = QDir::isAbsolutePath(name) ? name : folder->filePath(name);
    window->chooseExport = [&](QString &path, ExportOptions &options) {
        offered = path;
        path = answer;
        options.format = format;
        options.pngScale = scale;
        options.printColours = printColours;
        return true;
    };
    window->exportFigure();
    return offered;
}

QByteArray GLMainWindowExportTest::contents(const QString &name) const
{
    QFile file(folder->filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void GLMainWindowExportTest::figureIsReadAndShowsTheCurve_data()
{
    QTest::addColumn<ExportOptions::Format>("format");
    QTest::addColumn<bool>("printColours");
    // What the page writes for the dark polygon, the yellow one, the curve
    // at its screen width, and the ghost's grey.
    QTest::addColumn<QByteArrayList>("present");
    QTest::addColumn<QByteArrayList>("absent");

    QTest::newRow("EPS") << ExportOptions::Eps << true << QByteArrayList{"0.15 0.15 0.15 C", "3 W", "2.5 P"}
                         << QByteArrayList{"1 1 0 C", "0.6 0.6 0.6 C"};
    QTest::newRow("EPS, screen colours") << ExportOptions::Eps << false << QByteArrayList{"1 1 0 C", "3 W"}
                                         << QByteArrayList{"0.15 0.15 0.15 C", "0.6 0.6 0.6 C"};
    QTest::newRow("PDF") << ExportOptions::Pdf << true << QByteArrayList{"0.15 0.15 0.15 RG", "3 w"}
                         << QByteArrayList{"1 1 0 RG", "0.6 0.6 0.6 RG"};
    QTest::newRow("SVG") << ExportOptions::Svg << true << QByteArrayList{"#262626 1", "#a587ff 3"}
                         << QByteArrayList{"#ffff00 1", "#999999 3"};
    QTest::newRow("PNG") << ExportOptions::Png << true << QByteArrayList{} << QByteArrayList{};
}

void GLMainWindowExportTest::figureIsReadAndShowsTheCurve()
{
    QFETCH(ExportOptions::Format, format);
    QFETCH(bool, printColours);
    QFETCH(QByteArrayList, present);
    QFETCH(QByteArrayList, absent);

    exportAs("figure", format, 1, printColours);

    const QString name = "figure." + ExportOptions::suffix(format);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{name});
    QCOMPARE(window->statusBar()->currentMessage(), "Exported " + name);
    const QString path = folder->filePath(name);
    const QByteArray file = contents(name);
    if (format == ExportOptions::Svg) {
        // Every stroke in the file, as colour and width.
        const QMap<QString, int> strokes = svgStrokes(file);
        QVERIFY2(!strokes.isEmpty(), "not an SVG document");
        for (const QByteArray &stroke : present)
            QVERIFY2(strokes.value(stroke) > 0, stroke.constData());
        for (const QByteArray &stroke : absent)
            QVERIFY2(!strokes.contains(stroke), stroke.constData());
        return;
    }
    QImage image;
    if (format == ExportOptions::Png) {
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("png"));
        image = reader.read();
        QCOMPARE(image, glbox->grabFramebuffer().convertToFormat(image.format()));
    } else {
        for (const QByteArray &text : present)
            QVERIFY2(file.contains(text), text.constData());
        for (const QByteArray &text : absent)
            QVERIFY2(!file.contains(text), text.constData());
        image = rendered(path, folder->path());
        QVERIFY2(!image.isNull(), "Ghostscript refused the file");
    }
    QVERIFY(curvePixels(image) > 100);
}

void GLMainWindowExportTest::pageSizeIgnoresTheWindow()
{
    // The square of side 10 in a world square of 20 mapped to 10 cm (283
    // pt): 141.5 pt, and the control points' dots sticking out at each
    // corner. The same box in every format and at every window size, and
    // the ink fills it.
    const QSize start = window->size();
    QList<QSizeF> sizes;
    for (const QSize size : {start, start + QSize(400, 300)}) {
        window->resize(size);
        QTest::qWait(100);
        for (const auto format : {ExportOptions::Eps, ExportOptions::Pdf, ExportOptions::Svg}) {
            const QString name = "page." + ExportOptions::suffix(format);
            QFile::remove(folder->filePath(name));
            exportAs("page", format);
            sizes << declaredSize(contents(name));
        }
        const QSizeF ink = measuredSize(folder->filePath("page.eps"));
        QVERIFY2(sizes.last().width() - ink.width() < 3, qPrintable(QString::number(ink.width())));
    }
    window->resize(start);
    QTest::qWait(100);
    for (const QSizeF size : sizes) {
        QCOMPARE(size, sizes.first());
        QVERIFY2(size.width() > 146 && size.width() < 150, qPrintable(QString::number(size.width())));
    }
}

void GLMainWindowExportTest::pngFollowsTheScale()
{
    // Lines twice as long and twice as wide cover about four times the
    // pixels.
    const int side = qRound(glbox->width() * glbox->devicePixelRatioF());
    exportAs("small.png", ExportOptions::Png, 1);
    exportAs("large.png", ExportOptions::Png, 2);
    const QImage small(folder->filePath("small.png"));
    const QImage large(folder->filePath("large.png"));
    QCOMPARE(small.size(), QSize(side, side));
    QCOMPARE(large.size(), QSize(2 * side, 2 * side));
    const double ratio = static_cast<double>(curvePixels(large)) / curvePixels(small);
    QVERIFY2(ratio > 3 && ratio < 5, qPrintable(QString::number(ratio)));
}

void GLMainWindowExportTest::namesAndSuffixes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<ExportOptions::Format>("type");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("start");

    QTest::newRow("suffix added") << "figure" << ExportOptions::Pdf << "figure.pdf" << QByteArray("%PDF-");
    QTest::newRow("suffix kept") << "figure.eps" << ExportOptions::Eps << "figure.eps" << QByteArray("%!PS-Adobe");
    // A typed suffix of another type decides the format.
    QTest::newRow("typed suffix wins") << "figure.SVG" << ExportOptions::Pdf << "figure.SVG" << QByteArray("<?xml");
    QTest::newRow("other suffix") << "figure.v2" << ExportOptions::Png << "figure.v2.png"
                                  << QByteArray("\x89PNG");
}

void GLMainWindowExportTest::namesAndSuffixes()
{
    QFETCH(QString, typed);
    QFETCH(ExportOptions::Format, type);
    QFETCH(QString, written);
    QFETCH(QByteArray, start);

    exportAs(typed, type);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{written});
    QVERIFY(contents(written).startsWith(start));
}

void GLMainWindowExportTest::folderAndTypeAreRemembered()
{
    exportAs("first", ExportOptions::Svg);
    // The next export starts where this one went, in its type, named after
    // the scheme and level shown then.
    curveAt(glbox, 2)->level = 5;
    QCOMPARE(exportAs("second", ExportOptions::Png), folder->filePath("chaikin-level-5.svg"));
    glbox->setCurrentCurve(1);
    QCOMPARE(exportAs("third", ExportOptions::Eps), folder->filePath("bezier.png"));
    // A new window, as after a restart, remembers too.
    GLMainWindow later;
    QString offered;
    later.chooseExport = [&offered](QString &path, ExportOptions &) {
        offered = path;
        return false;
    };
    later.exportFigure();
    QCOMPARE(offered, folder->filePath("polygon.eps"));
}

void GLMainWindowExportTest::dialogOffersTypesAndOptions()
{
    // The real dialog: the proposed name, the four types, the options row;
    // PNG at 2x chosen as a user would.
    const QString base = folder->filePath("shot");
    exportAs("chosen.pdf", ExportOptions::Pdf); // remembers the folder
    window->chooseExport = dialogChooser;
    QStringList filters;
    QString proposed;
    bool printColoursEnabled = true;
    QTimer answerer;
    answerer.setInterval(20);
    connect(&answerer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answerer.stop();
        filters = dialog->nameFilters();
        auto *edit = dialog->findChild<QLineEdit *>("fileNameEdit");
        proposed = edit->text();
        dialog->selectNameFilter(ExportOptions::filter(ExportOptions::Png));
        emit dialog->filterSelected(ExportOptions::filter(ExportOptions::Png));
        printColoursEnabled = dialog->findChild<QCheckBox *>("printColoursCheckBox")->isEnabled();
        dialog->findChild<QComboBox *>("pngScaleComboBox")->setCurrentText("2x");
        edit->setText(base);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    answerer.start();
    window->exportFigure();

    QCOMPARE(filters, (QStringList{"Encapsulated PostScript (*.eps)", "PDF (*.pdf)", "SVG (*.svg)",
                                   "PNG image (*.png)", "Curve points (CSV) (*.csv)",
                                   "Curve points (JSON) (*.json)"}));
    QCOMPARE(proposed, QString("chaikin-level-3.pdf"));
    QVERIFY(!printColoursEnabled);
    const QImage shot(base + ".png");
    QCOMPARE(shot.width(), 2 * qRound(glbox->width() * glbox->devicePixelRatioF()));
}

void GLMainWindowExportTest::pngFailuresKeepTheOldFile()
{
    // The overwrite question and the failures of every export format.
    QFile old(folder->filePath("old.png"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older picture") == 16);
    old.close();
    QVERIFY(answerModalBox([this] { exportAs("old.png", ExportOptions::Png); }, QMessageBox::No));
    QCOMPARE(contents("old.png"), QByteArray("an older picture"));

    const QString missing = folder->filePath("missing/figure.png");
    QString title, text;
    QVERIFY(answerModalBox([this] { exportAs("missing/figure.png", ExportOptions::Png); }, QMessageBox::Ok, &title,
                           &text));
    const QString failure = "Could not create file " + missing + ": No such file or directory";
    QCOMPARE(text, failure);
    QCOMPARE(window->statusBar()->currentMessage(), failure);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"old.png"});
}

void GLMainWindowExportTest::failuresAreToldAndNotRemembered()
{
    exportAs("first.svg", ExportOptions::Svg);
    // A folder that refuses new files whatever its permissions say (root
    // included): the failure is told in a box naming the file, and the
    // next export still starts where the last figure went.
    QString text;
    QVERIFY(answerModalBox([this] { exportAs("/proc/figure.pdf", ExportOptions::Pdf); }, QMessageBox::Ok, nullptr,
                           &text));
    QVERIFY2(text.startsWith("Could not create file /proc/figure.pdf: "), qPrintable(text));
    QCOMPARE(QFileInfo(exportAs("second.svg", ExportOptions::Svg)).absolutePath(), folder->path());
    QCOMPARE(QFileInfo(exportAs("third", ExportOptions::Png)).absolutePath(), folder->path());

    // Such a folder remembered by an older version, or one since removed,
    // is not offered: its listing would hold up the dialog.
    for (const QString &gone : {QString("/proc"), folder->filePath("removed")}) {
        QSettings(QSettings::UserScope, "ornelle", "ornelle").setValue("export/folder", gone);
        QString offered;
        window->chooseExport = [&offered](QString &path, ExportOptions &) {
            offered = path;
            return false;
        };
        window->exportFigure();
        QVERIFY2(!offered.startsWith(gone), qPrintable(offered));
    }
}

QTEST_MAIN(GLMainWindowExportTest)
#include "GLMainWindowExportTest.moc"
