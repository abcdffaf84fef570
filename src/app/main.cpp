#include "app/CommandLine.h"
#include "app/GLMainWindow.h"
#include "app/Identity.h"
#include "document/Autosave.h"

#include <QApplication>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    describeApplication();
    CommandLine commandLine(argc, argv);
    // Figures from the command line need no window and no display.
    if (const auto &figures = commandLine.figureRequest())
        return FigureExport(*figures).run(argv[0]);
    QApplication application(argc, argv);
    commandLine.check(application);
    setApplicationIcon();

    GLMainWindow window;
    window.fitToScreen();
    window.show();
    // Shown first, so that the question about work an earlier instance
    // left unsaved, and a file that cannot be opened, come over the window,
    // which then starts untitled. Recovered work is not replaced by FILE.
    const bool recovered = window.offerRecovery(Autosave::defaultFolder());
    if (const QStringList files = commandLine.positionalArguments(); !files.isEmpty()) {
        if (!recovered)
            window.openFile(files.constFirst());
        else
            window.statusBar()->showMessage(
                QObject::tr("Recovered the unsaved work; %1 was not opened").arg(files.constFirst()), 10000);
    }
    // A new user's first start shows an example instead of an empty view.
    window.openFirstStartExample();
    return application.exec();
}
