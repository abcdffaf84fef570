#include "CommandLine.h"

#include "AnalyseCommand.h"
#include "Version.h"

#include <QCoreApplication>
#include <QList>

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
    {"FILE", QT_TRANSLATE_NOOP("CommandLine", "Polygon file (.ornelle) to open at start."), "[FILE]"},
};

void declareOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QString::fromUtf8(ornelle::description));
    // Qt's own options are single-dash words; read "-style" as one option,
    // not as -s -t -y -l -e.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({"analyse",
                      QCoreApplication::translate("CommandLine",
                                                  "Print the analysis of a mask ('2: 1 3 3 1 / 4') or of the scheme "
                                                  "chaikin, bspline or proposed as JSON, and exit."),
                      "MASK"});
    parser.addOption({"u", QCoreApplication::translate("CommandLine", "Weight u of the scheme named by --analyse."),
                      "U"});
    for (const Positional &p : positionals)
        parser.addPositionalArgument(p.name, p.description, p.syntax);
}

[[noreturn]] void failWith(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(message));
    std::fprintf(stderr, "Try '%s --help' for more information.\n", qPrintable(QCoreApplication::applicationName()));
    std::exit(EXIT_FAILURE);
}

} // namespace

CommandLine::CommandLine(int argc, char *argv[])
{
    declareOptions(parser);
    // Only a core application here: it reaches no window system, so
    // --help and --version also answer without a display. Qt's own
    // options are still in the list and count as unknown for now.
    // The help text takes the program's name from the application object.
    QCoreApplication reader(argc, argv);
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parser.isSet("help") || parser.isSet("help-all"))
        parser.showHelp(EXIT_SUCCESS);
    if (parser.isSet("version"))
        parser.showVersion();
    // The analysis needs no window: it answers here, before any
    // application object that would reach for a display.
    if (parser.isSet("analyse"))
        std::exit(AnalyseCommand::run(parser, parsed));
}

void CommandLine::check(const QCoreApplication &application)
{
    if (!parser.parse(application.arguments()))
        failWith(parser.errorText());
    if (parser.isSet("u"))
        failWith(QCoreApplication::translate("CommandLine", "--u goes with --analyse."));
    if (parser.positionalArguments().size() > positionals.size())
        failWith(QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                     .arg(parser.positionalArguments().value(positionals.size())));
}

QStringList CommandLine::positionalArguments() const
{
    return parser.positionalArguments();
}
