#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The mask of a uniform stationary subdivision scheme: its arity m (2 for
// a binary scheme, 3 for a ternary one) and its coefficients a_0 .. a_n.
// One pass maps the points p_j to p'_i = sum over j of a_(i - m j) p_j, so
// that each old point spreads into the new points m j .. m j + n. A plain
// value; the coefficients are stored as given (divided by the denominator
// of the text form), not normalised or trimmed.
//
// Text form: "M: c0 c1 ... cn" with an optional common denominator
// "/ d", for example "2: -1 0 9 16 9 0 -1 / 16" (the four-point scheme).
// Numbers are decimal, with an optional sign, fraction and exponent;
// spaces or commas separate them.
class Mask
{
public:
    static constexpr std::size_t maxCoefficients = 64;
    // Largest size of a coefficient (after the denominator): far beyond
    // any scheme that converges, and small enough that the analysis's
    // products of up to thousands of coefficients stay finite.
    static constexpr double largestCoefficient = 1e9;

    // What parse() gives (defined below).
    struct Parsed;

    // arity 2 or 3 and 1 to maxCoefficients finite coefficients of size
    // at most largestCoefficient (problem() tells whether they are).
    Mask(int arity, std::vector<double> coefficients);

    // The mask in text, or why the text is not one.
    static Parsed parse(std::string_view text);
    // Empty when arity and coefficients make a mask, else the reason in
    // one sentence.
    static std::string problem(int arity, const std::vector<double> &coefficients);

    // The text form, without denominator, each number in the fewest digits
    // that read back to it: parse(text()) gives this mask again.
    std::string text() const;

    int arity() const { return arity_; }
    const std::vector<double> &coefficients() const { return coefficients_; }
    // n + 1: the number of coefficients.
    std::size_t size() const { return coefficients_.size(); }

    bool operator==(const Mask &other) const = default;

private:
    int arity_;
    std::vector<double> coefficients_;
};

// The mask, or a one-line message saying what is wrong with the text
// (mask empty then).
struct Mask::Parsed
{
    std::optional<Mask> mask;
    std::string error;
};
