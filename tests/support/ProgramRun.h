#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

// A run of the program as a batch job runs it: no display and no Qt
// platform named in its environment.
struct ProgramRun
{
    bool finished = false; // it ended within the time
    int exitCode = -1;     // -1 when it did not end normally within the time
    QByteArray out, err;

    static ProgramRun withoutDisplay(const QString &program, const QStringList &arguments, int milliseconds = 60000)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        ProgramRun run;
        run.finished = process.waitForFinished(milliseconds);
        if (!run.finished || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.exitCode = process.exitCode();
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }
};
