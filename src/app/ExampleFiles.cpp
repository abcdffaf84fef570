#include "ExampleFiles.h"

#include "document/DocumentFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QStringList ExampleFiles::searchFolders()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    QStringList folders{programFolder.filePath("examples"),
                        QDir::cleanPath(programFolder.filePath("../share/ornelle/examples"))};
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath("ornelle/examples");
    folders.removeDuplicates();
    return folders;
}

QString ExampleFiles::folder()
{
    for (const QString &candidate : searchFolders())
        if (!files(candidate).isEmpty())
            return candidate;
    return {};
}

QStringList ExampleFiles::files(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    QStringList paths;
    for (const QString &name :
         dir.entryList({QString("*.") + DocumentFile::suffix}, QDir::Files | QDir::Readable, QDir::Name))
        paths << dir.absoluteFilePath(name);
    return paths;
}

QString ExampleFiles::title(const QString &file)
{
    QStringList words = QFileInfo(file).completeBaseName().split('-', Qt::SkipEmptyParts);
    for (QString &word : words)
        word[0] = word[0].toUpper();
    return words.join(' ');
}

QString ExampleFiles::welcome()
{
    const QStringList examples = found();
    for (const QString &file : examples)
        if (QFileInfo(file).completeBaseName() == welcomeName)
            return file;
    return examples.value(0);
}
