#pragma once

#include "analysis/MaskAnalysis.h"

#include <optional>
#include <string>
#include <string_view>

// The analysis of a mask as the command line prints it: one JSON object
// with the members arity, mask (the coefficients analysed, numbers),
// normalised, sumRules, smoothness (-1 when not even continuity is
// proven), regularity ([lower, upper] or null), support, interpolatory,
// basisAtIntegers (phi at 0 .. support, or null), contractionSteps (the
// L that proved the smoothness, or null), contractionCap and notes; for a
// named scheme scheme and u first. Numbers are written in the fewest
// digits that read back to them; NaN and infinity never appear (null
// stands in).
class MaskReport
{
public:
    // The JSON text (ending in a newline) or, when the request cannot be
    // answered, a one-line reason (text empty then).
    struct Answer
    {
        std::string json;
        std::string error;
    };

    // argument: a mask in text form ("2: 1 3 3 1 / 4") or the key of a
    // refining scheme (Schemes::Row::key); uText: the weight for the
    // scheme, as typed, or empty for the scheme's default u.
    static Answer answer(std::string_view argument, std::optional<std::string_view> uText);

    // The JSON object for analysis; with a scheme key, "scheme" and "u"
    // come first.
    static std::string json(const MaskAnalysis &analysis, const char *scheme = nullptr, double u = 0.0);
};
