#include "app/CommandLine.h"
#include "app/GLMainWindow.h"
#include "app/Identity.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    describeApplication();
    CommandLine commandLine(argc, argv);
    QApplication application(argc, argv);
    commandLine.check(application);
    setApplicationIcon();

    GLMainWindow window;
    window.fitToScreen();
    window.show();
    // Shown first, so that a file that cannot be opened is reported over
    // the window, which then starts untitled.
    if (const QStringList files = commandLine.positionalArguments(); !files.isEmpty())
        window.openFile(files.constFirst());
    return application.exec();
}
