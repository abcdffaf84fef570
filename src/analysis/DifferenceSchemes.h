#pragma once

#include <cstddef>
#include <vector>

// The difference schemes of a mask a of arity m, for proofs of smoothness
// and bounds of regularity (the symbol calculus of Dyn and Levin). With
// s_m(z) = 1 + z + ... + z^(m-1):
// - the number of sum rules is the largest s with s_m(z)^s dividing the
//   symbol a(z) = sum a_i z^i;
// - for k < s, the scheme b_k = m^k a / s_m^(k+1) refines the differences
//   of the k-th divided differences, and the scheme a is C^k when b_k
//   contracts: ||S_(b_k)^L||_inf < 1 for some L.
// Coefficients are doubles. s_m(z)^s divides a(z) when the first s
// derivatives of a vanish at every primitive m-th root of unity w:
// |sum over k of C(k, j) a_k w^(k - j)| <= tolerance * sum over k of
// C(k, j) |a_k| for j < s, a test whose rounding does not grow with j
// (dividing step by step would amplify the rounding of the coefficients
// by up to C(n, j)).
class DifferenceSchemes
{
public:
    static constexpr double tolerance = 1e-12;
    // m^L stays at most this large in norms(): the symbol of L passes at
    // once has about m^L len(b) coefficients.
    static constexpr std::size_t widestPass = 4096;
    // And m^L len(b)^2, the work of the last of those products, at most
    // this: a few milliseconds.
    static constexpr double normWork = 4e6;
    // A norm below this proves a contraction: rounding in the coefficients
    // (thirds, tenths) cannot take a norm of exactly 1 below it.
    static constexpr double contractionBelow = 1.0 - 1e-10;

    // a: a_0 .. a_n (any values; an empty a has no sum rules); m: 2 or 3.
    DifferenceSchemes(const std::vector<double> &a, int m);

    // s, the number of sum rules; 0 when s_m does not divide a at all.
    int sumRules() const { return static_cast<int>(quotients.size()) - 1; }
    // b_k = m^k a / s_m^(k+1) for 0 <= k < sumRules().
    std::vector<double> scheme(int k) const;

    // The quotient a / s_m when s_m divides a (len(a) >= m), worked from
    // both ends towards the middle so that rounding gathers over half the
    // coefficients only.
    static std::vector<double> divide(const std::vector<double> &a, int m);
    // The largest L that norms() runs to for a scheme of `length`
    // coefficients: m^L <= widestPass and m^L length^2 <= normWork, at
    // least 1.
    static int stepCap(int m, std::size_t length);
    // ||S_b^L||_inf = max over r of sum over j of |b^[L]_(r + m^L j)| for
    // L = 1 .. cap, b^[L](z) = b(z) b(z^m) ... b(z^(m^(L-1))) (entry L - 1
    // for L). With untilContraction, stops after the first value below
    // contractionBelow.
    static std::vector<double> norms(const std::vector<double> &b, int m, int cap, bool untilContraction);

private:
    int arity;
    std::vector<std::vector<double>> quotients; // a / s_m^k for k = 0 .. s
};
