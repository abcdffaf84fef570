#include "FigureExport.h"

#include "document/DocumentFile.h"
#include "model/Document.h"
#include "model/Scene.h"
#include "render/EglContext.h"
#include "render/ExportFile.h"
#include "render/Figures.h"
#include "render/Frame.h"
#include "render/PostScriptWriter.h"
#include "render/SceneRenderer.h"
#include "view/ExportOptions.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// value in the fewest digits that read back to the same double.
void put(QByteArray &out, double value)
{
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

// The points of list as JSON pairs, appended to out.
void putPairs(QByteArray &out, const List<Point> *list)
{
    out += '[';
    for (const Node<Point> *n = list ? list->head : nullptr; n; n = n->next) {
        out += n == list->head ? "[" : ", [";
        put(out, n->item->position.x());
        out += ", ";
        put(out, n->item->position.y());
        out += ']';
    }
    out += ']';
}

// Room for the text of count points, a pair of numbers each.
void reserveFor(QByteArray &out, std::size_t count)
{
    out.reserve(static_cast<qsizetype>(64 + 48 * count));
}

// Qt's own notes (platform plugins, folders) are noise in a batch run:
// only its errors are told.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

// The PostScript page drawn by OpenGL in a context of its own, into memory.
QByteArray postScriptPage(SceneRenderer &renderer, const Frame &page, const QRect &box, const QString &title,
                          QString &failure)
{
    EglContext context;
    if (!context.valid()) {
        failure = "no OpenGL without a display for the EPS page: " + context.error() + ".";
        return {};
    }
    char *data = nullptr;
    std::size_t size = 0;
    std::FILE *memory = open_memstream(&data, &size);
    if (!memory) {
        failure = "no memory for the EPS page.";
        return {};
    }
    failure = PostScriptWriter().recordPage(memory, renderer, page, box, ExportOptions::pageSide,
                                            title.toLatin1().constData());
    std::fclose(memory);
    QByteArray bytes(data, static_cast<qsizetype>(size));
    std::free(data);
    return bytes;
}

} // namespace

FigureExport::FigureExport(Request request) : request(std::move(request)) {}

int FigureExport::run(const char *program)
{
    // No display is used or wanted, whatever the environment names: the
    // offscreen platform gives QPainter its fonts without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    int argc = 1;
    char *argv[] = {const_cast<char *>(program), nullptr};
    QGuiApplication application(argc, argv);

    auto fail = [](const QString &message) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(message));
        return 2;
    };
    for (const QString &path : request.outputs)
        if (const QString problem = checkOutput(path); !problem.isEmpty())
            return fail(problem);
    Scene scene;
    if (const QString problem = load(scene); !problem.isEmpty())
        return fail(problem);
    const Scene::Readout read = scene.update();
    for (const std::string &message : read.messages)
        if (message.rfind("Not enough memory", 0) == 0)
            return fail(QString::fromStdString(message));

    // Everything is made before anything is written.
    std::vector<QByteArray> made;
    for (const QString &path : request.outputs) {
        QString failure;
        try {
            made.push_back(make(path, scene, read.polygonArea, read.deltaArea, failure));
        } catch (const std::bad_alloc &) {
            failure = "not enough memory.";
        }
        if (!failure.isEmpty())
            return fail(QString("%1: %2").arg(path, failure));
    }
    for (std::size_t i = 0; i < made.size(); ++i) {
        const ExportFile::Result result = ExportFile::write(request.outputs[qsizetype(i)], made[i]);
        if (!result.ok())
            return fail(result.message);
    }
    return 0;
}

QString FigureExport::load(Scene &scene) const
{
    Document document;
    if (const QString problem = DocumentFile::read(request.file, document); !problem.isEmpty())
        return problem;
    if (request.scheme)
        document.scheme = *request.scheme;
    if (request.mask)
        document.customMask = *request.mask;
    const bool overrides = request.level || request.u || request.precision || request.openEnds;
    if (overrides && document.scheme == Schemes::None)
        return QString("%1 selects no scheme to change; add --scheme.").arg(request.file);
    const QString name = QString::fromLatin1(Schemes::row(document.scheme).name);
    if (request.level && document.scheme == Schemes::Bezier)
        return "--level does not apply to the Bezier scheme, which has --precision.";
    if (request.precision && document.scheme != Schemes::Bezier)
        return QString("--precision applies to the Bezier scheme only, not to %1.").arg(name);
    if (request.openEnds && !Schemes::refines(document.scheme))
        return "--open-ends applies to the refining schemes, not to the Bezier scheme.";
    if (request.mask && document.scheme != Schemes::Custom)
        return QString("--mask applies to the custom scheme, not to %1.").arg(name);
    if (document.scheme != Schemes::None) {
        Document::SchemeSettings &settings = document.settings(document.scheme);
        if (request.level)
            settings.level = *request.level;
        if (request.openEnds)
            settings.openEnds = true;
        // As a file's values: at the nearest position of the panel.
        if (request.u)
            settings.u = Document::nearestU(*request.u);
        if (request.precision)
            settings.precision = Document::nearestPrecision(*request.precision);
    }
    scene.apply(document);
    return {};
}

