#pragma once

#include <QSettings>

// How the program names itself to Qt, and through Qt to the desktop: the
// window manager, the task bar and the About box read these; and where it
// keeps what it remembers between runs.

// Application name "ornelle" (the executable's), display name "Ornelle",
// which Qt appends to every window title and shows alone for a window
// without a title of its own, the project's version and the desktop file
// name. Needs no application object, so the command line can print the
// version before any window system is touched.
void describeApplication();

// The window icon of every window, from the PNGs compiled into the
// executable's resources (":/icons"); without them the icon stays empty.
// Needs the QGuiApplication.
void setApplicationIcon();

// The settings the program keeps between runs (export folder and type,
// recent files, whether it started before), under the program's own name
// whatever the running executable is called: $XDG_CONFIG_HOME/ornelle/
// ornelle.conf on Linux.
QSettings programSettings();
