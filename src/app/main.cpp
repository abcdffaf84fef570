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
    // The layouts make the window larger than this: the view alone asks
    // for 600 x 600.
    window.resize(400, 350);
    window.show();
    return application.exec();
}
