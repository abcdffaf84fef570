#include "view/ShownView.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QSignalSpy>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QWhatsThis>
#include <QtTest>

#include <memory>

// The main window: its menus and their keys, the help boxes and the way
// the central area is put together.
class GLMainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void menuBarHoldsFileEditAndHelp();
    void menuEntries_data();
    void menuEntries();
    void centralAreaHoldsView();
    void windowOpensLargerThanRequested();
    void usageBox();
    void aboutBox();
    void keysAndGesturesTable();
    void whatsThisEntry();
    void ctrlQQuits(); // last: quitting closes the window

private:
    QMenu *menu(const QString &title) const;
    QAction *entry(const QString &menuTitle, const QString &text) const;

    std::unique_ptr<GLMainWindow> window;
};

void GLMainWindowTest::initTestCase()
{
    window = std::make_unique<GLMainWindow>();
    window->resize(400, 350);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void GLMainWindowTest::cleanupTestCase()
{
    window.reset();
}

QMenu *GLMainWindowTest::menu(const QString &title) const
{
    for (QAction *action : window->menuBar()->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

QAction *GLMainWindowTest::entry(const QString &menuTitle, const QString &text) const
{
    QMenu *popup = menu(menuTitle);
    if (!popup)
        return nullptr;
    for (QAction *action : popup->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

void GLMainWindowTest::menuBarHoldsFileEditAndHelp()
{
    QStringList titles;
    for (QAction *action : window->menuBar()->actions())
        titles << action->text();
    // The "&" marks give the mnemonics Alt+F, Alt+E, Alt+V, Alt+H, and U
    // and A inside Help.
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Help"}));

    const auto entries = [this](const QString &title) {
        QStringList texts;
        for (QAction *action : menu(title)->actions())
            texts << (action->isSeparator() ? QString("-") : action->text());
        return texts;
    };
    QCOMPARE(entries("&File"), QStringList({"&New", "&Open...", "Open Recent", "Examples", "&Save", "Save &As...",
                                            "-", "Import Points...", "-", "Export to &PostScript...", "&Export...",
                                            "-", "Exit"}));
    QCOMPARE(entries("&Edit"), QStringList({"Undo", "Redo", "-", "Copy Figure", "Copy Curve Points", "Paste Points"}));
    QCOMPARE(entries("&Help"), QStringList({"&Usage", "&Keys and Gestures", "What's This?", "-", "&About"}));
}

void GLMainWindowTest::menuEntries_data()
{
    QTest::addColumn<QString>("menuTitle");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");

    QTest::newRow("New") << "&File" << "&New" << QKeySequence("Ctrl+N");
    QTest::newRow("Open") << "&File" << "&Open..." << QKeySequence("Ctrl+O");
    QTest::newRow("Save") << "&File" << "&Save" << QKeySequence("Ctrl+S");
    QTest::newRow("Save As") << "&File" << "Save &As..." << QKeySequence("Ctrl+Shift+S");
    QTest::newRow("Export") << "&File" << "Export to &PostScript..." << QKeySequence("Ctrl+P");
    QTest::newRow("Export figure") << "&File" << "&Export..." << QKeySequence("Ctrl+E");
    QTest::newRow("Exit") << "&File" << "Exit" << QKeySequence("Ctrl+Q");
    QTest::newRow("Undo") << "&Edit" << "Undo" << QKeySequence("Ctrl+Z");
    QTest::newRow("Redo") << "&Edit" << "Redo" << QKeySequence("Ctrl+Shift+Z");
    QTest::newRow("Import Points") << "&File" << "Import Points..." << QKeySequence("Ctrl+I");
    QTest::newRow("Copy Figure") << "&Edit" << "Copy Figure" << QKeySequence("Ctrl+C");
    QTest::newRow("Copy Curve Points") << "&Edit" << "Copy Curve Points" << QKeySequence("Ctrl+Shift+C");
    QTest::newRow("Paste Points") << "&Edit" << "Paste Points" << QKeySequence("Ctrl+V");
    QTest::newRow("Usage") << "&Help" << "&Usage" << QKeySequence();
    QTest::newRow("About") << "&Help" << "&About" << QKeySequence();
    QTest::newRow("Keys and Gestures") << "&Help" << "&Keys and Gestures" << QKeySequence("F1");
    QTest::newRow("What's This") << "&Help" << "What's This?" << QKeySequence("Shift+F1");
}

void GLMainWindowTest::menuEntries()
{
    QFETCH(QString, menuTitle);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);

    QAction *action = entry(menuTitle, text);
    QVERIFY(action);
    QCOMPARE(action->shortcuts(), shortcut.isEmpty() ? QList<QKeySequence>() : QList<QKeySequence>{shortcut});
}

void GLMainWindowTest::centralAreaHoldsView()
{
    auto *frame = qobject_cast<QFrame *>(window->centralWidget());
    QVERIFY(frame);
    QCOMPARE(frame->objectName(), QString("frame"));
    QCOMPARE(frame->frameShape(), QFrame::NoFrame);

    auto *hlayout = qobject_cast<QHBoxLayout *>(frame->layout());
    QVERIFY(hlayout);
    QCOMPARE(hlayout->objectName(), QString("hlayout"));
    QCOMPARE(hlayout->contentsMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(hlayout->spacing(), 20);
    QCOMPARE(hlayout->count(), 2);

    auto *glbox = qobject_cast<GLBox *>(hlayout->itemAt(0)->widget());
    QVERIFY(glbox);
    QCOMPARE(glbox->objectName(), QString("glbox"));
    QCOMPARE(glbox->parentWidget(), frame);
    QCOMPARE(glbox->mainWindow, window.get());
    QCOMPARE(glbox->minimumSize(), QSize(600, 600));
    QCOMPARE(hlayout->stretch(0), 2);

    auto *column = qobject_cast<QVBoxLayout *>(hlayout->itemAt(1)->layout());
    QVERIFY(column);
    QCOMPARE(hlayout->stretch(1), 1);
    QCOMPARE(column->spacing(), 20); // inherited from hlayout

    QVERIFY(window->statusBar()->isVisible());
}

void GLMainWindowTest::windowOpensLargerThanRequested()
{
    // The view's minimum and the frame's border outweigh the 400 x 350
    // asked for at start-up.
    QVERIFY(window->width() >= 620);
    QVERIFY(window->height() >= 620);
}

void GLMainWindowTest::usageBox()
{
    QString title, text;
    QVERIFY(answerModalBox([this] { entry("&Help", "&Usage")->trigger(); }, QMessageBox::NoButton, &title,
                           &text));
    QCOMPARE(title, QString("Usage"));
    QCOMPARE(text, QString("Left Mouse Button: insert a control point\n"
                           "Middle mouse button: Select a control point\n"
                           "Right Mouse Button: Move a control point\n"
                           "\n"
                           "CTRL + Left Mouse Button: Delete a control point\n"
                           "SHIFT + Left Mouse Button: Split highlighted edge"));
    QCOMPARE(text.size(), 226);
}

void GLMainWindowTest::aboutBox()
{
    QString title, text;
    QVERIFY(answerModalBox([this] { entry("&Help", "&About")->trigger(); }, QMessageBox::NoButton, &title, &text));
    QCOMPARE(title, QString("About Ornelle"));
    const QStringList lines = text.split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].contains("2003"));
}

void GLMainWindowTest::keysAndGesturesTable()
{
    entry("&Help", "&Keys and Gestures")->trigger();
    auto *dialog = window->findChild<QDialog *>("keysAndGesturesDialog");
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    auto *table = dialog->findChild<QTableWidget *>("keysAndGesturesTable");
    QVERIFY(table);
    QMap<QString, QString> rows; // what it does -> its keys
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 1))
            rows.insert(table->item(row, 1)->text(), table->item(row, 0)->text());
    // The shortcuts come from the menus, with the paths a user follows.
    QCOMPARE(rows.value("File > Save As..."), QKeySequence("Ctrl+Shift+S").toString(QKeySequence::NativeText));
    QCOMPARE(rows.value("View > Full Screen"), QKeySequence("F11").toString(QKeySequence::NativeText));
    QCOMPARE(rows.value("Edit > Paste Points"), QKeySequence("Ctrl+V").toString(QKeySequence::NativeText));
    // The gestures the Usage box leaves out are here too.
    const QStringList keys = rows.values();
    for (const char *gesture : {"Ctrl + wheel", "Arrow keys", "Delete, Backspace", "Right drag"})
        QVERIFY2(keys.contains(gesture), gesture);
    // Every menu entry with a shortcut is listed.
    for (QAction *top : window->menuBar()->actions())
        for (QAction *action : top->menu()->actions())
            if (!action->menu() && !action->shortcut().isEmpty())
                QVERIFY2(rows.values().contains(action->shortcut().toString(QKeySequence::NativeText)),
                         qPrintable(action->text()));
    dialog->close();
}

void GLMainWindowTest::whatsThisEntry()
{
    entry("&Help", "What's This?")->trigger();
    QVERIFY(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

void GLMainWindowTest::ctrlQQuits()
{
    // Run the application's own event loop as the entry point does: Ctrl+Q
    // ends it with 0, the safety timer with 1.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy exits(entry("&File", "Exit"), &QAction::triggered);
    QTimer::singleShot(0, [this] { QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(1); });
    const int result = QApplication::exec();
    QCOMPARE(exits.count(), 1);
    QCOMPARE(result, 0);
}

QTEST_MAIN(GLMainWindowTest)
#include "GLMainWindowTest.moc"
