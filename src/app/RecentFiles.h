#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;
class QWidget;

// File > Open Recent: the last polygon files opened or saved, newest
// first, at most maxFiles, kept between runs in the program's settings
// (shared by every window). A file that no longer exists is dropped
// whenever the list is read. The menu is filled each time it opens; an
// entry asks to open its file (chosen), and "Clear Menu" empties the list.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxFiles = 10;

    // The menu "Open Recent" (object name "openRecentMenu") belongs to
    // parent.
    explicit RecentFiles(QWidget *parent);

    QMenu *menu() const { return recentMenu; }
    // Puts path (made absolute) at the top of the list.
    void add(const QString &path);
    // The files as the menu lists them: existing ones, newest first. The
    // missing ones are dropped from the settings too.
    QStringList files() const;
    // Empties the list.
    void clear();

signals:
    // The user chose path from the menu.
    void chosen(const QString &path);

private:
    // Fills the menu from files(): one entry per file ("1 star.ornelle",
    // its full path as the tooltip and status tip; object names
    // "recentFileAction1" on), then "Clear Menu"; or a disabled "No
    // Recent Files".
    void fill();
    static void store(const QStringList &paths);

    QMenu *recentMenu;
};
