#pragma once
// Complex products written out. std::complex's operator* follows C's rules
// for infinities: each product checks its result and takes a slow path when
// it is not a number. The guide's sums chain thousands of products of finite
// values, where these give the same bits without a branch in each.

#include <complex>

namespace guide {

inline std::complex<double> times(std::complex<double> a, std::complex<double> b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

// conj(a) * b.
inline std::complex<double> conjugateTimes(std::complex<double> a, std::complex<double> b) {
    return {a.real() * b.real() + a.imag() * b.imag(), a.real() * b.imag() - a.imag() * b.real()};
}

}  // namespace guide
