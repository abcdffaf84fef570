// libFuzzer target: arbitrary bytes read as a mask and, when they are one,
// analysed. The reader must refuse in one line or give a mask that reads
// back from its own text; the analysis must finish in bounded time and
// give only finite numbers, so that the JSON holds no NaN or infinity.
#include "analysis/ExactLimit.h"
#include "analysis/MaskAnalysis.h"
#include "analysis/MaskReport.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string_view>

namespace {

void fail(const char *problem, std::string_view text)
{
    std::cerr << problem << ": " << text << std::endl;
    std::abort();
}

void checkFinite(const std::vector<double> &values, const char *what, std::string_view text)
{
    for (const double v : values)
        if (!std::isfinite(v))
            fail(what, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const Mask::Parsed parsed = Mask::parse(text);
    if (!parsed.mask) {
        if (parsed.error.empty() || parsed.error.find('\n') != std::string::npos)
            fail("a refusal is one non-empty line", text);
        return 0;
    }
    const Mask &mask = *parsed.mask;
    if (!Mask::problem(mask.arity(), mask.coefficients()).empty())
        fail("an accepted mask breaks the rules", text);
    if (Mask::parse(mask.text()).mask != mask)
        fail("the text form does not read back", text);

    const MaskAnalysis a = MaskAnalysis::of(mask);
    checkFinite(a.mask, "mask", text);
    checkFinite(a.subMaskSums, "sub-mask sums", text);
    if (a.regularity)
        checkFinite({a.regularity->lower, a.regularity->upper}, "regularity", text);
    if (a.basisAtIntegers)
        checkFinite(*a.basisAtIntegers, "phi", text);
    if (!std::isfinite(a.support) || a.smoothness < -1 || a.smoothness > a.sumRules - 1)
        fail("support or smoothness out of range", text);
    if (a.smoothness >= 0 && !a.normalised)
        fail("smoothness proven without affine invariance", text);
    const std::string json = MaskReport::json(a);
    if (json.find("nan") != std::string::npos || json.find("inf") != std::string::npos)
        fail("the JSON holds a NaN or an infinity", json);
    if (const std::optional<ExactLimit> limit = ExactLimit::of(mask))
        checkFinite(limit->weights(), "limit weights", text);
    return 0;
}
