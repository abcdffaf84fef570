#include "GLMainWindow.h"

#include "ControlPanel.h"
#include "LaboratoryPanel.h"
#include "DocumentSession.h"
#include "ExampleFiles.h"
#include "ExportController.h"
#include "KeysAndGestures.h"
#include "Identity.h"
#include "PanelHelp.h"
#include "PanelScrollArea.h"
#include "PointsTransfer.h"
#include "Version.h"
#include "ViewPanelLayout.h"
#include "model/Document.h"
#include "view/GLBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace {

// Set once the program has started; before that, a start is the first.
constexpr const char *startedKey = "start/started";

} // namespace

GLMainWindow::GLMainWindow(QWidget *parent, const char *name)
    : QMainWindow(parent, Qt::Window), session(new DocumentSession(this)),
      exports(new ExportController(this, session)), chooseOpenFile(session->chooseOpenFile),
      chooseSaveFile(session->chooseSaveFile), chooseExport(exports->chooseExport)
{
    setObjectName(QString::fromLatin1(name));
    points = new PointsTransfer(this, session);

    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    QMenu *editMenu = menuBar()->addMenu(tr("&Edit"));
    QMenu *viewMenu = menuBar()->addMenu(tr("&View"));
    // Qt 6's menu bar is no longer a QFrame: it always paints the style's
    // own menu-bar panel, which is what a styled-panel frame amounted to.
    buildHelpMenu();

    auto *frame = new QFrame(this);
    frame->setObjectName("frame");
    frame->setFrameShape(QFrame::NoFrame);
    setCentralWidget(frame);

    auto *hlayout = new ViewPanelLayout(frame);
    hlayout->setObjectName("hlayout");
    hlayout->setContentsMargins(10, 10, 10, 10);
    hlayout->setSpacing(20);

    glbox = new GLBox(frame, "glbox", this);
    glbox->setMinimumSize(600, 600);
    hlayout->addWidget(glbox, 2);
    connect(glbox, &GLBox::message, statusBar(), &QStatusBar::showMessage);
    points->attach(glbox);
    exports->attach(glbox, points);

    session->addFileEntries(fileMenu);
    fileMenu->addSeparator();
    points->addImportEntry(fileMenu);
    fileMenu->addSeparator();
    exports->addEntries(fileMenu);
    fileMenu->addSeparator();
    fileMenu->addAction(tr("Exit"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp, &QCoreApplication::quit);
    session->addEditEntries(editMenu);
    editMenu->addSeparator();
    exports->addCopyEntry(editMenu);
    points->addEditEntries(editMenu);
    fillViewMenu(viewMenu);

    // Spacing -1 takes the spacing of the enclosing layout (20). The
    // column holds the panel's scroll area, which holds the group boxes,
    // kept beside the view at the panel's own width.
    auto *panelColumn = new QVBoxLayout();
    panelColumn->setSpacing(-1);
    hlayout->addLayout(panelColumn, 1);
    panelScroll = new PanelScrollArea(frame);
    panelColumn->addWidget(panelScroll, 0, Qt::AlignLeft);
    panel = new ControlPanel(glbox, panelScroll->panel(), panelScroll->panelStack(), this);
    openCloseCurveCheckBox = panel->openCloseCurveCheckBox;
    uparameter = panel->uparameter;
    precision = panel->precision;
    drawCurvePointsCheckBox = panel->drawCurvePointsCheckBox;
    depthColourCheckBox = panel->depthColourCheckBox;
    level = panel->level;

    statusBar()->show();
    // Why the selected curve draws nothing, or that it diverges, stays in
    // the status bar for as long as it holds, beside the passing messages.
    auto *hint = new QLabel(statusBar());
    hint->setObjectName("statusHintLabel");
    statusBar()->addPermanentWidget(hint);
    connect(glbox, &GLBox::curveNotes, hint, &QLabel::setText);
    panelColumn->activate();
    hlayout->activate();

    // No scheme is selected yet, so this changes nothing; from here on the
    // view asks for it whenever the scheme changes.
    getWidgetValues();
    connect(glbox, &GLBox::setWidgetValues, this, &GLMainWindow::getWidgetValues);

    panel->addReadouts();
    polygonAreaLabel = panel->polygonAreaLabel;
    deltaAreaLabel = panel->deltaAreaLabel;
    finalAreaLabel = panel->finalAreaLabel;
    connect(glbox, &GLBox::setArea, this, &GLMainWindow::setArea);
    laboratory = new LaboratoryPanel(glbox, panel->curveComboBox, panelScroll->panel(), panelScroll->panelStack(), this);
    connect(laboratory, &LaboratoryPanel::message, statusBar(), &QStatusBar::showMessage);
    describePanelControls(frame);

    session->attach(glbox, panel);
}

GLMainWindow::~GLMainWindow() = default;

void GLMainWindow::buildHelpMenu()
{
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&Usage"), this, &GLMainWindow::showUsage);
    QAction *keys = help->addAction(tr("&Keys and Gestures"), QKeySequence(Qt::Key_F1), this,
                                    &GLMainWindow::showKeysAndGestures);
    keys->setObjectName("keysAndGesturesAction");
    // Qt's own mode: the pointer asks which control to explain (Shift+F1).
    QAction *whatsThis = QWhatsThis::createAction(help);
    whatsThis->setObjectName("whatsThisAction");
    help->addAction(whatsThis);
    help->addSeparator();
    help->addAction(tr("&About"), this, &GLMainWindow::showAbout);
}

void GLMainWindow::getWidgetValues()
{
    panel->loadSchemeSettings();
}

void GLMainWindow::setArea(double polygonArea, double deltaArea)
{
    panel->showAreas(polygonArea, deltaArea);
}

bool GLMainWindow::openFile(const QString &path)
{
    return session->openFile(path);
}

bool GLMainWindow::offerRecovery(const QString &folder)
{
    return session->offerRecovery(folder);
}

bool GLMainWindow::openFirstStartExample()
{
    QSettings settings = programSettings();
    const bool first = !settings.value(startedKey, false).toBool();
    settings.setValue(startedKey, true);
    const bool empty = currentFile().isEmpty() && !isWindowModified() && glbox->snapshot().points.empty();
    const QString example = ExampleFiles::welcome();
    return first && empty && !example.isEmpty() && session->openExample(example);
}

const Autosave &GLMainWindow::autosaveFile() const
{
    return session->autosaveFile();
}

QString GLMainWindow::currentFile() const
{
    return session->currentFile();
}

void GLMainWindow::newFile()
{
    session->newFile();
}

void GLMainWindow::open()
{
    session->open();
}

bool GLMainWindow::save()
{
    return session->save();
}

bool GLMainWindow::saveAs()
{
    return session->saveAs();
}

void GLMainWindow::exportFigure()
{
    exports->exportFigure();
}

void GLMainWindow::exportPostScript()
{
    exports->exportPostScript();
}

void GLMainWindow::undo()
{
    session->undo();
}

void GLMainWindow::redo()
{
    session->redo();
}

void GLMainWindow::closeEvent(QCloseEvent *event)
{
    if (session->confirmDiscard())
        event->accept();
    else
        event->ignore();
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

void GLMainWindow::showKeysAndGestures()
{
    // One table, kept beside the window while the user tries what it says.
    if (!keysAndGestures)
        keysAndGestures = new KeysAndGestures(this);
    else
        keysAndGestures->refresh();
    keysAndGestures->show();
    keysAndGestures->raise();
    keysAndGestures->activateWindow();
}

void GLMainWindow::showAbout()
{
    QMessageBox::about(this, tr("About Ornelle"),
                       tr("Ornelle %1, a program for studying subdivision curves in the plane, "
                          "written by the Ornelle authors, 2003.\n"
                          "Free for educational purposes.\n"
                          "No technical support is offered.\n"
                          "%2")
                           .arg(QString::fromUtf8(ornelle::version), QString::fromUtf8(ornelle::homepage)));
}
