#include "CommandLine.h"

#include "AnalyseCommand.h"
#include "ExampleFiles.h"
#include "Version.h"
#include "analysis/MaskAnalysis.h"
#include "model/Document.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

struct Positional
{
    const char *name;
    const char *description;
    const char *syntax; // as the usage line shows it, "[NAME]" when optional
};

// The positional arguments the program takes, in order.
const QList<Positional> positionals{
    {"FILE", QT_TRANSLATE_NOOP("CommandLine", "Polygon file (.ornelle) to open at start, or to draw with --export."),
     "[FILE]"},
};

void declareOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QString::fromUtf8(ornelle::description));
    // Qt's own options are single-dash words; read "-style" as one option,
    // not as -s -t -y -l -e.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    const auto text = [](const char *words) { return QCoreApplication::translate("CommandLine", words); };
    parser.addOption({"analyse",
                      text("Print the analysis of a mask ('2: 1 3 3 1 / 4') or of the scheme chaikin, bspline or "
                           "proposed as JSON, and exit."),
                      "MASK"});
    parser.addOption({"export",
                      text("Write the figure of FILE to OUT, without a window, and exit: the page of File > "
                           "Export... for .pdf, .svg and .eps, the view's picture for .png, the curve's points "
                           "for .csv, scheme, settings, points and areas for .json. May be given more than once."),
                      "OUT"});
    parser.addOption({"scheme", text("With --export: draw this scheme instead of FILE's: bezier, chaikin, bspline, "
                                     "proposed or custom."),
                      "SCHEME"});
    parser.addOption({"mask", text("With --export: the custom scheme's mask ('2: -1 0 9 16 9 0 -1 / 16'); "
                                   "selects the custom scheme unless --scheme names another."),
                      "MASK"});
    parser.addOption({"open-ends", text("With --export: a refining scheme refines an open polygon too, its ends "
                                        "continued along the end edges.")});
    parser.addOption({"level", text("With --export: the scheme's subdivision level, 0 to 99."), "N"});
    parser.addOption({"u", text("Weight u of the scheme named by --analyse, or with --export of the scheme drawn "
                                "(-1 to 0.99)."),
                      "U"});
    parser.addOption({"precision", text("With --export: the Bezier scheme's precision, 0.05 to 10."), "P"});
    parser.addOption({"png-scale", text("With --export: a PNG 1, 2 or 4 times the view's size (default 1)."),
                      "SCALE"});
    parser.addOption({"print-colours", text("With --export: a dark polygon and dots for paper (the default).")});
    parser.addOption({"screen-colours", text("With --export: the polygon and dots in the view's colours.")});
    for (const Positional &p : positionals)
        parser.addPositionalArgument(p.name, p.description, p.syntax);
}

[[noreturn]] void failWith(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(message));
    std::fprintf(stderr, "Try '%s --help' for more information.\n", qPrintable(QCoreApplication::applicationName()));
    std::exit(EXIT_FAILURE);
}

// The options that only an export reads.
const QStringList exportOptions{"scheme", "mask", "open-ends", "level", "u", "precision", "png-scale", "print-colours", "screen-colours"};

// A figure that cannot be made is told in one line; nothing is written.
[[noreturn]] void exportFailure(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(message));
    std::exit(2);
}

// The value of option as a number within low..high, or an export failure
// saying what it must be.
double numberIn(const QCommandLineParser &parser, const QString &option, double low, double high,
                const QString &range, bool whole = false)
{
    bool ok = false;
    const QString text = parser.value(option);
    const double value = text.toDouble(&ok);
    if (!ok || !(value >= low && value <= high) || (whole && value != std::floor(value)))
        exportFailure(QCoreApplication::translate("CommandLine", "--%1 must be %2, not '%3'.")
                          .arg(option, range, text));
    return value;
}

} // namespace

