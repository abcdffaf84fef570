#include "GLMainWindow.h"

#include "PanelHelp.h"
#include "PanelScrollArea.h"
#include "SliderValueLabel.h"
#include "Version.h"
#include "ViewPanelLayout.h"
#include "curves/Curve.h"
#include "view/GLBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include <cmath>
#include <utility>
#include <vector>

namespace {

// A group box that stacks its widgets top to bottom.
QVBoxLayout *stackedGroup(const QString &title, const char *name, QWidget *parent, QGroupBox *&box)
{
    box = new QGroupBox(title, parent);
    box->setObjectName(name);
    return new QVBoxLayout(box);
}

template <typename W>
W *add(QVBoxLayout *stack, W *widget)
{
    stack->addWidget(widget);
    return widget;
}

void addSeparator(QVBoxLayout *stack, const char *name)
{
    auto *line = add(stack, new QFrame(stack->parentWidget()));
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(10);
}

QCheckBox *addCheckBox(QVBoxLayout *stack, const char *name, const QString &text)
{
    auto *box = add(stack, new QCheckBox(text, stack->parentWidget()));
    box->setObjectName(name);
    return box;
}

// A horizontal slider with ticks below; it reports every position while
// dragged (tracking is on by default). Beside it a label (object name:
// the slider's with "Value" appended) shows its value through format.
QSlider *addSlider(QVBoxLayout *stack, const char *name, int minimum, int maximum, int tickInterval, int singleStep,
                   SliderValueLabel::Format format)
{
    auto *row = new QHBoxLayout();
    stack->addLayout(row);
    auto *slider = new QSlider(Qt::Horizontal, stack->parentWidget());
    row->addWidget(slider, 1);
    slider->setObjectName(name);
    slider->setRange(minimum, maximum);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tickInterval);
    slider->setSingleStep(singleStep);
    auto *value = new SliderValueLabel(slider, std::move(format), stack->parentWidget());
    value->setObjectName(QString::fromLatin1(name) + "Value");
    row->addWidget(value);
    return slider;
}

void addLabel(QVBoxLayout *stack, const QString &text)
{
    add(stack, new QLabel(text, stack->parentWidget()));
}

// Keeps an area label as wide as its text with the widest area it is meant
// to show, four digits and a sign, instead of the text it shows: its size
// would otherwise follow each new area and widen the window, from the first
// areas on. Larger areas need a polygon that winds many times round the
// view; they may be cut short, but never move the window's edge.
void reserveAreaWidth(QLabel *label)
{
    QString widest = label->text();
    widest.replace(QRegularExpression("[-0-9.]+$"), "-8888.88");
    const QMargins margins = label->contentsMargins();
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + margins.left() + margins.right() +
                           2 * label->margin());
}

} // namespace

GLMainWindow::GLMainWindow(QWidget *parent, const char *name)
    : QMainWindow(parent, Qt::Window)
{
    setObjectName(QString::fromLatin1(name));

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
    askForTheView();
    hlayout->addWidget(glbox, 2);

    fillFileMenu(fileMenu);
    fillEditMenu(editMenu);
    fillViewMenu(viewMenu);

    // Spacing -1 takes the spacing of the enclosing layout (20). The
    // column holds the panel's scroll area, which holds the group boxes,
    // kept beside the view at the panel's own width.
    auto *panelColumn = new QVBoxLayout();
    panelColumn->setSpacing(-1);
    hlayout->addLayout(panelColumn, 1);
    panelScroll = new PanelScrollArea(frame);
    panelColumn->addWidget(panelScroll, 0, Qt::AlignLeft);
    QWidget *panel = panelScroll->panel();
    QVBoxLayout *panelStack = panelScroll->panelStack();

    panelStack->addWidget(buildControlBox(panel), 1);
    panelStack->addWidget(buildViewBox(panel), 0);

    statusBar()->show();
    panelColumn->activate();
    hlayout->activate();

    // No scheme is selected yet, so this changes nothing; from here on the
    // view asks for it whenever the scheme changes.
    getWidgetValues();
    connect(glbox, &GLBox::setWidgetValues, this, &GLMainWindow::getWidgetValues);

    panelStack->addWidget(buildAreaBox(panel), 0);
    panelStack->addWidget(buildStudyBox(panel), 0);
    describePanelControls(frame);

    setCurrentFile(QString());
}

GLMainWindow::~GLMainWindow()
{
    // The history, destroyed among the children after the panel, clears
    // itself and would tell this window's handlers about it.
    history->disconnect(this);
}

