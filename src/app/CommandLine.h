#pragma once

#include "app/FigureExport.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

class QCoreApplication;

// The program's command line, read in two steps around the creation of the
// QApplication, which needs a display: the first answers --help and
// --version without one, the second checks the rest once Qt has taken its
// own options (-platform, -style, ...) out.
class CommandLine
{
public:
    // Reads the arguments before any application object exists. For -h,
    // --help, --help-all, -v or --version it prints the answer on standard
    // output and ends the process with 0; for --analyse it runs
    // AnalyseCommand and ends the process with its exit code. With
    // --export it checks the export's options and values: a bad one ends
    // the process with 2 after one line on standard error. The
    // application's name and version must be set first
    // (describeApplication()).
    CommandLine(int argc, char *argv[]);

    // The figures asked for with --export, when they were: the program
    // writes them (FigureExport) instead of opening a window.
    const std::optional<FigureExport::Request> &figureRequest() const { return figures; }

    // Checks application's arguments: an unknown option, an option of the
    // export without --export, or more positional arguments than the
    // program takes prints a message on standard error and ends the
    // process with 1.
    void check(const QCoreApplication &application);

    // The positional arguments given, in order. Call it after check():
    // before, it may hold the values of Qt's own options.
    QStringList positionalArguments() const;

private:
    // The export's request from the parsed arguments (see the constructor).
    FigureExport::Request readFigures() const;

    QCommandLineParser parser;
    std::optional<FigureExport::Request> figures;
};
