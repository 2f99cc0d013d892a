#include "guide/PairFit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "guide/PlainComplex.h"

namespace guide {
namespace {

// The spreads every fit starts from besides the last fit's, in cents: from
// well inside unison to a quarter tone, closer together where the beat is slow.
constexpr double kStartingSpreads[] = {0.2, 0.5, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0, 12.0, 20.0, 35.0};
constexpr int kMostSteps = 20;
constexpr double kFirstDamping = 1e-3;
constexpr double kDampingDown = 3.0;
constexpr double kDampingUp = 4.0;
constexpr double kMostDamping = 1e8;
// A step that gains less than this share of the noise's variance (the
// residual per row left free by the unknowns) ends the refinement: it moves
// the fit by a small part of what the sound can tell apart. On a real string
// the fit otherwise creeps on along a shallow valley, step after step, for
// gains that no reading shows.
constexpr double kSmallestGainOfNoise = 0.01;
// The steps of the derivatives: small against what the data can tell apart.
constexpr double kSpreadSquaredStep = 1e-4;  // cents squared, times the spread squared past one
constexpr double kHertzStep = 1e-5;
constexpr double kFadingStep = 1e-5;
// Keeps two tones in unison (the same column twice) solvable: their
// amplitudes then share the sound.
constexpr double kRidge = 1e-9;

double ratioOfCents(double cents) { return std::exp2(cents / 1200.0); }

struct BandLayout {
    size_t centre;
    size_t lowerFading;
    size_t upperFading;
};
BandLayout layoutOf(size_t j) { return {1 + 3 * j, 2 + 3 * j, 3 + 3 * j}; }

// Solves the `n` by `n` system `a` x = `b` in place (Gauss-Jordan, partial
// pivoting); false when it is singular.
template <size_t N>
bool solve(std::array<double, N * N>& a, std::span<double> b, size_t n) {
    for (size_t col = 0; col < n; ++col) {
        size_t pivot = col;
        for (size_t row = col + 1; row < n; ++row) {
            if (std::abs(a[row * n + col]) > std::abs(a[pivot * n + col])) pivot = row;
        }
        if (!(std::abs(a[pivot * n + col]) > 0.0)) return false;
        if (pivot != col) {
            for (size_t k = 0; k < n; ++k) std::swap(a[pivot * n + k], a[col * n + k]);
            std::swap(b[pivot], b[col]);
        }
        for (size_t row = 0; row < n; ++row) {
            if (row == col) continue;
            const double factor = a[row * n + col] / a[col * n + col];
            if (factor == 0.0) continue;
            for (size_t k = col; k < n; ++k) a[row * n + k] -= factor * a[col * n + k];
            b[row] -= factor * b[col];
        }
    }
    for (size_t row = 0; row < n; ++row) b[row] /= a[row * n + row];
    return true;
}

}  // namespace

double BandPair::weightedHertz() const {
    const double lowerWeight = lower.amplitude * lower.amplitude;
    const double upperWeight = upper.amplitude * upper.amplitude;
    const double total = lowerWeight + upperWeight;
    if (!(total > 0.0)) return 0.5 * (lower.hertz + upper.hertz);
    return (lowerWeight * lower.hertz + upperWeight * upper.hertz) / total;
}

double PairFit::spread() const { return std::sqrt(std::max(0.0, spreadSquared)); }
double PairFit::leastSpread() const { return std::sqrt(std::max(0.0, spreadSquared - 2.0 * spreadSquaredError)); }
double PairFit::mostSpread() const { return std::sqrt(std::max(0.0, spreadSquared) + 2.0 * spreadSquaredError); }

std::optional<PairFit> PairFitter::fit(const PartialBands& bands, std::span<const size_t> which, bool continuing) {
    if (which.empty() || bands.band(0).size() < kFewestSamples) return std::nullopt;
    bands_ = &bands;
    which_ = which.first(std::min(which.size(), PartialBands::kMostBands));

    // The last fit refined, and now and then (and at first) the best of the
    // starting spreads too: a fit that follows its last one can stay in a
    // hollow that a fresh start climbs out of.
    const bool follows = continuing && lastBands_ == which_.size();
    Parameters parameters = last_;
    double residual = std::numeric_limits<double>::infinity();
    if (follows) residual = refine(parameters);
    if (!follows || ++fitsSinceFreshStart_ == kFitsBetweenFreshStarts) {
        fitsSinceFreshStart_ = 0;
        Parameters fresh = freshStart();
        if (const double freshResidual = refine(fresh); freshResidual < residual) {
            parameters = fresh;
            residual = freshResidual;
        }
    }
    last_ = parameters;
    lastBands_ = which_.size();

    PairFit result;
    result.count = which_.size();
    residualOf(parameters, residualHere(), result.pairs.data());
    result.spreadSquared = parameters[0];
    result.spreadSquaredError = spreadSquaredError(parameters, residual);
    return result;
}

PairFitter::Parameters PairFitter::freshStart() const {
    Parameters best{};
    double bestResidual = std::numeric_limits<double>::infinity();
    Parameters start = firstGuess();
    for (const double spread : kStartingSpreads) {
        start[0] = spread * spread;
        if (const double residual = residualOf(start, nullptr, nullptr); residual < bestResidual) {
            best = start;
            bestResidual = residual;
        }
    }
    return best;
}

PairFitter::Parameters PairFitter::firstGuess() const {
    Parameters parameters{};
    const double rate = bands_->rate();
    for (size_t j = 0; j < which_.size(); ++j) {
        // The band's mean frequency, and how its energy falls.
        const auto band = bands_->band(which_[j]);
        double later = 0.0;
        double earlier = 0.0;
        for (size_t m = 1; m < band.size(); ++m) {
            later += std::norm(band[m]);
            earlier += std::norm(band[m - 1]);
        }
        const BandLayout at = layoutOf(j);
        parameters[at.centre] = bands_->meanHertz(which_[j]) - bands_->shift(which_[j]);
        const double fading = later > 0.0 && earlier > 0.0 ? -0.5 * std::log(later / earlier) * rate : 0.0;
        parameters[at.lowerFading] = fading;
        parameters[at.upperFading] = fading;
    }
    return parameters;
}

double PairFitter::residualOf(const Parameters& parameters, double* residual, BandPair* pairs) const {
    double total = 0.0;
    for (size_t j = 0; j < which_.size(); ++j) {
        total = addBandResidual(parameters, j, total, residual ? residual + 2 * j * bandLength() : nullptr,
                                pairs ? pairs + j : nullptr);
    }
    return total;
}

double PairFitter::addBandResidual(const Parameters& parameters, size_t j, double total, double* residual,
                                   BandPair* pair) const {
    const double spread = std::sqrt(std::max(0.0, parameters[0]));
    const double rate = bands_->rate();
    const auto band = bands_->band(which_[j]);
    const double shift = bands_->shift(which_[j]);
    const BandLayout at = layoutOf(j);
    const double centre = shift + parameters[at.centre];
    const double hertz[2] = {centre / ratioOfCents(spread / 2.0), centre * ratioOfCents(spread / 2.0)};
    const double fading[2] = {parameters[at.lowerFading], parameters[at.upperFading]};
    std::complex<double> steps[2];
    for (int k = 0; k < 2; ++k) {
        steps[k] = std::exp(std::complex<double>(-fading[k], 2.0 * std::numbers::pi * (hertz[k] - shift)) / rate);
    }
    // The normal equations of the two amplitudes.
    double g11 = 0.0;
    double g22 = 0.0;
    std::complex<double> g12;
    std::complex<double> b1;
    std::complex<double> b2;
    std::complex<double> e1(1.0, 0.0);
    std::complex<double> e2(1.0, 0.0);
    for (const std::complex<double>& z : band) {
        g11 += std::norm(e1);
        g22 += std::norm(e2);
        g12 += conjugateTimes(e1, e2);
        b1 += conjugateTimes(e1, z);
        b2 += conjugateTimes(e2, z);
        e1 = times(e1, steps[0]);
        e2 = times(e2, steps[1]);
    }
    const double ridge = kRidge * (g11 + g22);
    g11 += ridge;
    g22 += ridge;
    const double determinant = g11 * g22 - std::norm(g12);
    const std::complex<double> a1 = (g22 * b1 - g12 * b2) / determinant;
    const std::complex<double> a2 = (g11 * b2 - std::conj(g12) * b1) / determinant;
    if (pair) *pair = {{hertz[0], std::abs(a1), fading[0]}, {hertz[1], std::abs(a2), fading[1]}};
    e1 = e2 = 1.0;
    for (const std::complex<double>& z : band) {
        const std::complex<double> r = z - times(a1, e1) - times(a2, e2);
        total += std::norm(r);
        if (residual) {
            *residual++ = r.real();
            *residual++ = r.imag();
        }
        e1 = times(e1, steps[0]);
        e2 = times(e2, steps[1]);
    }
    return total;
}

void PairFitter::differentiate(const Parameters& parameters) {
    const size_t count = parameterCount();
    const double* at = residualHere();
    for (size_t p = 0; p < count; ++p) {
        Parameters moved = parameters;
        const double step = p == 0             ? kSpreadSquaredStep * std::max(1.0, parameters[0])
                            : (p - 1) % 3 == 0 ? kHertzStep
                                               : kFadingStep;
        moved[p] += step;
        // A band's own parameters move only its residual: the rest of the
        // column is zero, and neither worked out nor read.
        const Rows rows = rowsOf(p);
        if (p == 0) {
            residualOf(moved, columns_[p].data(), nullptr);
        } else {
            addBandResidual(moved, bandOf(p), 0.0, columns_[p].data() + rows.first, nullptr);
        }
        for (size_t i = rows.first; i < rows.end; ++i) columns_[p][i] = (columns_[p][i] - at[i]) / step;
    }
}

PairFitter::Rows PairFitter::rowsOf(size_t p) const {
    if (p == 0) return {0, residualLength()};
    const size_t first = 2 * bandOf(p) * bandLength();
    return {first, first + 2 * bandLength()};
}

void PairFitter::normalEquations(std::array<double, kParameters * kParameters>& product,
                                 std::array<double, kParameters>& gradient) const {
    const size_t count = parameterCount();
    const double* at = residualHere();
    // Four sums side by side, so that each addition waits only on the one
    // before it in its own sum and the products run on.
    const auto dot = [](const auto& a, const auto& b, Rows rows) {
        std::array<double, 4> sums{};
        size_t i = rows.first;
        for (; i + sums.size() <= rows.end; i += sums.size()) {
            for (size_t k = 0; k < sums.size(); ++k) sums[k] += a[i + k] * b[i + k];
        }
        double sum = (sums[0] + sums[1]) + (sums[2] + sums[3]);
        for (; i < rows.end; ++i) sum += a[i] * b[i];
        return sum;
    };
    for (size_t p = 0; p < count; ++p) {
        const Rows rows = rowsOf(p);
        for (size_t q = p; q < count; ++q) {
            // Two bands' own parameters share no row of the residual.
            const bool shareRows = p == 0 || bandOf(p) == bandOf(q);
            product[p * count + q] = product[q * count + p] =
                shareRows ? dot(columns_[p], columns_[q], rowsOf(q)) : 0.0;
        }
        gradient[p] = dot(columns_[p], at, rows);
    }
}

double PairFitter::refine(Parameters& parameters) {
    const size_t count = parameterCount();
    const double widest = kWidestSpreadCents * kWidestSpreadCents;
    // Bands of kFewestSamples already leave far more rows than unknowns.
    const auto freeRows = static_cast<double>(residualLength() - unknowns());
    double residual = residualOf(parameters, residualHere(), nullptr);
    double damping = kFirstDamping;
    std::array<double, kParameters * kParameters> product{};
    std::array<double, kParameters> gradient{};
    for (int step = 0; step < kMostSteps; ++step) {
        differentiate(parameters);
        normalEquations(product, gradient);
        bool improved = false;
        while (!improved && damping < kMostDamping) {
            auto damped = product;
            std::array<double, kParameters> change{};
            for (size_t p = 0; p < count; ++p) {
                damped[p * count + p] *= 1.0 + damping;
                change[p] = -gradient[p];
            }
            if (!solve<kParameters>(damped, std::span(change).first(count), count)) {
                damping *= kDampingUp;
                continue;
            }
            Parameters tried = parameters;
            for (size_t p = 0; p < count; ++p) tried[p] += change[p];
            tried[0] = std::clamp(tried[0], 0.0, widest);
            const double triedResidual = residualOf(tried, residualTried(), nullptr);
            if (triedResidual < residual) {
                const double gain = residual - triedResidual;
                here_ = 1 - here_;
                parameters = tried;
                residual = triedResidual;
                damping /= kDampingDown;
                improved = true;
                if (gain < kSmallestGainOfNoise * residual / freeRows) return residual;
            } else {
                damping *= kDampingUp;
            }
        }
        if (!improved) break;
    }
    return residual;
}

double PairFitter::spreadSquaredError(const Parameters& parameters, double residual) {
    const size_t count = parameterCount();
    const size_t length = residualLength();
    if (length <= unknowns()) return std::numeric_limits<double>::infinity();
    differentiate(parameters);
    std::array<double, kParameters * kParameters> product{};
    std::array<double, kParameters> gradient{};
    normalEquations(product, gradient);
    // The spread's row of the inverse.
    std::array<double, kParameters> unit{};
    unit[0] = 1.0;
    if (!solve<kParameters>(product, std::span(unit).first(count), count) || !(unit[0] > 0.0)) {
        return std::numeric_limits<double>::infinity();
    }
    const double variance = residual / static_cast<double>(length - unknowns());
    return std::sqrt(variance * unit[0]);
}

}  // namespace guide
