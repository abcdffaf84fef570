#include "analysis/MaskAnalysis.h"

#include "analysis/BasisValues.h"
#include "analysis/DifferenceSchemes.h"
#include "analysis/TransitionMatrices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr double zeroTolerance = 1e-12;

std::string number(double value, int digits = 12)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    return buffer;
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<double> &values)
{
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i == 0 ? "" : i + 1 == values.size() ? " and " : ", ") + number(values[i]);
    return out;
}

std::string power(int k)
{
    return "C^" + std::to_string(k);
}

double logBase(double x, int m)
{
    return std::log(x) / std::log(double(m));
}

// What the sub-masks' sums say about affine invariance, in a sentence.
std::string sumsNote(const std::vector<double> &sums, bool normalised)
{
    const bool equal = std::all_of(sums.begin(), sums.end(),
                                   [&](double v) { return std::abs(v - sums[0]) <= zeroTolerance * (1 + std::abs(v)); });
    if (normalised)
        return "every sub-mask sums to 1: the scheme is affine invariant";
    if (equal && std::abs(sums[0]) > zeroTolerance)
        return "every sub-mask sums to " + number(sums[0]) + ": the scheme is not affine invariant; divided by " +
               number(sums[0]) + " it would be";
    return "sub-masks sum to " + listed(sums) + ": the scheme is not affine invariant";
}

// Sums of a_r, a_(r+m), ... for r = 0 .. m - 1, and whether each is 1.
std::vector<double> sumsOfSubMasks(const Mask &mask, bool &normalised)
{
    std::vector<double> sums(std::size_t(mask.arity()), 0.0);
    for (std::size_t i = 0; i < mask.size(); ++i)
        sums[i % sums.size()] += mask.coefficients()[i];
    normalised = std::all_of(sums.begin(), sums.end(), [](double s) { return std::abs(s - 1.0) <= zeroTolerance; });
    return sums;
}

// The computations in order; each reads what the ones before found.
class Analyser
{
public:
    Analyser(const Mask &given, MaskAnalysis &out) : given(given), out(out) {}

    void run();

private:
    void trim();
    void sums();
    void smoothness(const DifferenceSchemes &schemes);
    void upperBound(const DifferenceSchemes &schemes);
    void interpolation();
    void basis();
    void describeSums();
    void describeSmoothness();

    const Mask &given;
    MaskAnalysis &out;
    std::size_t leading = 0, trailing = 0;
    double lower = -std::numeric_limits<double>::infinity();
    double upper = std::numeric_limits<double>::infinity();
    bool upperKnown = false;
};

void Analyser::run()
{
    out.arity = given.arity();
    trim();
    sums();
    interpolation();
    if (out.normalised && out.sumRules > 0) {
        const DifferenceSchemes schemes(out.mask, out.arity);
        smoothness(schemes);
        upperBound(schemes);
        // Both bounds come from the same theory: rounding alone could
        // cross them.
        lower = std::min(lower, upper);
        if (upperKnown && upper > zeroTolerance)
            out.regularity = MaskAnalysis::Bounds{lower, upper};
    }
    basis();
    describeSums();
    describeSmoothness();
}

void Analyser::trim()
{
    const std::vector<double> &a = given.coefficients();
    while (leading < a.size() && a[leading] == 0.0)
        ++leading;
    while (trailing + leading < a.size() && a[a.size() - 1 - trailing] == 0.0)
        ++trailing;
    out.mask.assign(a.begin() + long(leading), a.end() - long(trailing));
    if (out.mask.empty()) {
        out.mask.assign(1, 0.0);
        leading = trailing = 0;
    }
    out.support = double(out.mask.size() - 1) / double(out.arity - 1);
}

void Analyser::sums()
{
    out.subMaskSums = sumsOfSubMasks(given, out.normalised);
    out.sumRules = DifferenceSchemes(out.mask, out.arity).sumRules();
}

void Analyser::smoothness(const DifferenceSchemes &schemes)
{
    // From the highest order down: the first contraction found is the
    // smoothness. Order k bounds the regularity from below by
    // k - log_m(rho_k) <= k + 1 (every ||S^L|| is at least m^-L, as b_k
    // sums to 1), so lower orders stop mattering once the bound passes
    // k + 1 and the smoothness is known.
    const int s = out.sumRules;
    std::vector<int> caps(std::size_t(s), 0);
    for (int k = s - 1; k >= 0; --k) {
        const bool bounds = double(k + 1) > lower + zeroTolerance;
        if (!bounds && out.smoothness >= 0)
            break;
        const std::vector<double> b = schemes.scheme(k);
        caps[std::size_t(k)] = DifferenceSchemes::stepCap(out.arity, b.size());
        const std::vector<double> norms = DifferenceSchemes::norms(b, out.arity, caps[std::size_t(k)], !bounds);
        double rate = std::numeric_limits<double>::infinity();
        for (std::size_t L = 1; L <= norms.size(); ++L) {
            if (out.smoothness < 0 && norms[L - 1] < DifferenceSchemes::contractionBelow) {
                out.smoothness = k;
                out.contractionSteps = int(L);
            }
            rate = std::min(rate, std::pow(norms[L - 1], 1.0 / double(L)));
        }
        if (bounds && rate > 0.0 && std::isfinite(rate))
            lower = std::max(lower, k - logBase(rate, out.arity));
    }
    const int next = std::min(out.smoothness + 1, s - 1);
    out.contractionCap = caps[std::size_t(next)];
}

