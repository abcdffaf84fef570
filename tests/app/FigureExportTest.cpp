#include "CurveTesting.h"

#include "analysis/SchemeSetup.h"
#include "curves/MaskRefinement.h"
#include "model/Document.h"
#include "model/Scene.h"
#include "render/DeviceMapping.h"
#include "render/Figures.h"
#include "support/ProgramRun.h"
#include "view/ExportOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>

// ornelle FILE --export OUT as a user runs it: the real program, with no
// display at all, each format read back and checked against the scheme's
// own points; and command lines that must write nothing.
namespace {

const QString program = ORNELLE_PROGRAM;

using Outcome = ProgramRun;

Outcome ornelle(const QStringList &arguments)
{
    return ProgramRun::withoutDisplay(program, arguments);
}

// The pixels Ghostscript draws for a PDF or EPS file that are not white.
int inkOf(const QString &file, const QString &folder)
{
    const QString png = folder + "/ink.png";
    QFile::remove(png);
    QProcess gs;
    gs.start("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=png16m", "-r72",
                    "-sOutputFile=" + png, file});
    if (!gs.waitForFinished(30000) || gs.exitCode() != 0)
        return -1;
    const QImage image(png);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    return ink;
}

// The scheme's curve for document, made by the scheme class itself.
std::vector<Vector> curveOf(const Document &document)
{
    Scene scene;
    scene.apply(document);
    const SchemeSetup setup = SchemeSetup::of(scene.curve(document.scheme));
    Polygon polygon(setup.polygon, setup.closed);
    const std::unique_ptr<Curve> curve = setup.makeCurve(&polygon.control);
    refine(*curve);
    return positionsOf(*curve->result);
}

// The points of a CSV file after its header line; an empty list when a
// line is not two numbers.
std::vector<Vector> pointsOf(const QByteArray &csv)
{
    std::vector<Vector> points;
    const QList<QByteArray> lines = csv.trimmed().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> xy = lines[i].split(',');
        bool okX = false, okY = false;
        points.emplace_back(xy.value(0).toDouble(&okX), xy.value(1).toDouble(&okY));
        if (xy.size() != 2 || !okX || !okY)
            return {};
    }
    return points;
}

// Every vertex of the SVG paths stroked in colour, in page points.
std::vector<QPointF> pathVertices(const QByteArray &svg, const QString &colour)
{
    std::vector<QPointF> vertices;
    QXmlStreamReader xml(svg);
    QStringList strokes{"none"};
    static const QRegularExpression pair(R"(([-0-9.e]+),([-0-9.e]+))");
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("g"))
            strokes.removeLast();
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("g"))
            strokes << xml.attributes().value("stroke").toString();
        if (xml.name() == QLatin1String("path") && strokes.last() == colour)
            for (const auto &m : pair.globalMatch(xml.attributes().value("d").toString()))
                vertices.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return vertices;
}

class FigureExportTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        document.points = polygons::star();
        document.closed = true;
        document.scheme = Schemes::Chaikin;
        document.settings(Schemes::Chaikin).level = 3;
        QFile out(path("star.ornelle"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(R"({"format": "ornelle", "version": 1, "closed": true, "points": [)");
        for (std::size_t i = 0; i < document.points.size(); ++i)
            out.write(QString("%1[%2, %3]")
                          .arg(i ? ", " : "")
                          .arg(document.points[i].x(), 0, 'g', 17)
                          .arg(document.points[i].y(), 0, 'g', 17)
                          .toLatin1());
        out.write(R"(], "scheme": "chaikin", "schemes": {"chaikin": {"u": 0.75, "level": 3}}})");
    }

    QString path(const QString &name) const { return folder.filePath(name); }
    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    Document document;
};

} // namespace

