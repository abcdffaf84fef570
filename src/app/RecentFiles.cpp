#include "RecentFiles.h"

#include "Identity.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {

constexpr const char *filesKey = "recent/files";

} // namespace

RecentFiles::RecentFiles(QWidget *parent) : QObject(parent), recentMenu(new QMenu(tr("Open Recent"), parent))
{
    setObjectName("recentFiles");
    recentMenu->setObjectName("openRecentMenu");
    // Another window, or the file system, may have changed the list since
    // the menu was last shown.
    connect(recentMenu, &QMenu::aboutToShow, this, &RecentFiles::fill);
    fill();
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = programSettings().value(filesKey).toStringList();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    store(paths);
}

QStringList RecentFiles::files() const
{
    const QStringList stored = programSettings().value(filesKey).toStringList();
    QStringList existing;
    for (const QString &path : stored)
        if (QFileInfo(path).isFile())
            existing << path;
    if (existing != stored)
        store(existing);
    return existing;
}

void RecentFiles::clear()
{
    store({});
}

void RecentFiles::store(const QStringList &paths)
{
    programSettings().setValue(filesKey, QStringList(paths.mid(0, maxFiles)));
}

void RecentFiles::fill()
{
    recentMenu->clear();
    const QStringList paths = files();
    if (paths.isEmpty()) {
        QAction *none = recentMenu->addAction(tr("No Recent Files"));
        none->setObjectName("noRecentFilesAction");
        none->setEnabled(false);
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        // The number is the entry's mnemonic, 1 to 9 and then 0.
        const QString label = QString("&%1 %2").arg((i + 1) % 10).arg(QFileInfo(path).fileName().replace("&", "&&"));
        QAction *entry = recentMenu->addAction(label);
        entry->setObjectName(QString("recentFileAction%1").arg(i + 1));
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setStatusTip(QDir::toNativeSeparators(path));
        entry->setData(path);
        connect(entry, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    recentMenu->addSeparator();
    QAction *clearAction = recentMenu->addAction(tr("Clear Menu"), this, [this] {
        clear();
        fill();
    });
    clearAction->setObjectName("clearRecentFilesAction");
}
