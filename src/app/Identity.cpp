#include "Identity.h"

#include "Version.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>

void describeApplication()
{
    QCoreApplication::setApplicationName("ornelle");
    QCoreApplication::setApplicationVersion(ornelle::version);
    QGuiApplication::setApplicationDisplayName("Ornelle");
    // Wayland takes it as the app id; desktops use it to find the entry
    // and its icon.
    QGuiApplication::setDesktopFileName(ornelle::applicationId);
}

void setApplicationIcon()
{
    // One file per size: the icon engine reads each file's size and picks
    // the nearest for the task bar, the title bar and the window switcher.
    QIcon icon;
    for (const QFileInfo &file : QDir(":/icons").entryInfoList(QDir::Files))
        icon.addFile(file.filePath());
    QGuiApplication::setWindowIcon(icon);
}

QSettings programSettings()
{
    return QSettings(QSettings::UserScope, "ornelle", "ornelle");
}