void Analyser::upperBound(const DifferenceSchemes &schemes)
{
    const int s = out.sumRules;
    const TransitionMatrices family(schemes.scheme(s - 1), out.arity);
    const double rho = family.radiusEstimate(family.wordCap());
    if (!(rho > 0.0) || !std::isfinite(rho))
        return;
    // C^s would need s + 1 sum rules, so the regularity is at most s.
    upper = std::min(double(s), (s - 1) - logBase(rho, out.arity));
    upperKnown = true;
}

void Analyser::interpolation()
{
    const std::vector<double> &a = out.mask;
    const auto m = std::size_t(out.arity);
    for (std::size_t r = 0; r < a.size() && !out.interpolatory; ++r) {
        if (std::abs(a[r] - 1.0) > zeroTolerance)
            continue;
        bool others = true;
        for (std::size_t i = r % m; i < a.size(); i += m)
            others = others && (i == r || std::abs(a[i]) <= zeroTolerance);
        out.interpolatory = others;
    }
}

void Analyser::basis()
{
    if (out.smoothness >= 0)
        out.basisAtIntegers = BasisValues::at(out.mask, out.arity, 0, 1);
}

void Analyser::describeSums()
{
    std::vector<std::string> &notes = out.notes;
    if (leading > 0)
        notes.push_back(std::to_string(leading) + " leading zero coefficient" + (leading > 1 ? "s" : "") +
                        " dropped: they only shift the scheme");
    if (trailing > 0)
        notes.push_back(std::to_string(trailing) + " trailing zero coefficient" + (trailing > 1 ? "s" : "") +
                        " dropped");
    notes.push_back(sumsNote(out.subMaskSums, out.normalised));
    const int s = out.sumRules;
    if (s > 0)
        notes.push_back(std::to_string(s) + " sum rule" + (s > 1 ? "s" : "") +
                        ": the scheme generates polynomials up to degree " + std::to_string(s - 1));
    else
        notes.push_back("no sum rule: s_m(z) does not divide the symbol");
    if (out.interpolatory)
        notes.push_back("interpolatory: the points of each level stay in the next");
}

void Analyser::describeSmoothness()
{
    std::vector<std::string> &notes = out.notes;
    if (!out.normalised || out.sumRules == 0) {
        notes.push_back("the scheme does not converge");
        return;
    }
    const int k = out.smoothness;
    const std::string passes = " within L <= " + std::to_string(out.contractionCap) + " passes";
    if (k >= 0)
        notes.push_back(power(k) + " proven: the difference scheme of order " + std::to_string(k) +
                        " contracts in " + std::to_string(out.contractionSteps) + " pass" +
                        (out.contractionSteps > 1 ? "es" : ""));
    if (k + 1 < out.sumRules)
        notes.push_back((k < 0 ? std::string("continuity") : power(k + 1)) +
                        " not proven: its difference scheme does not contract" + passes);
    else
        notes.push_back(power(k + 1) + " would need " + std::to_string(k + 2) + " sum rules");
    if (!out.regularity) {
        notes.push_back(std::string("the scheme does not converge: its regularity is at most ") +
                        number(upperKnown ? upper : 0.0, 4));
        return;
    }
    const MaskAnalysis::Bounds &alpha = *out.regularity;
    if (alpha.upper - alpha.lower <= 1e-9)
        notes.push_back("Hoelder regularity " + number(alpha.upper, 4));
    else
        notes.push_back("Hoelder regularity between " + number(alpha.lower, 4) + " and " + number(alpha.upper, 4));
    if (out.regularity->upper < double(k + 1) - 1e-9 && k + 1 < out.sumRules)
        notes.push_back("not " + power(k + 1) + ": the regularity is at most " + number(out.regularity->upper, 4));
}

} // namespace

MaskAnalysis MaskAnalysis::of(const Mask &mask)
{
    MaskAnalysis out;
    Analyser(mask, out).run();
    return out;
}

std::string MaskAnalysis::affineRefusal(const Mask &mask)
{
    bool normalised = false;
    const std::vector<double> sums = sumsOfSubMasks(mask, normalised);
    return normalised ? std::string() : sumsNote(sums, false);
}

bool MaskAnalysis::provesConvergence(const Mask &mask)
{
    bool normalised = false;
    sumsOfSubMasks(mask, normalised);
    if (!normalised)
        return false;
    const DifferenceSchemes schemes(mask.coefficients(), mask.arity());
    if (schemes.sumRules() == 0)
        return false;
    const std::vector<double> b = schemes.scheme(0);
    const std::vector<double> norms =
        DifferenceSchemes::norms(b, mask.arity(), DifferenceSchemes::stepCap(mask.arity(), b.size()), true);
    return !norms.empty() && norms.back() < DifferenceSchemes::contractionBelow;
}
