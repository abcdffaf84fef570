#pragma once

#include "curves/Mask.h"

#include <QObject>
#include <QString>

#include <optional>

class AnalysisSection;
class GLBox;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QTimer;
class QVBoxLayout;
class QWidget;
class Scene;

// The "Scheme Laboratory" box of the panel: the custom scheme's mask,
// typed ("maskEdit", drawn as soon as the text is a sound mask, refusals
// told on Return) or picked ("maskPresetComboBox",
// the four-point scheme's tension in "tensionSpinBox"), "Copy to Custom"
// for a built-in scheme's mask at its u, "Open Ends" and "Show Influence"
// for the selected scheme, "Play Levels" for a lecture, and the folding
// analysis of the selected scheme (AnalysisSection). Every change goes to
// the scene through the view (GLBox::changeScene); the box shows what the
// scene holds whenever the view reports a change. A mask that is refused
// is told by message, which the window shows in its status bar.
class LaboratoryPanel : public QObject
{
    Q_OBJECT

public:
    // Seconds a level stays on screen while the levels play.
    static constexpr int playStepMs = 1000;

    // Builds the box into stack (the layout of panel), wired to view;
    // schemeBox is the panel's scheme selector, set when the laboratory
    // selects the custom scheme.
    LaboratoryPanel(GLBox *view, QComboBox *schemeBox, QWidget *panel, QVBoxLayout *stack, QObject *parent);

    // Applies text as the custom mask and selects the custom scheme; a text
    // that is no mask, or a mask that is not affine invariant, changes
    // nothing and is told by message. True when applied.
    bool applyMaskText(const QString &text);
    // Shows the scene's values in the box's widgets, without their signals,
    // and the analysis of the selected scheme.
    void showScene();

    QLineEdit *maskEdit = nullptr;
    QComboBox *maskPresetComboBox = nullptr;
    QDoubleSpinBox *tensionSpinBox = nullptr;
    QPushButton *copyToCustomButton = nullptr;
    QCheckBox *openEndsCheckBox = nullptr;
    QCheckBox *showInfluenceCheckBox = nullptr;
    QPushButton *playLevelsButton = nullptr;
    AnalysisSection *analysis = nullptr;

signals:
    void message(const QString &text, int milliseconds);

private:
    // Sets mask and selects the custom scheme; tell: a finished choice,
    // shown in the mask box and, when it does not converge, told.
    void applyMask(const Mask &mask, bool tell);
    void choosePreset(int index);
    void setTension(double w);
    void copyToCustom();
    void setPlaying(bool on);
    void playStep();

    GLBox *view;
    Scene &scene;
    QComboBox *schemeBox;
    // The custom mask last chosen (Return, a preset, a copy, a file).
    Mask chosen;
    QTimer *playTimer = nullptr;
    int playedLevel = 0;
};