TEST_F(FigureExportTest, EveryFormatWithoutADisplay)
{
    const QStringList outputs{"f.csv", "f.svg", "f.pdf", "f.eps", "f.png", "f.json"};
    QStringList arguments{path("star.ornelle")};
    for (const QString &out : outputs)
        arguments << "--export" << path(out);
    const Outcome run = ornelle(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.isEmpty());

    // The CSV: the scheme's own points, every number read back exactly.
    const std::vector<Vector> curve = curveOf(document);
    EXPECT_TRUE(read("f.csv").startsWith("x,y\n"));
    EXPECT_EQ(pointsOf(read("f.csv")), curve);

    // The SVG: the curve is one lilac path through those points, within
    // 0.01 pt, on a page in points.
    const QByteArray svg = read("f.svg");
    Scene scene;
    scene.apply(document);
    scene.update();
    const ViewTransform reset;
    const QRect box = Figures::pageBox(scene, reset, ExportOptions::pageSide);
    EXPECT_TRUE(svg.contains(QString(R"(width="%1pt")").arg(box.width()).toLatin1()));
    const DeviceMapping page = DeviceMapping::page(reset, ExportOptions::pageSide, box, true);
    std::vector<QPointF> drawn = pathVertices(svg, "#a587ff");
    ASSERT_EQ(drawn.size(), curve.size() + 1) << "a closed loop, back to its start";
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const QPointF expected = page.map(curve[i].x(), curve[i].y());
        EXPECT_LE(std::hypot(drawn[i].x() - expected.x(), drawn[i].y() - expected.y()), 0.01) << "vertex " << i;
    }

    // The PDF and EPS pages render; the PNG is the view's picture.
    for (const QString &name : {QString("f.pdf"), QString("f.eps")})
        EXPECT_GT(inkOf(path(name), folder.path()), 1000) << name.toStdString();
    const QImage png(path("f.png"));
    ASSERT_EQ(png.size(), QSize(600, 600));

    // The JSON: the same points, the settings and the read-out's areas.
    const QJsonObject json = QJsonDocument::fromJson(read("f.json")).object();
    EXPECT_EQ(json["scheme"].toString(), "chaikin");
    EXPECT_EQ(json["settings"].toObject()["level"].toInt(), 3);
    const QJsonArray points = json["points"].toArray();
    ASSERT_EQ(points.size(), qsizetype(curve.size()));
    EXPECT_EQ(points[5].toArray()[1].toDouble(), curve[5].y());
    const QJsonObject areas = json["areas"].toObject();
    EXPECT_NEAR(areas["polygon"].toDouble(), clockwiseArea(document.points), 1e-12);
    EXPECT_EQ(areas["final"].toDouble(), areas["polygon"].toDouble() - areas["delta"].toDouble());
    EXPECT_NEAR(areas["final"].toDouble(), clockwiseArea(curve), 1e-9);
}