QString FigureExport::checkOutput(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (info.isDir())
        return QString("%1 is a folder, not a file.").arg(path);
    if (ExportOptions::formatOfName(path) < 0 && suffix != "csv" && suffix != "json")
        return QString("%1: unknown kind of file (the name must end in .pdf, .svg, .eps, .png, .csv or .json).")
            .arg(path);
    // Writing a file is the only sure test that the folder takes one.
    QTemporaryFile probe(info.absoluteDir().filePath(".ornelle-probe-XXXXXX"));
    if (!probe.open())
        return QString("Could not create file %1: %2.").arg(path, probe.errorString());
    if (info.exists() && !info.isWritable())
        return QString("Could not write file %1: it is read-only.").arg(path);
    return {};
}

QByteArray FigureExport::make(const QString &path, Scene &scene, double polygonArea, double deltaArea,
                              QString &failure) const
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "csv") {
        const Curve *curve = scene.selectedCurve();
        if (!curve)
            failure = "the file selects no scheme whose points to write; add --scheme.";
        else if (!curve->drawsCurve())
            failure = QString("the %1 scheme draws no curve here: it needs %2 points.")
                          .arg(Schemes::row(curve->scheme()).name,
                               curve->closedOnly && !curve->openEnds ? "a closed polygon of 3 or more" : "3 or more");
        return failure.isEmpty() ? csv(scene) : QByteArray();
    }
    if (suffix == "json")
        return json(scene, polygonArea, deltaArea);

    SceneRenderer renderer(scene);
    const ViewTransform reset;
    const ExportOptions::Format format = static_cast<ExportOptions::Format>(ExportOptions::formatOfName(path));
    if (format == ExportOptions::Png) {
        const Frame frame = Frame::image(reset, reset.side() / viewSide, viewSide, 1.0, request.pngScale);
        return Figures::png(Figures::image(renderer, frame, viewSide * request.pngScale), failure);
    }
    const Frame page = Frame::page(reset, ExportOptions::pageSide, request.printColours);
    const QRect box = Figures::pageBox(scene, reset, ExportOptions::pageSide);
    const QString title = Figures::title(scene);
    if (format == ExportOptions::Pdf)
        return Figures::pdf(renderer, page, box, ExportOptions::pageSide, title);
    if (format == ExportOptions::Svg)
        return Figures::svg(renderer, page, box, ExportOptions::pageSide, title);
    return postScriptPage(renderer, page, box, title, failure);
}

QByteArray FigureExport::csv(const Scene &scene)
{
    const Curve *curve = scene.selectedCurve();
    const List<Point> *points = curve ? curve->result : nullptr;
    QByteArray out;
    reserveFor(out, points ? points->count : 0);
    out += "x,y\n";
    for (const Node<Point> *n = points ? points->head : nullptr; n; n = n->next) {
        put(out, n->item->position.x());
        out += ',';
        put(out, n->item->position.y());
        out += '\n';
    }
    return out;
}

QByteArray FigureExport::json(Scene &scene, double polygonArea, double deltaArea)
{
    const Curve *curve = scene.selectedCurve();
    const List<Point> *points = curve && curve->drawsCurve() ? curve->result : nullptr;
    // Without a drawn curve there is no curve area: the final area is 0.
    if (!points) {
        polygonArea = scene.polygon().area();
        deltaArea = polygonArea;
    }
    QByteArray out;
    reserveFor(out, scene.polygon().points.count + (points ? points->count : 0));
    out += "{\"scheme\": \"" + QByteArray(Schemes::row(scene.selected()).key) + "\",\n \"settings\": {";
    if (curve) {
        out += "\"u\": ";
        put(out, curve->u());
        if (curve->usesPrecision) {
            out += ", \"precision\": ";
            put(out, curve->precision);
        }
        if (curve->usesLevel)
            out += ", \"level\": " + QByteArray::number(curve->level);
        out += ", \"reachedLevel\": " + QByteArray::number(curve->reachedLevel) +
               ", \"limited\": " + (curve->limited ? "true" : "false");
    }
    out += QByteArray("},\n \"closed\": ") + (scene.polygon().closed ? "true" : "false") + ",\n \"polygon\": ";
    putPairs(out, &scene.polygon().points);
    out += ",\n \"points\": ";
    putPairs(out, points);
    out += ",\n \"areas\": {\"polygon\": ";
    put(out, polygonArea);
    out += ", \"delta\": ";
    put(out, deltaArea);
    out += ", \"final\": ";
    put(out, polygonArea - deltaArea);
    out += "}}\n";
    return out;
}
