#include "LaboratoryPanel.h"

#include "AnalysisSection.h"
#include "analysis/MaskAnalysis.h"
#include "curves/CustomCurve.h"
#include "curves/MaskPresets.h"
#include "model/Scene.h"
#include "view/GLBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int messageTime = 4000;

template <typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

LaboratoryPanel::LaboratoryPanel(GLBox *view, QComboBox *schemeBox, QWidget *panel, QVBoxLayout *stack,
                                 QObject *parent)
    : QObject(parent), view(view), scene(view->scene()), schemeBox(schemeBox),
      chosen(scene.customCurve().customMask())
{
    auto *box = named(new QGroupBox(tr("Scheme Laboratory"), panel), "laboratoryBox");
    auto *column = new QVBoxLayout(box);
    stack->addWidget(box, 0);

    column->addWidget(new QLabel(tr("Custom Mask"), box));
    maskEdit = named(new QLineEdit(QString::fromStdString(scene.customCurve().customMask().text()), box), "maskEdit");
    maskEdit->setToolTip(tr("Arity, colon, coefficients, optional denominator: 2: -1 0 9 16 9 0 -1 / 16 (Return "
                            "applies it)"));
    column->addWidget(maskEdit);
    connect(maskEdit, &QLineEdit::returnPressed, this, [this] { applyMaskText(maskEdit->text()); });
    // While typing, every text that is a sound mask is drawn at once;
    // the others wait, silently, for more keys or for Return.
    connect(maskEdit, &QLineEdit::textEdited, this, [this](const QString &text) {
        const Mask::Parsed parsed = Mask::parse(text.toStdString());
        if (parsed.mask && MaskAnalysis::affineRefusal(*parsed.mask).empty())
            applyMask(*parsed.mask, false);
    });

    auto *presets = new QHBoxLayout();
    column->addLayout(presets);
    maskPresetComboBox = named(new QComboBox(box), "maskPresetComboBox");
    for (const MaskPresets::Preset &preset : MaskPresets::all())
        maskPresetComboBox->addItem(QString::fromStdString(preset.name));
    maskPresetComboBox->setToolTip(tr("Masks ready to use: the four-point scheme at tension w, the six-point "
                                      "scheme, binary B-splines of degree 1 to 5, ternary ones of degree 1 to 3"));
    presets->addWidget(maskPresetComboBox, 1);
    connect(maskPresetComboBox, &QComboBox::activated, this, &LaboratoryPanel::choosePreset);
    tensionSpinBox = named(new QDoubleSpinBox(box), "tensionSpinBox");
    tensionSpinBox->setPrefix("w ");
    tensionSpinBox->setDecimals(4);
    tensionSpinBox->setRange(MaskPresets::smallestTension, MaskPresets::largestTension);
    tensionSpinBox->setSingleStep(0.005);
    tensionSpinBox->setValue(MaskPresets::fourPointTension);
    tensionSpinBox->setToolTip(tr("The four-point scheme's tension w"));
    presets->addWidget(tensionSpinBox);
    connect(tensionSpinBox, &QDoubleSpinBox::valueChanged, this, &LaboratoryPanel::setTension);

    copyToCustomButton = named(new QPushButton(tr("Copy to Custom"), box), "copyToCustomButton");
    copyToCustomButton->setToolTip(tr("The selected scheme's mask at its u becomes the custom mask"));
    column->addWidget(copyToCustomButton);
    connect(copyToCustomButton, &QPushButton::clicked, this, &LaboratoryPanel::copyToCustom);

    auto *switches = new QHBoxLayout();
    column->addLayout(switches);
    openEndsCheckBox = named(new QCheckBox(tr("Open Ends"), box), "openEndsCheckBox");
    openEndsCheckBox->setToolTip(tr("An open polygon is refined too, its ends continued along the end edges"));
    switches->addWidget(openEndsCheckBox);
    connect(openEndsCheckBox, &QCheckBox::toggled, this,
            [this](bool on) { this->view->changeScene([on](Scene &s) { return s.setOpenEnds(on); }); });
    showInfluenceCheckBox = named(new QCheckBox(tr("Show Influence"), box), "showInfluenceCheckBox");
    showInfluenceCheckBox->setToolTip(tr("Highlights the part of the curve that the control point under the "
                                         "pointer moves, and shades a drag's displacement"));
    switches->addWidget(showInfluenceCheckBox);
    connect(showInfluenceCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        this->view->changeScene([on](Scene &s) {
            s.setShowInfluence(on);
            return false;
        });
    });

    playLevelsButton = named(new QPushButton(tr("Play Levels"), box), "playLevelsButton");
    playLevelsButton->setCheckable(true);
    playLevelsButton->setToolTip(tr("Steps the selected scheme from level 0 to its level, a level a second, with "
                                    "the passes shown; any edit stops it"));
    column->addWidget(playLevelsButton);
    playTimer = new QTimer(this);
    playTimer->setInterval(playStepMs);
    connect(playTimer, &QTimer::timeout, this, &LaboratoryPanel::playStep);
    connect(playLevelsButton, &QPushButton::toggled, this, &LaboratoryPanel::setPlaying);

    analysis = new AnalysisSection(box, column);

    // Whatever changed the scene (a slot, a file, an undo), the view
    // reports it; a drawn edit of the polygon stops a play.
    connect(view, &GLBox::setWidgetValues, this, &LaboratoryPanel::showScene);
    connect(view, &GLBox::setArea, this, &LaboratoryPanel::showScene);
    connect(view, &GLBox::documentEdited, this, &LaboratoryPanel::showScene);
    connect(view, &GLBox::polygonEdited, this, [this] { playLevelsButton->setChecked(false); });
    showScene();
}