TEST_F(FigureExportTest, OverridesForTheExport)
{
    struct Case
    {
        QStringList options;
        int scheme;
        int level;
        double u;
        double precision;
    };
    const Case cases[] = {
        {{"--scheme", "bspline", "--level", "2", "--u", "0.5"}, Schemes::BSpline, 2, 0.5, 0.2},
        {{"--level", "1", "--u", "0.6"}, Schemes::Chaikin, 1, 0.6, 0.2},
        {{"--scheme", "bezier", "--precision", "0.7", "--u", "0.3"}, Schemes::Bezier, 0, 0.3, 0.7},
        {{"--scheme", "proposed", "--level", "2"}, Schemes::Proposed, 2, 0.5, 0.2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const Outcome run = ornelle(QStringList{path("star.ornelle"), "--export", path("o.csv")} << c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        Document asked = document;
        asked.scheme = c.scheme;
        asked.settings(c.scheme).level = c.level;
        asked.settings(c.scheme).u = c.u;
        asked.settings(c.scheme).precision = c.precision;
        EXPECT_EQ(pointsOf(read("o.csv")), curveOf(asked));
    }

    // The PNG's scale and the page's colours.
    const Outcome run = ornelle({path("star.ornelle"), "--png-scale", "2", "--screen-colours", "--export", path("s.png"),
                             "--export", path("s.pdf")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QImage(path("s.png")).size(), QSize(1200, 1200));
    EXPECT_TRUE(read("s.pdf").contains("1 1 0 RG"));
    EXPECT_FALSE(read("s.pdf").contains("0.15 0.15 0.15 RG"));
}

// A typed mask draws the custom scheme: its CSV is the mask's rule applied
// pass by pass to the closed polygon, to the last bit. With --open-ends an
// open polygon's cubic B-spline runs from its first point to its last.
TEST_F(FigureExportTest, CustomMaskAndOpenEnds)
{
    const Outcome run = ornelle({path("star.ornelle"), "--mask", "2: -1 0 9 16 9 0 -1 / 16", "--level", "3",
                                 "--export", path("m.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const MaskRefinement rule(*Mask::parse("2: -1 0 9 16 9 0 -1 / 16").mask);
    std::vector<Vector> level = document.points, next;
    for (int pass = 0; pass < 3; ++pass) {
        rule.pass(level, next);
        std::swap(level, next);
    }
    EXPECT_EQ(pointsOf(read("m.csv")), level);

    QByteArray open = read("star.ornelle");
    open.replace("\"closed\": true", "\"closed\": false");
    QFile file(path("open.ornelle"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(open) == open.size());
    file.close();
    const Outcome ends = ornelle({path("open.ornelle"), "--scheme", "bspline", "--level", "6", "--open-ends",
                                  "--export", path("open.csv")});
    ASSERT_EQ(ends.exitCode, 0) << ends.err.constData();
    const std::vector<Vector> curve = pointsOf(read("open.csv"));
    const std::vector<Vector> &p = document.points;
    ASSERT_GT(curve.size(), 64u * p.size() / 2);
    EXPECT_LT(distance(curve.front(), p.front()), 0.01 * distance(p[1], p[0]));
    EXPECT_LT(distance(curve.back(), p.back()), 0.01 * distance(p[p.size() - 1], p[p.size() - 2]));

    // A mask that is not affine invariant is refused, nothing written.
    const Outcome refused = ornelle({path("star.ornelle"), "--mask", "2: 1 1 1", "--export", path("r.csv")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("not affine invariant")) << refused.err.constData();
    EXPECT_FALSE(QFile::exists(path("r.csv")));
}

TEST_F(FigureExportTest, BadCommandLinesWriteNothing)
{
    struct Case
    {
        const char *what;
        QStringList arguments; // OUT stands for the existing output file
    };
    const QString missing = path("missing.ornelle");
    const Case cases[] = {
        {"unknown scheme", {"--scheme", "spline"}},
        {"level -1", {"--level", "-1"}},
        {"u 2", {"--u", "2"}},
        {"missing file", {}},
        {"unwritable OUT", {"--export", "/proc/ornelle-figure.pdf"}},
        {"folder as OUT", {"--export", folder.path()}},
        {"unknown kind", {"--export", path("figure.doc")}},
        {"level of the Bezier scheme", {"--scheme", "bezier", "--level", "3"}},
        {"unknown option", {"--colour"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile old(path("old.pdf"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older figure");
        old.close();
        const QString file = QString(c.what) == "missing file" ? missing : path("star.ornelle");
        const Outcome run = ornelle(QStringList{file, "--export", path("old.pdf")} << c.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
        EXPECT_TRUE(run.err.startsWith("ornelle: ")) << run.err.constData();
        EXPECT_EQ(read("old.pdf"), "an older figure");
        EXPECT_FALSE(QFile::exists(path("figure.doc")));
    }
    const Outcome help = ornelle({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--export <OUT>"));
}

TEST_F(FigureExportTest, ShippedExamplesBesideTheProgramDrawCurves)
{
    // --help says where they are: beside the program in a build tree.
    const QString examples = QFileInfo(program).dir().filePath("examples");
    const Outcome help = ornelle({"--help"});
    EXPECT_TRUE(help.out.contains(("Example polygons: " + examples).toUtf8())) << help.out.constData();
    const QStringList files = QDir(examples).entryList({"*.ornelle"}, QDir::Files);
    ASSERT_GE(files.size(), 5);
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const QString csv = path(name + ".csv");
        const Outcome run = ornelle({QDir(examples).filePath(name), "--export", csv});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_GT(pointsOf(read(name + ".csv")).size(), std::size_t(20)); // a curve, not its polygon
    }
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
