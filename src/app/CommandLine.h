#pragma once

#include <QCommandLineParser>
#include <QStringList>

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
    // AnalyseCommand and ends the process with its exit code. The
    // application's name and version must be set first
    // (describeApplication()).
    CommandLine(int argc, char *argv[]);

    // Checks application's arguments: an unknown option or more positional
    // arguments than the program takes prints a message on standard error
    // and ends the process with 1.
    void check(const QCoreApplication &application);

    // The positional arguments given, in order. Call it after check():
    // before, it may hold the values of Qt's own options.
    QStringList positionalArguments() const;

private:
    QCommandLineParser parser;
};
