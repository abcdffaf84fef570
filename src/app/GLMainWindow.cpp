#include "GLMainWindow.h"

#include "view/GLBox.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>

GLMainWindow::GLMainWindow(QWidget *parent, const char *name)
    : QMainWindow(parent, Qt::Window)
{
    setObjectName(QString::fromLatin1(name));

    fileMenu = menuBar()->addMenu(tr("&File"));
    // Qt 6's menu bar is no longer a QFrame: it always paints the style's
    // own menu-bar panel, which is what a styled-panel frame amounted to.
    buildHelpMenu();

    auto *frame = new QFrame(this);
    frame->setObjectName("frame");
    frame->setFrameShape(QFrame::NoFrame);
    setCentralWidget(frame);

    auto *hlayout = new QHBoxLayout(frame);
    hlayout->setObjectName("hlayout");
    hlayout->setContentsMargins(10, 10, 10, 10);
    hlayout->setSpacing(20);

    glbox = new GLBox(frame, "glbox", this);
    glbox->setMinimumSize(600, 600);
    hlayout->addWidget(glbox, 2);

    fillFileMenu();

    // Spacing -1 takes the spacing of the enclosing layout (20).
    panelColumn = new QVBoxLayout();
    panelColumn->setSpacing(-1);
    hlayout->addLayout(panelColumn, 1);

    statusBar()->show();
    panelColumn->activate();
    hlayout->activate();

    getWidgetValues();
}

GLMainWindow::~GLMainWindow() = default;

void GLMainWindow::fillFileMenu()
{
    fileMenu->addAction(tr("Exit"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp, &QCoreApplication::quit);
}

void GLMainWindow::buildHelpMenu()
{
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&Usage"), this, &GLMainWindow::showUsage);
    help->addSeparator();
    help->addAction(tr("&About"), this, &GLMainWindow::showAbout);
}

void GLMainWindow::getWidgetValues()
{
    // No scheme can be selected yet, and with none selected the panel
    // keeps the values it shows.
}

void GLMainWindow::showUsage()
{
    QMessageBox::information(this, tr("Usage"),
                             tr("Left Mouse Button: insert a control point\n"
                                "Middle mouse button: Select a control point\n"
                                "Right Mouse Button: Move a control point\n"
                                "\n"
                                "CTRL + Left Mouse Button: Delete a control point\n"
                                "SHIFT + Left Mouse Button: Split highlighted edge"));
}

void GLMainWindow::showAbout()
{
    QMessageBox::about(this, tr("About Ornelle"),
                       tr("Ornelle, written by the Ornelle authors, 2003.\n"
                          "Free for educational purposes.\n"
                          "No technical support is offered.\n"
                          "https://ornelle.example.org/"));
}