FigureExport::Request CommandLine::readFigures() const
{
    FigureExport::Request request;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        exportFailure(QCoreApplication::translate("CommandLine", "--export needs the polygon file to draw (FILE)."));
    if (files.size() > 1)
        exportFailure(QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.").arg(files[1]));
    request.file = files.first();
    request.outputs = parser.values("export");
    if (parser.isSet("scheme")) {
        const int scheme = Schemes::ofKey(parser.value("scheme").toStdString());
        if (!Schemes::isScheme(scheme))
            exportFailure(QCoreApplication::translate("CommandLine",
                                                      "--scheme must be bezier, chaikin, bspline, proposed or custom, not '%1'.")
                              .arg(parser.value("scheme")));
        request.scheme = scheme;
    }
    if (parser.isSet("mask")) {
        const Mask::Parsed parsed = Mask::parse(parser.value("mask").toStdString());
        if (!parsed.mask)
            exportFailure(QCoreApplication::translate("CommandLine", "--mask: %1").arg(QString::fromStdString(parsed.error)));
        if (const std::string refusal = MaskAnalysis::affineRefusal(*parsed.mask); !refusal.empty())
            exportFailure(QCoreApplication::translate("CommandLine", "--mask is refused: %1.").arg(QString::fromStdString(refusal)));
        request.mask = parsed.mask;
        if (!request.scheme)
            request.scheme = Schemes::Custom;
    }
    request.openEnds = parser.isSet("open-ends");
    if (parser.isSet("level"))
        request.level = static_cast<int>(numberIn(parser, "level", 0, Document::maxLevel, "a whole number from 0 to 99", true));
    if (parser.isSet("u"))
        request.u = numberIn(parser, "u", Document::minU, Document::maxU, "a number from -1 to 0.99");
    if (parser.isSet("precision"))
        request.precision =
            numberIn(parser, "precision", Document::minPrecision, Document::maxPrecision, "a number from 0.05 to 10");
    if (parser.isSet("png-scale")) {
        const double scale = numberIn(parser, "png-scale", 1, 4, "1, 2 or 4", true);
        if (scale == 3)
            exportFailure(QCoreApplication::translate("CommandLine", "--png-scale must be 1, 2 or 4, not '3'."));
        request.pngScale = static_cast<int>(scale);
    }
    if (parser.isSet("print-colours") && parser.isSet("screen-colours"))
        exportFailure(QCoreApplication::translate("CommandLine", "--print-colours and --screen-colours exclude each other."));
    request.printColours = !parser.isSet("screen-colours");
    return request;
}

CommandLine::CommandLine(int argc, char *argv[])
{
    // Only a core application here: it reaches no window system, so
    // --help and --version also answer without a display. Qt's own
    // options are still in the list and count as unknown for now.
    // The help text takes the program's name, and the examples' folder
    // its place, from the application object.
    QCoreApplication reader(argc, argv);
    declareOptions(parser);
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parser.isSet("help") || parser.isSet("help-all")) {
        // Where the examples are, for a user who wants one on the command
        // line; looked for only when the help is asked for.
        const QString examples = ExampleFiles::folder();
        parser.setApplicationDescription(
            parser.applicationDescription() + "\n\n" +
            (examples.isEmpty() ? QCoreApplication::translate("CommandLine", "No example polygons were found.")
                                : QCoreApplication::translate("CommandLine", "Example polygons: %1")
                                      .arg(QDir::toNativeSeparators(examples))));
        parser.showHelp(EXIT_SUCCESS);
    }
    if (parser.isSet("version"))
        parser.showVersion();
    // The analysis and the figures need no window: they answer here,
    // before any application object that would reach for a display. Qt
    // takes no options of its own there: every word must be theirs.
    if (parser.isSet("analyse")) {
        for (const QString &option : exportOptions)
            if (option != "u" && parser.isSet(option))
                exportFailure(QCoreApplication::translate("CommandLine", "--%1 goes with --export, not with --analyse.")
                                  .arg(option));
        if (parser.isSet("export"))
            exportFailure(QCoreApplication::translate("CommandLine", "--analyse and --export exclude each other."));
        std::exit(AnalyseCommand::run(parser, parsed));
    }
    if (parser.isSet("export")) {
        if (!parsed)
            exportFailure(parser.errorText());
        figures = readFigures();
    }
}

void CommandLine::check(const QCoreApplication &application)
{
    if (!parser.parse(application.arguments()))
        failWith(parser.errorText());
    for (const QString &option : exportOptions)
        if (parser.isSet(option))
            failWith(option == "u" ? QCoreApplication::translate("CommandLine", "--u goes with --analyse or --export.")
                                   : QCoreApplication::translate("CommandLine", "--%1 goes with --export.").arg(option));
    if (parser.positionalArguments().size() > positionals.size())
        failWith(QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                     .arg(parser.positionalArguments().value(positionals.size())));
}

QStringList CommandLine::positionalArguments() const
{
    return parser.positionalArguments();
}
