#pragma once
// Two strings of a course in the bands around their partials: in each band a
// pair of fading tones, their frequencies a shared number of cents apart
// (their ratio is the same at every partial, stiff strings or not), each
// band's pair with its own centre and each tone with its own fading and
// amplitude. The fit is a least-squares one over every sample of the bands:
// the amplitudes are solved for exactly at each step and the rest (the spread,
// each band's centre, each tone's fading) refined by damped Gauss-Newton
// steps (Levenberg-Marquardt on the variable projection of Golub and
// Pereyra), starting from the best of a few spreads and the last fit.
//
// A pair resolves well below the width of the window: the fit follows the
// slow swell of the beat, so a beat a good part of whose period has been
// heard is enough when the sound stands well clear of the noise. The spread
// is fitted as its square: two tones in unison read the same either way
// round, and its square, unlike the spread, moves the fit at zero too, so
// that a pair in unison is measured as one.
//
// One thread at a time; nothing is allocated after construction.

#include <array>
#include <complex>
#include <cstddef>
#include <optional>
#include <span>

#include "guide/PartialBands.h"

namespace guide {

struct FadingTone {
    double hertz;      // where it sounds, after the band's shift is undone
    double amplitude;  // at the band's first sample
    double fading;     // per second: the amplitude falls as exp(-fading t)
};

struct BandPair {
    FadingTone lower;
    FadingTone upper;
    // The pair's frequency weighted by each tone's strength: always between
    // the two, and steady however the pair beats.
    double weightedHertz() const;
};

struct PairFit {
    double spreadSquared = 0.0;       // the cents between the tones, squared
    double spreadSquaredError = 0.0;  // its standard error
    std::array<BandPair, PartialBands::kMostBands> pairs{};
    size_t count = 0;

    double spread() const;
    // The spread's likely range: two standard errors either way.
    double leastSpread() const;
    double mostSpread() const;
};

class PairFitter {
public:
    // Spreads past this are no pair but two notes.
    static constexpr double kWidestSpreadCents = 50.0;

    // Band samples a fit needs at least: a quarter of a second.
    static constexpr size_t kFewestSamples = 27;

    // The fit of bands `which` of `bands`, starting, when `continuing`, from
    // this fitter's last fit (of the same bands a little earlier), and, at
    // first and every kFitsBetweenFreshStarts fits, from the best of a few
    // spreads too; none while the bands are too short.
    std::optional<PairFit> fit(const PartialBands& bands, std::span<const size_t> which, bool continuing);

private:
    static constexpr size_t kParameters = 1 + 3 * PartialBands::kMostBands;
    static constexpr size_t kLongestResidual = 2 * PartialBands::kMostBands * PartialBands::kKeptSamples;
    using Parameters = std::array<double, kParameters>;

    // The squared residual at `parameters`, written to `residual` when given;
    // each band's amplitudes too when `pairs` is given.
    double residualOf(const Parameters& parameters, double* residual, BandPair* pairs) const;
    // `total` plus the squared residual of band `j` (of which_) alone, whose
    // rows are written to `residual` and amplitudes to `pair` when given.
    double addBandResidual(const Parameters& parameters, size_t j, double total, double* residual,
                           BandPair* pair) const;
    // The best of the starting spreads, each with its first guess.
    Parameters freshStart() const;
    // The first guess at each band's centre and fading, whatever the spread
    // (left at zero).
    Parameters firstGuess() const;
    // Refines `parameters` in place and answers their squared residual.
    double refine(Parameters& parameters);
    // The columns of the residual's derivatives at `parameters`, whose residual
    // must already be in residualHere(). Each column is worked out only over
    // rowsOf() its parameter.
    void differentiate(const Parameters& parameters);
    // The rows of the residual that parameter `p` moves: every row for the
    // spread, its band's rows for a band's own parameter.
    struct Rows {
        size_t first;
        size_t end;
    };
    Rows rowsOf(size_t p) const;
    static size_t bandOf(size_t p) { return (p - 1) / 3; }
    // J^T J and J^T r of the derivatives last worked out.
    void normalEquations(std::array<double, kParameters * kParameters>& product,
                         std::array<double, kParameters>& gradient) const;
    double spreadSquaredError(const Parameters& parameters, double residual);
    size_t parameterCount() const { return 1 + 3 * which_.size(); }
    size_t bandLength() const { return bands_->band(0).size(); }
    size_t residualLength() const { return 2 * which_.size() * bandLength(); }
    // The fit's unknowns: its parameters and each band's two complex amplitudes.
    size_t unknowns() const { return parameterCount() + 4 * which_.size(); }

    const PartialBands* bands_ = nullptr;
    std::span<const size_t> which_;
    std::array<std::array<double, kLongestResidual>, kParameters> columns_{};
    // The residual where the fit stands and the one of the step being tried;
    // an accepted step's becomes the fit's by swapping their places, so that
    // it is not worked out again for the derivatives.
    std::array<std::array<double, kLongestResidual>, 2> residuals_{};
    size_t here_ = 0;  // which of residuals_ is where the fit stands
    double* residualHere() { return residuals_[here_].data(); }
    const double* residualHere() const { return residuals_[here_].data(); }
    double* residualTried() { return residuals_[1 - here_].data(); }
    Parameters last_{};
    size_t lastBands_ = 0;  // how many bands the last fit was of; 0 for none
    // Fits that follow the last one start afresh as well every so many.
    static constexpr int kFitsBetweenFreshStarts = 4;
    int fitsSinceFreshStart_ = 0;
};

}  // namespace guide
