#pragma once

#include "analysis/RegularitySweep.h"
#include "curves/Mask.h"

#include <QObject>

#include <memory>
#include <optional>
#include <thread>
#include <vector>

class LabPlot;
class QGroupBox;
class QLabel;
class QToolButton;
class QVBoxLayout;
class QWidget;
class Scene;

// The folding analysis of the selected scheme in the Scheme Laboratory box
// ("analysisToggle" folds "analysisSection"): the mask, the smoothness
// ("C1, regularity 2.00"), the regularity bounds, sum rules, support and
// whether it interpolates ("analysisLabel"); the basic limit function phi,
// and phi' when the scheme is C1 ("basisPlot"); and for the three built-in
// refining schemes and the four-point preset the regularity bounds against
// u (or w) over the whole slider ("regularityPlot"), with the current
// value marked and guides at 1 and 2. The sweep runs on a thread of its
// own and each value is drawn as it comes in; a new family starts a new
// sweep and the old one is abandoned.
class AnalysisSection : public QObject
{
    Q_OBJECT

public:
    // The weights a family is swept over.
    enum class Family { None, Chaikin, BSpline, Proposed, FourPoint };

    // Builds the section at the end of column, inside box (its parent).
    AnalysisSection(QGroupBox *box, QVBoxLayout *column);
    ~AnalysisSection() override;

    // Shows the analysis of the scene's selected scheme; w is the
    // four-point preset's tension (the custom mask belongs to the
    // four-point family when it is that preset at w). Cheap when neither
    // the mask nor the family changed.
    void show(const Scene &scene, double w);

    // The family swept now and the samples that came in, in order of
    // weight; finished once all have.
    Family family() const { return swept; }
    const std::vector<RegularitySweep::Sample> &samples() const { return received; }
    bool sweepFinished() const { return finished; }

    QToolButton *analysisToggle = nullptr;
    QWidget *analysisSection = nullptr;
    QLabel *analysisLabel = nullptr;
    LabPlot *basisPlot = nullptr;
    LabPlot *regularityPlot = nullptr;

private:
    void analyse(const Mask &mask);
    void startSweep(Family family);
    void receive(unsigned generation, const RegularitySweep::Sample &sample);
    void drawSweep();

    std::optional<Mask> analysed;
    Family swept = Family::None;
    std::vector<RegularitySweep::Sample> received;
    bool finished = true;
    unsigned generation = 0;
    std::jthread worker;
};
