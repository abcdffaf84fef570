#pragma once

#include <QString>
#include <QStringList>

// The example polygons shipped with the program (data/examples), found
// wherever the program runs from: an "examples" folder beside the
// executable (a build tree, where the build copies them), the install
// prefix's share/ornelle/examples beside its bin folder (an installed or
// unpacked package, wherever it lies), and ornelle/examples in the data
// folders of the desktop (XDG_DATA_HOME, XDG_DATA_DIRS). They open
// untitled, so that Save never writes into the folder they came from.
class ExampleFiles
{
public:
    // The example shown at the very first start, when it is there.
    static constexpr const char *welcomeName = "star";

    // The folders searched, in order, as absolute paths (whether they
    // exist or not).
    static QStringList searchFolders();
    // The first of searchFolders() that holds an example; empty when none
    // does.
    static QString folder();
    // The polygon files (*.ornelle) in folder, sorted by name, as absolute
    // paths; empty for an empty or missing folder.
    static QStringList files(const QString &folder);
    // The examples of folder(), as files() lists them.
    static QStringList found() { return files(folder()); }
    // The menu's name of an example file: its base name with the dashes
    // as spaces and each word capitalised ("letter-c.ornelle" gives
    // "Letter C").
    static QString title(const QString &file);
    // The example to show at the first start: welcomeName when found, else
    // the first found; empty without any.
    static QString welcome();
};
