#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// The spectral radius (largest modulus of an eigenvalue) of a real square
// matrix, from all its eigenvalues: balancing, reduction to Hessenberg
// form by stabilised elimination and the Francis double-shift QR
// iteration, as in EISPACK's balanc, elmhes and hqr. Accurate to a few
// units in the last place of the matrix's norm for a well-conditioned
// eigenvalue; a defective one (a Jordan block of size k) to about
// eps^(1/k) relative. Cost O(n^3), memory one copy of the matrix.
class LargestEigenvalue
{
public:
    // The matrix is n x n, row-major (entry (i, j) at i * n + j), every
    // entry finite. Empty when the QR iteration does not settle within
    // its iteration limit (60 sweeps per eigenvalue) or the matrix holds
    // a non-finite entry; 0 for n = 0.
    static std::optional<double> of(std::vector<double> matrix, std::size_t n);
};
