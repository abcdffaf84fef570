#include "analysis/MaskReport.h"

#include "analysis/SchemeSetup.h"
#include "geometry/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

std::string number(double value)
{
    return std::isfinite(value) ? shortestText(value) : "null";
}

std::string numbers(const std::vector<double> &values)
{
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i > 0 ? ", " : "") + number(values[i]);
    return out + "]";
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The words of an argument that is no mask: what it might have meant.
std::string notAScheme(std::string_view argument, const std::string &maskError)
{
    std::string out = argument.find(':') != std::string_view::npos ? "not a mask: " : "'";
    if (argument.find(':') != std::string_view::npos)
        return out.append(maskError);
    return out.append(argument.substr(0, 40))
        .append("' is neither a mask ('M: c0 c1 ... cn [/ d]') nor one of chaikin, bspline, proposed");
}

} // namespace

MaskReport::Answer MaskReport::answer(std::string_view argument, std::optional<std::string_view> uText)
{
    // "none" or any other word is no scheme: a mask, or nothing.
    const int scheme = std::max(0, Schemes::ofKey(argument));
    if (scheme == SchemeSetup::Bezier)
        return {{}, "the Bezier scheme splits each curve adaptively at its parameter u and has no mask to analyse"};
    if (scheme == 0) {
        if (uText)
            return {{}, "--u goes with chaikin, bspline or proposed; a mask holds its own weights"};
        const Mask::Parsed parsed = Mask::parse(argument);
        if (!parsed.mask)
            return {{}, notAScheme(argument, parsed.error)};
        return {json(MaskAnalysis::of(*parsed.mask)), {}};
    }
    SchemeSetup setup;
    setup.scheme = scheme;
    setup.u = SchemeSetup::defaultU(scheme);
    if (uText) {
        const std::string_view text = *uText;
        double u = 0.0;
        const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), u);
        if (text.empty() || read.ec != std::errc() || read.ptr != text.data() + text.size() || !std::isfinite(u))
            return {{}, "--u takes a finite number, not '" + std::string(text.substr(0, 40)) + "'"};
        setup.u = u;
    }
    return {json(MaskAnalysis::of(*setup.mask()), Schemes::row(scheme).key, setup.u), {}};
}

std::string MaskReport::json(const MaskAnalysis &a, const char *scheme, double u)
{
    std::string out = "{\n";
    const auto member = [&out](const char *name, const std::string &value) {
        out += std::string(out.size() > 2 ? ",\n" : "") + "  " + quoted(name) + ": " + value;
    };
    if (scheme) {
        member("scheme", quoted(scheme));
        member("u", number(u));
    }
    member("arity", std::to_string(a.arity));
    member("mask", numbers(a.mask));
    member("normalised", a.normalised ? "true" : "false");
    member("sumRules", std::to_string(a.sumRules));
    member("smoothness", std::to_string(a.smoothness));
    member("regularity", a.regularity ? numbers({a.regularity->lower, a.regularity->upper}) : "null");
    member("support", number(a.support));
    member("interpolatory", a.interpolatory ? "true" : "false");
    member("basisAtIntegers", a.basisAtIntegers ? numbers(*a.basisAtIntegers) : "null");
    member("contractionSteps", a.smoothness >= 0 ? std::to_string(a.contractionSteps) : "null");
    member("contractionCap", a.contractionCap > 0 ? std::to_string(a.contractionCap) : "null");
    std::string notes = "[";
    for (std::size_t i = 0; i < a.notes.size(); ++i)
        notes += (i > 0 ? ",\n    " : "\n    ") + quoted(a.notes[i]);
    member("notes", notes + (a.notes.empty() ? "]" : "\n  ]"));
    return out + "\n}\n";
}
