#pragma once

#include <cstddef>
#include <vector>

// The transition matrices of a scheme c of arity m, (T_e)_(i,j) =
// c_(m i - j + e) for e = 0 .. m - 1 and i, j = 0 .. D - 1, with D =
// ceil((len(c) + m - 2) / (m - 1)): the smallest window of consecutive
// values whose refinement by c depends on that window alone, so that each
// T_e is a block of the scheme's own matrix. Every product of them
// therefore bounds the joint spectral radius from below:
// rho(T_e1 ... T_eL)^(1/L) <= lim ||S_c^L||_inf^(1/L).
// For the last difference scheme b_(s-1) of a mask with s sum rules this
// gives the upper bound (s - 1) - log_m(rho) of the Hoelder regularity.
class TransitionMatrices
{
public:
    // Longest words: binary 8, ternary 5, fewer where the products would
    // cost more than wordWork multiply-adds.
    static constexpr double wordWork = 2e7;

    // c: the coefficients (at least one); m: 2 or 3.
    TransitionMatrices(const std::vector<double> &c, int m);

    // D, the size of each matrix.
    std::size_t dimension() const { return size; }
    // T_e, row-major.
    const std::vector<double> &matrix(int e) const { return matrices[std::size_t(e)]; }
    // The longest words radiusEstimate() tries for this family.
    int wordCap() const;
    // The largest rho(T_w)^(1/|w|) over the words w of length 1 to
    // maxLength, one per class of rotations and powers (the Lyndon words:
    // rho(AB) = rho(BA) and rho(A^k)^(1/k) = rho(A)). Words whose spectral
    // radius cannot be computed are left out, which only lowers the
    // estimate. O(m^maxLength D^3).
    double radiusEstimate(int maxLength) const;

private:
    void visit(std::vector<int> &word, const std::vector<double> &product, int maxLength, double &best) const;

    int arity;
    std::size_t size;
    std::vector<std::vector<double>> matrices;
};
