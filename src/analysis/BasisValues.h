#pragma once

#include <optional>
#include <vector>

// Values of the basic limit function phi of a mask (the limit of refining
// ..., 0, 1, 0, ...; phi(x) = sum over i of a_i phi(m x - i), supported on
// [0, n / (m - 1)]) at the points x0 + j, j = 0, 1, ..., for a fraction x0
// = p / q in [0, 1).
//
// The map x -> m x mod 1 takes x0 round a finite orbit (it has
// denominator q), which ends in a cycle. On the cycle the values satisfy
// phi(x + j) = sum over l of a_(c + m j - l) phi(x' + l), with x' = m x - c
// the next point of the cycle: an eigenvector for eigenvalue 1, scaled so
// that the values at each point sum to 1 (a normalised scheme's phi
// reproduces constants). The points before the cycle follow from the
// refinement equation. For x0 = 0 the matrix is A_(i,j) = a_(m i - j),
// i, j = 0 .. n / (m - 1).
class BasisValues
{
public:
    // Most unknowns of the eigenvector's system (the points of the cycle
    // times the values at each): bounds the O(size^3) solve.
    static constexpr std::size_t maxUnknowns = 256;

    // phi(x0 + j) for j = 0 .. floor(n / (m - 1) - x0), x0 = p / q
    // (0 <= p < q, 1 <= q <= 64), for the coefficients a (a_0 .. a_n,
    // n >= 0, arity m of 2 or 3). Empty when 1 is not a simple eigenvalue
    // (the scheme does not converge, or not to a unique phi), when the
    // values do not reproduce constants, or when the system exceeds
    // maxUnknowns. Values within 1e-14 of the largest are rounding and
    // given as 0. Meaningful only for a convergent scheme.
    static std::optional<std::vector<double>> at(const std::vector<double> &a, int m, long p, long q);
};
