#include "view/ShownView.h"

#include "app/ExampleFiles.h"
#include "app/RecentFiles.h"
#include "document/DocumentFile.h"
#include "model/Document.h"

#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Where a user starts from: File > Open Recent across windows and runs,
// File > Examples (found beside this test as beside the program) opening
// untitled, and the example of the very first start.
class GLMainWindowStartTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void recentFilesNewestFirstAndExisting();
    void recentFileAsksBeforeReplacingWork();
    void examplesOpenUntitled();
    void onlyTheFirstStartShowsAnExample();
    void exampleTitles();

private:
    // The paths File > Open Recent lists, as a user opening it sees them.
    QStringList recentEntries() const;
    QString polygonFile(const QString &name, const QList<QPointF> &points) const;

    std::unique_ptr<QTemporaryDir> settings;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
    QString saveName;
};

void GLMainWindowStartTest::initTestCase()
{
    settings = std::make_unique<QTemporaryDir>();
    QVERIFY(settings->isValid());
    // Before the first settings are read: the toolkit keeps the folder.
    qputenv("XDG_CONFIG_HOME", settings->path().toLocal8Bit());
}

void GLMainWindowStartTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    window = std::make_unique<GLMainWindow>();
    window->chooseSaveFile = [this] { return saveName; };
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    window->findChild<RecentFiles *>("recentFiles")->clear();
}

QStringList GLMainWindowStartTest::recentEntries() const
{
    auto *menu = window->findChild<QMenu *>("openRecentMenu");
    emit menu->aboutToShow();
    QStringList paths;
    for (const QAction *action : menu->actions())
        if (action->objectName().startsWith("recentFileAction"))
            paths << action->data().toString();
    return paths;
}

QString GLMainWindowStartTest::polygonFile(const QString &name, const QList<QPointF> &points) const
{
    Document document;
    for (const QPointF p : points)
        document.points.emplace_back(p.x(), p.y());
    const QString path = folder->filePath(name);
    return DocumentFile::write(path, document).isEmpty() ? path : QString();
}

void GLMainWindowStartTest::recentFilesNewestFirstAndExisting()
{
    QStringList written;
    for (int i = 0; i < RecentFiles::maxFiles + 2; ++i)
        written.prepend(polygonFile(QString("p%1.ornelle").arg(i), {{double(i), 1}}));
    // Opened and saved files count; the eleventh and twelfth push the
    // oldest out.
    for (auto it = written.crbegin(); it != written.crend(); ++it)
        QVERIFY(window->openFile(*it));
    QCOMPARE(recentEntries(), written.mid(0, RecentFiles::maxFiles));
    saveName = written[5];
    QVERIFY(window->saveAs());
    QCOMPARE(recentEntries().value(0), written[5]);

    // Another window, as after a restart, lists them too; a file removed
    // since is dropped.
    QVERIFY(QFile::remove(written[0]));
    GLMainWindow later;
    auto *menu = later.findChild<QMenu *>("openRecentMenu");
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().value(0)->data().toString(), written[5]);
    QVERIFY(!recentEntries().contains(written[0]));
    QCOMPARE(recentEntries().size(), RecentFiles::maxFiles - 1);

    window->findChild<QAction *>("clearRecentFilesAction")->trigger();
    QCOMPARE(recentEntries(), QStringList());
    QVERIFY(window->findChild<QAction *>("noRecentFilesAction"));
}

void GLMainWindowStartTest::recentFileAsksBeforeReplacingWork()
{
    const QString path = polygonFile("kept.ornelle", {{1, 2}, {3, 4}});
    QVERIFY(window->openFile(path));
    QVERIFY(window->openFile(polygonFile("other.ornelle", {{5, 6}, {6, 6}, {6, 7}})));
    QTest::mouseClick(glbox, Qt::LeftButton, {}, pixelAt(glbox, -2, -2).toPoint());
    recentEntries();
    QAction *kept = window->findChild<QAction *>("recentFileAction2");
    QCOMPARE(kept->data().toString(), path);
    // Cancel keeps the work; Discard opens the file.
    QVERIFY(answerModalBox([kept] { kept->trigger(); }, QMessageBox::Cancel));
    QCOMPARE(glbox->snapshot().points.size(), std::size_t(4));
    QCOMPARE(window->currentFile(), folder->filePath("other.ornelle"));
    QVERIFY(answerModalBox([kept] { kept->trigger(); }, QMessageBox::Discard));
    QCOMPARE(window->currentFile(), path);
}

void GLMainWindowStartTest::examplesOpenUntitled()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("examples");
    QCOMPARE(ExampleFiles::searchFolders().value(0), beside);
    const QStringList examples = ExampleFiles::found();
    QCOMPARE(QFileInfo(ExampleFiles::folder()).absoluteFilePath(), beside);
    QVERIFY(examples.size() >= 5);

    auto *menu = window->findChild<QMenu *>("examplesMenu");
    QCOMPARE(menu->actions().size(), examples.size());
    for (const QString &example : examples) {
        Document expected;
        QCOMPARE(DocumentFile::read(example, expected), QString());
        QString name = ExampleFiles::title(example).remove(' ') + "ExampleAction";
        name[0] = name[0].toLower();
        QAction *entry = menu->findChild<QAction *>(name);
        QVERIFY2(entry, qPrintable(name));
        entry->trigger();
        QVERIFY(glbox->snapshot() == expected);
        QCOMPARE(window->currentFile(), QString());
        QVERIFY(!window->isWindowModified());
    }
    // Save asks for a name: nothing is written beside the examples.
    saveName.clear();
    QVERIFY(!window->save());
}

void GLMainWindowStartTest::onlyTheFirstStartShowsAnExample()
{
    // Not at a start whose window already shows work (a recovered or
    // named file) ...
    QTest::mouseClick(glbox, Qt::LeftButton, {}, pixelAt(glbox, 1, 1).toPoint());
    QVERIFY(!window->openFirstStartExample());
    QCOMPARE(glbox->snapshot().points.size(), std::size_t(1));
    // ... and not at any later one: the start before was the first.
    QVERIFY(answerModalBox([this] { window->newFile(); }, QMessageBox::Discard));
    QVERIFY(!window->openFirstStartExample());
    QVERIFY(glbox->snapshot().points.empty());

    QSettings(QSettings::UserScope, "ornelle", "ornelle").remove("start");
    QVERIFY(window->openFirstStartExample());
    Document star;
    QCOMPARE(DocumentFile::read(ExampleFiles::welcome(), star), QString());
    QCOMPARE(QFileInfo(ExampleFiles::welcome()).fileName(), QString("star.ornelle"));
    QVERIFY(glbox->snapshot() == star);
    QCOMPARE(window->currentFile(), QString());
    GLMainWindow second;
    QVERIFY(!second.openFirstStartExample());
}

void GLMainWindowStartTest::exampleTitles()
{
    const std::pair<const char *, const char *> cases[] = {
        {"/x/letter-c.ornelle", "Letter C"}, {"star.ornelle", "Star"}, {"a--b-.ornelle", "A B"}};
    for (const auto &[file, title] : cases)
        QCOMPARE(ExampleFiles::title(file), QString(title));
}

QTEST_MAIN(GLMainWindowStartTest)
#include "GLMainWindowStartTest.moc"
