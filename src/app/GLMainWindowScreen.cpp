#include "GLMainWindow.h"

#include "PanelScrollArea.h"
#include "view/GLBox.h"

#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

namespace {

// Room kept for a window manager's title bar and borders, which lie
// outside the window's geometry and are unknown before it is first shown.
constexpr QSize decorationAllowance(16, 48);
// The view's smallest side on a screen too small for its usual minimum.
constexpr int smallestView = 200;

} // namespace

void GLMainWindow::fillViewMenu(QMenu *viewMenu)
{
    fullScreenAction = viewMenu->addAction(tr("&Full Screen"));
    fullScreenAction->setObjectName("fullScreenAction");
    fullScreenAction->setCheckable(true);
    fullScreenAction->setShortcut(QKeySequence(Qt::Key_F11));
    connect(fullScreenAction, &QAction::toggled, this, &GLMainWindow::setFullScreen);

    showPanelAction = viewMenu->addAction(tr("Show &Panel"));
    showPanelAction->setObjectName("showPanelAction");
    showPanelAction->setCheckable(true);
    showPanelAction->setChecked(true);
    showPanelAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(showPanelAction, &QAction::toggled, this, &GLMainWindow::setPanelShown);

    viewMenu->addSeparator();
    QAction *wide = viewMenu->addAction(tr("P&resentation Widths"));
    wide->setObjectName("presentationWidthsAction");
    wide->setCheckable(true);
    connect(wide, &QAction::toggled, glbox, &GLBox::setPresentationWidths);

    // Esc leaves full screen as well; it does nothing otherwise.
    auto *leave = new QAction(tr("Leave Full Screen"), this);
    leave->setObjectName("leaveFullScreenAction");
    leave->setShortcut(QKeySequence(Qt::Key_Escape));
    leave->setEnabled(false);
    connect(leave, &QAction::triggered, fullScreenAction, [this] { fullScreenAction->setChecked(false); });
    connect(fullScreenAction, &QAction::toggled, leave, &QAction::setEnabled);
    addAction(leave);
}

void GLMainWindow::setFullScreen(bool on)
{
    if (fullScreenAction->isChecked() != on) {
        fullScreenAction->setChecked(on); // comes back here through toggled
        return;
    }
    // Toggling the one flag keeps a maximised window maximised afterwards.
    setWindowState(on ? windowState() | Qt::WindowFullScreen : windowState() & ~Qt::WindowFullScreen);
    showChrome();
}

void GLMainWindow::setPanelShown(bool on)
{
    if (showPanelAction->isChecked() != on) {
        showPanelAction->setChecked(on);
        return;
    }
    panelScroll->setVisible(on);
    showChrome();
}

void GLMainWindow::showChrome()
{
    const bool lecture = fullScreenAction->isChecked() && !showPanelAction->isChecked();
    if (lecture) {
        // The menus' shortcuts keep working with the menu bar hidden when
        // the window itself carries their actions.
        for (QAction *menu : menuBar()->actions())
            if (menu->menu())
                addActions(menu->menu()->actions());
    }
    menuBar()->setVisible(!lecture);
    statusBar()->setVisible(!lecture);
}

void GLMainWindow::fitToScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins margins = centralWidget()->layout()->contentsMargins();
    const int chromeHeight = menuBar()->sizeHint().height() + statusBar()->sizeHint().height() + margins.top() +
                             margins.bottom();
    const int sideRoom = margins.left() + margins.right() + centralWidget()->layout()->spacing() +
                         panelScroll->sizeHint().width();

    int side = std::min(available.height() - decorationAllowance.height() - chromeHeight,
                        available.width() - decorationAllowance.width() - sideRoom);
    side = std::max(side, smallestView);
    if (side < glbox->minimumWidth())
        glbox->setMinimumSize(side, side);
    resize(sideRoom + side, chromeHeight + side);
    move(available.topLeft());
}