bool LaboratoryPanel::applyMaskText(const QString &text)
{
    const Mask::Parsed parsed = Mask::parse(text.toStdString());
    const std::string refusal = parsed.mask ? MaskAnalysis::affineRefusal(*parsed.mask) : std::string();
    if (!parsed.mask || !refusal.empty()) {
        emit message(parsed.mask ? tr("Mask refused: %1.").arg(QString::fromStdString(refusal))
                                 : tr("Mask not applied: %1").arg(QString::fromStdString(parsed.error)),
                     messageTime);
        // A sound mask met on the way while typing goes back to the last
        // one chosen; the text stays, to be mended.
        view->changeScene([this](Scene &s) { return s.setCustomMask(chosen); });
        return false;
    }
    applyMask(*parsed.mask, true);
    return true;
}

void LaboratoryPanel::applyMask(const Mask &mask, bool tell)
{
    view->changeScene([&mask](Scene &s) { return s.setCustomMask(mask); });
    // Text being typed stays as typed.
    if (tell) {
        chosen = mask;
        maskEdit->setText(QString::fromStdString(mask.text()));
    }
    if (scene.selected() != Schemes::Custom) {
        schemeBox->setCurrentIndex(Schemes::Custom);
        view->setCurrentCurve(Schemes::Custom);
    }
    if (tell && !MaskAnalysis::provesConvergence(mask))
        emit message(tr("Custom mask applied; its scheme does not converge"), messageTime);
    showScene();
}

void LaboratoryPanel::choosePreset(int index)
{
    const std::vector<MaskPresets::Preset> presets = MaskPresets::all(tensionSpinBox->value());
    if (index >= 0 && std::size_t(index) < presets.size())
        applyMask(presets[std::size_t(index)].mask, true);
}

void LaboratoryPanel::setTension(double w)
{
    // The tension belongs to the four-point preset, the first.
    maskPresetComboBox->setCurrentIndex(0);
    applyMask(MaskPresets::fourPoint(w), true);
}

void LaboratoryPanel::copyToCustom()
{
    const Curve *curve = scene.selectedCurve();
    const std::optional<Mask> mask = curve ? curve->mask() : std::nullopt;
    if (!mask || curve->scheme() == Schemes::Custom) {
        emit message(tr("Copy to Custom takes the mask of Chaikin, Cubic B-Spline or Vantrell Proposed"), messageTime);
        return;
    }
    applyMask(*mask, true);
}

void LaboratoryPanel::setPlaying(bool on)
{
    if (!on) {
        playTimer->stop();
        if (scene.playing())
            view->changeScene([](Scene &s) {
                s.stopPlaying();
                return false;
            });
        return;
    }
    bool started = false;
    view->changeScene([&started](Scene &s) { return (started = s.startPlaying(), false); });
    if (!started) {
        emit message(tr("Play Levels needs a refining scheme at level 1 or more"), messageTime);
        const QSignalBlocker quiet(playLevelsButton);
        playLevelsButton->setChecked(false);
        return;
    }
    playedLevel = 0;
    emit message(tr("Level 0 of %1").arg(scene.playedUpTo()), playStepMs * 2);
    playTimer->start();
}

void LaboratoryPanel::playStep()
{
    // Any setting of the scene's own stopped the play already.
    if (!scene.playing() || playedLevel >= scene.playedUpTo()) {
        playLevelsButton->setChecked(false);
        return;
    }
    ++playedLevel;
    view->changeScene([this](Scene &s) {
        s.showPlayedLevel(playedLevel);
        return false;
    });
    emit message(tr("Level %1 of %2").arg(playedLevel).arg(scene.playedUpTo()), playStepMs * 2);
}

void LaboratoryPanel::showScene()
{
    const Curve *curve = scene.selectedCurve();
    {
        const QSignalBlocker quietEnds(openEndsCheckBox), quietInfluence(showInfluenceCheckBox);
        openEndsCheckBox->setEnabled(curve && curve->usesLevel);
        openEndsCheckBox->setChecked(curve && curve->openEnds);
        showInfluenceCheckBox->setChecked(scene.study().influence);
    }
    if (!scene.playing() && playLevelsButton->isChecked())
        playLevelsButton->setChecked(false);
    // A play shows the passes and gives the switch back when it ends: the
    // Study box's Show Passes says what is drawn, without being an edit
    // that would stop the play.
    if (auto *passesBox = view->window()->findChild<QCheckBox *>("showPassesCheckBox");
        passesBox && passesBox->isChecked() != scene.study().passes) {
        const QSignalBlocker quiet(passesBox);
        passesBox->setChecked(scene.study().passes);
    }
    // A mask set elsewhere (a file, the command line) counts as chosen.
    const Mask &mask = scene.customCurve().customMask();
    if (!maskEdit->hasFocus()) {
        chosen = mask;
        if (maskEdit->text().toStdString() != mask.text())
            maskEdit->setText(QString::fromStdString(mask.text()));
    }
    copyToCustomButton->setEnabled(curve && curve->mask() && curve->scheme() != Schemes::Custom);
    analysis->show(scene, tensionSpinBox->value());
}
