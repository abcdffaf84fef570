#include "KeysAndGestures.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct Text
{
    const char *keys;
    const char *what;
};

// What the view does with the mouse, as the gesture handler, the editor
// and the navigator implement it.
constexpr Text mouseRows[] = {
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Left click"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Appends a control point after the last one")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Shift + left click"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Splits the edge that starts at the point under the pointer: inserts "
                                          "its midpoint (Shift + hover highlights the edge)")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Ctrl + left click"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Deletes the point under the pointer (Ctrl + hover highlights it)")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Middle click"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Selects the points under the pointer")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Right drag"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Moves a point; the polygon and the curve as they were before the drag "
                                          "stay in grey")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Ctrl held while dragging"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Snaps the dragged point to the grid")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Double-click on a control point"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Edits its coordinates")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Ctrl + wheel"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Zooms about the point under the pointer, which stays where it is")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Wheel, Shift + wheel"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Scrolls up and down, left and right")},
};

// Keys the view takes once a click has given it the keyboard.
constexpr Text viewKeyRows[] = {
    {QT_TRANSLATE_NOOP("KeysAndGestures", "+ (or =), -"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Zoom in and out about the view's centre")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Arrow keys"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Pan by a tenth of the visible square")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Delete, Backspace"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Remove the selected points")},
};

constexpr Text panelRows[] = {
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Closed Curve"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Joins the last point to the first. Chaikin, Cubic B-Spline, Vantrell "
                                          "Proposed and Custom Mask refine closed polygons only, unless their "
                                          "Open Ends is ticked")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Study box"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Compare draws other schemes beside the selected one; Show Passes, "
                                          "Show Limit and Curvature look closer at the selected curve")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Hover over a control"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Its tooltip: what it does, in what unit or range")},
    {QT_TRANSLATE_NOOP("KeysAndGestures", "Shift+F1 (Help > What's This?), then a click on a control"),
     QT_TRANSLATE_NOOP("KeysAndGestures", "Tells more about the scheme box, u, precision, level and the Study "
                                          "boxes")},
};

QString translated(const char *text)
{
    return QCoreApplication::translate("KeysAndGestures", text);
}

template <std::size_t n> QList<KeysAndGestures::Row> rowsOf(const Text (&texts)[n])
{
    QList<KeysAndGestures::Row> rows;
    for (const Text &text : texts)
        rows.append({translated(text.keys), translated(text.what)});
    return rows;
}

// A menu entry's text as it reads, without its mnemonic marks.
QString plain(QString text)
{
    text.replace("&&", QChar(0x1));
    text.remove('&');
    text.replace(QChar(0x1), "&");
    return text;
}

QString keysOf(const QAction *action)
{
    QStringList keys;
    for (const QKeySequence &shortcut : action->shortcuts())
        keys << shortcut.toString(QKeySequence::NativeText);
    return keys.join(", ");
}

// Every action of menu with a shortcut, under path, submenus included.
void collect(const QMenu *menu, const QString &path, QList<KeysAndGestures::Row> &rows, QSet<const QAction *> &seen)
{
    for (const QAction *action : menu->actions()) {
        seen.insert(action);
        if (const QMenu *sub = action->menu())
            collect(sub, path + " > " + plain(sub->title()), rows, seen);
        else if (!action->isSeparator() && !action->shortcuts().isEmpty())
            rows.append({keysOf(action), path + " > " + plain(action->text())});
    }
}

} // namespace

KeysAndGestures::KeysAndGestures(QMainWindow *window) : QDialog(window), window(window)
{
    setObjectName("keysAndGesturesDialog");
    setWindowTitle(tr("Keys and Gestures"));
    auto *layout = new QVBoxLayout(this);
    table = new QTableWidget(0, 2, this);
    table->setObjectName("keysAndGesturesTable");
    table->setHorizontalHeaderLabels({tr("Keys or gesture"), tr("What it does")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setWordWrap(true);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    // Wrapped lines take the height their column's final width gives them.
    connect(table->horizontalHeader(), &QHeaderView::sectionResized, table, &QTableWidget::resizeRowsToContents);
    layout->addWidget(table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    // Tall enough for most of the table, but within a laptop's screen.
    const QRect screen = window->screen()->availableGeometry();
    resize(std::min(780, screen.width() - 40), std::min(720, screen.height() - 80));
    refresh();
}

QList<KeysAndGestures::Section> KeysAndGestures::sections(const QMainWindow &window)
{
    QList<Row> shortcuts;
    QSet<const QAction *> seen;
    for (const QAction *top : window.menuBar()->actions())
        if (const QMenu *menu = top->menu())
            collect(menu, plain(menu->title()), shortcuts, seen);
    // Actions of the window's own, such as Esc leaving full screen; the
    // menus' actions that the window also holds are listed already.
    for (const QAction *action : window.actions())
        if (!seen.contains(action) && !action->shortcuts().isEmpty())
            shortcuts.append({keysOf(action), plain(action->text())});
    return {{tr("Mouse in the view"), rowsOf(mouseRows)},
            {tr("Keys in the view (after a click into it)"), rowsOf(viewKeyRows)},
            {tr("Panel"), rowsOf(panelRows)},
            {tr("Menu shortcuts"), shortcuts}};
}

void KeysAndGestures::refresh()
{
    table->clearContents();
    table->setRowCount(0);
    for (const Section &section : sections(*window)) {
        const int heading = table->rowCount();
        table->insertRow(heading);
        auto *title = new QTableWidgetItem(section.title);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        title->setBackground(palette().alternateBase());
        table->setItem(heading, 0, title);
        table->setSpan(heading, 0, 1, 2);
        for (const Row &row : section.rows) {
            const int at = table->rowCount();
            table->insertRow(at);
            table->setItem(at, 0, new QTableWidgetItem(row.keys));
            table->setItem(at, 1, new QTableWidgetItem(row.what));
        }
    }
    table->setCurrentItem(nullptr);
    table->resizeRowsToContents();
}