void GLMainWindow::askForTheView()
{
    glbox->chooseExportFile = [this] {
        // The export asks its own question before it replaces a file; a
        // second one from the dialog would ask twice.
        return QFileDialog::getSaveFileName(glbox, QString(), ".", "PostScript (*.ps)", nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    glbox->confirmReplace = [this](const QString &name) {
        return QMessageBox::warning(glbox, "Warning...", QString("File %1 already exist! Overwrite?").arg(name),
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
}

void GLMainWindow::fillFileMenu(QMenu *fileMenu)
{
    addDocumentEntries(fileMenu);
    fileMenu->addSeparator();
    fileMenu->addAction(tr("Export to &PostScript..."), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                        &GLMainWindow::exportPostScript);
    addExportEntry(fileMenu);
    fileMenu->addSeparator();
    fileMenu->addAction(tr("Exit"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp, &QCoreApplication::quit);
}

void GLMainWindow::buildHelpMenu()
{
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&Usage"), this, &GLMainWindow::showUsage);
    help->addSeparator();
    help->addAction(tr("&About"), this, &GLMainWindow::showAbout);
}

QGroupBox *GLMainWindow::buildControlBox(QWidget *frame)
{
    QGroupBox *box = nullptr;
    QVBoxLayout *stack = stackedGroup(tr("Control"), "controlBox", frame, box);

    auto *curveComboBox = add(stack, new QComboBox(box));
    curveComboBox->setObjectName("curveComboBox");
    curveComboBox->addItems({tr("Select Curve"), tr("Bezier"), tr("Chaikin"), tr("Cubic B-Spline"),
                             tr("Vantrell Proposed")});
    connect(curveComboBox, &QComboBox::activated, glbox, &GLBox::setCurrentCurve);
    addSeparator(stack, "Line2");

    openCloseCurveCheckBox = addCheckBox(stack, "openCloseCurveCheckBox", tr("Closed Curve"));
    connect(openCloseCurveCheckBox, &QCheckBox::stateChanged, glbox, &GLBox::setOpenCloseCurve);
    addLabel(stack, tr("u Parameter"));
    uparameter = addSlider(stack, "uparameter", -100, 100, 10, 10, uText);
    uparameter->setValue(0);
    connect(uparameter, &QSlider::valueChanged, glbox, &GLBox::setU);
    addSeparator(stack, "Line1");

    addLabel(stack, tr("Precision"));
    precision = addSlider(stack, "precision", 0, 100, 10, 10, precisionText);
    precision->setValue(0);
    connect(precision, &QSlider::valueChanged, glbox, &GLBox::setPrecision);
    addSeparator(stack, "Line4");

    // The spin box's own defaults, 0 to 99 in steps of 1, are the levels.
    addLabel(stack, tr("Subdivision Level"));
    level = add(stack, new QSpinBox(box));
    level->setObjectName("level");
    connect(level, &QSpinBox::valueChanged, glbox, &GLBox::setLevel);
    addSeparator(stack, "Line3");

    auto *deleteButton = add(stack, new QPushButton(tr("Delete Control Points"), box));
    deleteButton->setObjectName("deleteControlPointsButton");
    connect(deleteButton, &QPushButton::clicked, glbox, &GLBox::deleteControlPoints);

    return box;
}

QGroupBox *GLMainWindow::buildViewBox(QWidget *frame)
{
    QGroupBox *box = nullptr;
    QVBoxLayout *stack = stackedGroup(tr("View"), "viewBox", frame, box);

    drawCurvePointsCheckBox = addCheckBox(stack, "drawCurvePointsCheckBox", tr("Curve Points"));
    connect(drawCurvePointsCheckBox, &QCheckBox::stateChanged, glbox, &GLBox::setDrawCurvePoints);
    depthColourCheckBox = addCheckBox(stack, "depthColourCheckBox", tr("Depth Colour"));
    connect(depthColourCheckBox, &QCheckBox::stateChanged, glbox, &GLBox::setDrawDepthColour);

    // The view's own settings are copied in before connecting, so that
    // showing them does not echo back into the view.
    auto *axisCheckBox = addCheckBox(stack, "axisCheckBox", tr("Axis"));
    axisCheckBox->setChecked(glbox->drawAxis);
    connect(axisCheckBox, &QCheckBox::stateChanged, glbox, &GLBox::setDrawAxis);
    addLabel(stack, tr("Grid Spacing"));
    auto *gridSlider = addSlider(stack, "grid space", 0, 10, 1, 2, gridText);
    gridSlider->setValue(glbox->gridSpace);
    connect(gridSlider, &QSlider::valueChanged, glbox, &GLBox::setGridSpace);
    return box;
}

QGroupBox *GLMainWindow::buildAreaBox(QWidget *frame)
{
    QGroupBox *box = nullptr;
    QVBoxLayout *stack = stackedGroup(tr("Convex Volume/Area"), "areaBox", frame, box);
    polygonAreaLabel = add(stack, new QLabel(tr("Control Points = 0"), box));
    deltaAreaLabel = add(stack, new QLabel(tr("Delta = 0"), box));
    finalAreaLabel = add(stack, new QLabel(tr("Final = 0"), box));
    for (QLabel *label : {polygonAreaLabel, deltaAreaLabel, finalAreaLabel})
        reserveAreaWidth(label);
    connect(glbox, &GLBox::setArea, this, &GLMainWindow::setArea);
    return box;
}

void GLMainWindow::getWidgetValues()
{
    const Curve *curve = glbox->selectedCurve();
    if (!curve)
        return;
    // Every setter below that changes a value emits the widget's change
    // signal, so the view's slot stores the value derived from the new
    // position before the setter returns.
    openCloseCurveCheckBox->setChecked(glbox->controlPoints->closed);
    // u was stored as position x 0.01, which x 100 can land just below the
    // position (0.29 x 100 = 28.999...): rounding brings every position
    // back unchanged. The precision is read back truncated: its position
    // 0 stands for 0.05, which must not come back as 1.
    uparameter->setValue(static_cast<int>(std::lround(curve->u() * 100)));
    drawCurvePointsCheckBox->setChecked(curve->curvePoints);

    // A control that does not apply to the scheme is disabled and keeps
    // whatever it showed.
    precision->setDisabled(!curve->usesPrecision);
    if (curve->usesPrecision)
        precision->setValue(static_cast<int>(curve->precision * 10));
    level->setDisabled(!curve->usesLevel);
    if (curve->usesLevel)
        level->setValue(curve->level);
    depthColourCheckBox->setDisabled(!curve->supportsDepthColour);
    if (curve->supportsDepthColour)
        depthColourCheckBox->setChecked(curve->depthColour);
    showPassesCheckBox->setDisabled(!curve->usesLevel);
}

void GLMainWindow::showAppliedSettings()
{
    // The window keeps no pointers to these three; they are found by name.
    auto *curveComboBox = findChild<QComboBox *>("curveComboBox");
    auto *axisCheckBox = findChild<QCheckBox *>("axisCheckBox");
    auto *gridSlider = findChild<QSlider *>("grid space");

    // The view already holds every value. A signal from a widget would run
    // a view slot, which writes the selected curve with the value the
    // widget can show instead of the one loaded.
    std::vector<QSignalBlocker> quiet;
    for (QObject *widget : std::initializer_list<QObject *>{
             curveComboBox, axisCheckBox, gridSlider, openCloseCurveCheckBox, uparameter, precision,
             drawCurvePointsCheckBox, depthColourCheckBox, level})
        quiet.emplace_back(widget);

    curveComboBox->setCurrentIndex(glbox->currentCurve);
    axisCheckBox->setChecked(glbox->drawAxis);
    gridSlider->setValue(glbox->gridSpace);
    openCloseCurveCheckBox->setChecked(glbox->controlPoints->closed);
    if (const Curve *curve = glbox->selectedCurve()) {
        getWidgetValues();
        // getWidgetValues truncates, which shows a stored 0.29 (just below
        // 29 hundredths) as 28; a loaded value is always a slider position.
        uparameter->setValue(qRound(curve->u() * 100));
        if (curve->usesPrecision)
            precision->setValue(qRound(curve->precision * 10));
    } else {
        // No scheme: the widgets as they are at start-up.
        for (QWidget *widget : std::initializer_list<QWidget *>{precision, level, depthColourCheckBox})
            widget->setEnabled(true);
        uparameter->setValue(0);
        precision->setValue(0);
        level->setValue(0);
        drawCurvePointsCheckBox->setChecked(false);
        depthColourCheckBox->setChecked(false);
    }
    // The value labels beside the sliders saw none of the blocked changes.
    quiet.clear();
    for (SliderValueLabel *label : findChildren<SliderValueLabel *>())
        label->showValue();
    // The next paint reports the new polygon's areas while a scheme is
    // selected; until then, and without a scheme, nothing is measured.
    polygonAreaLabel->setText(tr("Control Points = 0"));
    deltaAreaLabel->setText(tr("Delta = 0"));
    finalAreaLabel->setText(tr("Final = 0"));
}

namespace {

// label = value with two decimals; a value that rounds to zero reads 0.00,
// never -0.00.
void showArea(QLabel *label, const char *format, double value)
{
    QString text = QString::asprintf(format, value);
    if (text.endsWith("-0.00"))
        text = QString::asprintf(format, 0.0);
    label->setText(text);
    label->update();
}

} // namespace

void GLMainWindow::setArea(double polygonArea, double deltaArea)
{
    showArea(polygonAreaLabel, "Control Points = %.2f", polygonArea);
    showArea(deltaAreaLabel, "Delta = %.2f", deltaArea);
    showArea(finalAreaLabel, "Final = %.2f", polygonArea - deltaArea);
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
                       tr("Ornelle %1, a program for studying subdivision curves in the plane, "
                          "written by the Ornelle authors, 2003.\n"
                          "Free for educational purposes.\n"
                          "No technical support is offered.\n"
                          "%2")
                           .arg(QString::fromUtf8(ornelle::version), QString::fromUtf8(ornelle::homepage)));
}
