#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QMainWindow;
class QTableWidget;

// Help > Keys and Gestures: every mouse gesture, key and shortcut of the
// window in one table, in a dialog that can stay open beside the window
// (object name "keysAndGesturesDialog", its table "keysAndGesturesTable").
// The gestures, the view's keys and the panel's conventions are written
// here; the shortcuts are read from the window's actions each time the
// table is filled (the menus walked with their paths, then the actions
// the window holds outside them), so that the table cannot drift from
// the menus.
class KeysAndGestures : public QDialog
{
    Q_OBJECT

public:
    // One line of the table: the keys or the gesture, and what it does.
    struct Row
    {
        QString keys;
        QString what;
    };
    // A titled group of lines.
    struct Section
    {
        QString title;
        QList<Row> rows;
    };

    // Belongs to window, whose actions it lists; filled at once.
    explicit KeysAndGestures(QMainWindow *window);

    // The table's sections for window: "Mouse in the view", "Keys in the
    // view" (after a click into it), "Panel" and "Menu shortcuts" (every
    // action with a shortcut: its keys, in the platform's words, and its
    // menu path without mnemonics, "File > Save As..."; or its own text
    // when it is in no menu).
    static QList<Section> sections(const QMainWindow &window);
    // Fills the table from sections() again.
    void refresh();

private:
    QMainWindow *window;
    QTableWidget *table;
};
