// The vector path's own kernels against the C library and against a long
// double reference, over the whole range of arguments the engine can give
// them: their error bounds, measured here, are what the vector path's accuracy
// rests on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "core/engine/enginePath.h"
#include "core/engine/gainCurves.h"
#include "core/engine/vectorMath.h"

namespace {

// Doubles mapped onto integers in order, so that neighbours differ by one.
std::int64_t ordered(double x) {
    std::int64_t i;
    std::memcpy(&i, &x, sizeof(i));
    return i < 0 ? std::numeric_limits<std::int64_t>::min() - i : i;
}

// Units in the last place between two doubles (0 for two NaNs).
std::int64_t ulps(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : INT64_MAX;
    const std::int64_t d = ordered(a) - ordered(b);
    return d < 0 ? -d : d;
}

struct Errors {
    std::int64_t worst = 0;  // in units in the last place
    double worstAt = 0.0;
    long differ = 0;  // results not identical
    long count = 0;
    double share() const { return count ? static_cast<double>(differ) / count : 0.0; }
};

Errors compare(const std::vector<double>& x, const std::vector<double>& got,
               const std::function<double(double)>& reference) {
    Errors e;
    for (size_t i = 0; i < x.size(); ++i) {
        const std::int64_t u = ulps(got[i], reference(x[i]));
        ++e.count;
        if (u) ++e.differ;
        if (u > e.worst) {
            e.worst = u;
            e.worstAt = x[i];
        }
    }
    return e;
}

void report(const char* what, const Errors& reference, const Errors& library) {
    std::printf(
        "%-44s %lld ulp from long double (at %.6g), %lld ulp from the C library, "
        "%.4f%% differ from the C library\n",
        what, static_cast<long long>(reference.worst), reference.worstAt,
        static_cast<long long>(library.worst), 100.0 * library.share());
}

// Log-uniform magnitudes between lo and hi, both signs if asked, plus linear
// samples over [lo, hi] and the range's ends.
std::vector<double> arguments(double lo, double hi, int count, bool bothSigns, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> x;
    for (int i = 0; i < count; ++i) {
        double v = lo > 0.0 ? lo * std::pow(hi / lo, unit(random)) : lo + (hi - lo) * unit(random);
        if (i % 2) v = lo + (hi - lo) * unit(random);
        if (bothSigns && random() % 2) v = -v;
        x.push_back(v);
    }
    x.push_back(lo);
    x.push_back(hi);
    x.push_back(std::nextafter(hi, 0.0));
    return x;
}

struct VectorKernels : ::testing::Test {
    void SetUp() override {
        if (!vectorEngineSupported()) GTEST_SKIP() << "this processor has no AVX2 and FMA";
    }
};

double viaLongDouble(long double (*f)(long double), double x) {
    return static_cast<double>(f(static_cast<long double>(x)));
}

}  // namespace

// The cell's angle: 2 pi fc / rate with fc clamped to [0.001 Hz, 0.499 rate]
// for rates from 20 to 200 kHz, that is 3.1e-8 to 3.136 radians. The cut-off
// formula itself keeps fc between 0.14 and 574 Hz (4.4e-6 to 0.18 radians).
TEST_F(VectorKernels, SineAndCosineOfTheCellsAngle) {
    const double lowest = 6.283185307179586 * 0.001 / 200000.0, highest = 0.499 * 6.283185307179586;
    for (const auto& [lo, hi, name] :
         {std::tuple{lowest, highest, "over the clamp's whole range"},
          std::tuple{6.283185307179586 * 0.14 / 200000.0, 6.283185307179586 * 574.0 / 20000.0,
                     "over the cut-offs the cell reaches"}}) {
        const std::vector<double> x = arguments(lo, hi, 400000, false, 1);
        std::vector<double> s(x.size()), c(x.size());
        vectormath::sinCos(x.data(), s.data(), c.data(), static_cast<int>(x.size()));
        const Errors sRef = compare(x, s, [](double v) { return viaLongDouble(std::sin, v); });
        const Errors sLib = compare(x, s, [](double v) { return std::sin(v); });
        const Errors cRef = compare(x, c, [](double v) { return viaLongDouble(std::cos, v); });
        const Errors cLib = compare(x, c, [](double v) { return std::cos(v); });
        report((std::string("sin ") + name).c_str(), sRef, sLib);
        report((std::string("cos ") + name).c_str(), cRef, cLib);
        EXPECT_LE(sRef.worst, 1);
        EXPECT_LE(cRef.worst, 1);
        EXPECT_LE(sLib.worst, 2);
        EXPECT_LE(cLib.worst, 2);
    }
    // Where the cell lives, 1 - cos x is what counts: the cosine must be the
    // C library's but for the rarest few.
    const std::vector<double> reach = arguments(
        6.283185307179586 * 0.14 / 200000.0, 6.283185307179586 * 574.0 / 20000.0, 400000, false, 2);
    std::vector<double> s(reach.size()), c(reach.size());
    vectormath::sinCos(reach.data(), s.data(), c.data(), static_cast<int>(reach.size()));
    EXPECT_LT(compare(reach, c, [](double v) { return std::cos(v); }).share(), 1e-3);

    // Outside [0, pi/4] (never at the engine's cut-offs) the C library answers.
    const double odd[] = {
        0.0, 1.0, 2.5, highest, 4.0, -0.5, std::numeric_limits<double>::quiet_NaN()};
    double os[7], oc[7];
    vectormath::sinCos(odd, os, oc, 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ulps(os[i], std::sin(odd[i])), 0) << odd[i];
        EXPECT_EQ(ulps(oc[i], std::cos(odd[i])), 0) << odd[i];
    }
}

// The gain curves' arc tangent takes 1.2 sqrt(level) and their hyperbolic
// tangent sqrt(level); the valve's take h y and -0.64 h y for any y the driven
// signal can reach: every double, and NaN stays NaN.
TEST_F(VectorKernels, ArcTangentAndHyperbolicTangentOfAnyDouble) {
    using Kernel = void (*)(const double*, double*, int);
    using Libm = double (*)(double);
    using LongLibm = long double (*)(long double);
    auto check = [&](const char* what, Kernel kernel, Libm libm, LongLibm exact, double nearTop,
                     unsigned seed,
                     std::initializer_list<double> special, int refBound, int libBound) {
        std::vector<double> x = arguments(1e-300, 1e300, 300000, true, seed);
        const std::vector<double> near = arguments(0.0, nearTop, 300000, true, seed + 1);
        x.insert(x.end(), near.begin(), near.end());
        x.insert(x.end(), {0.0, -0.0, DBL_MIN, DBL_TRUE_MIN, DBL_MAX, -DBL_MAX, INFINITY, -INFINITY});
        x.insert(x.end(), special);
        std::vector<double> y(x.size());
        kernel(x.data(), y.data(), static_cast<int>(x.size()));
        const Errors ref = compare(x, y, [&](double v) { return viaLongDouble(exact, v); });
        const Errors lib = compare(x, y, libm);
        report(what, ref, lib);
        EXPECT_LE(ref.worst, refBound) << what;
        EXPECT_LE(lib.worst, libBound) << what;
        double nan = std::numeric_limits<double>::quiet_NaN(), out = 0.0;
        kernel(&nan, &out, 1);
        EXPECT_TRUE(std::isnan(out)) << what;
    };
    check("atan of any double", vectormath::atan, [](double v) { return std::atan(v); },
          [](long double v) { return std::atan(v); }, 8.0, 3,
          {0.41421356237309503, 2.414213562373095, 1.0}, 2, 3);
    check("tanh of any double", vectormath::tanh, [](double v) { return std::tanh(v); },
          [](long double v) { return std::tanh(v); }, 25.0, 5,
          {0.625, 19.06, 22.0, 44.0}, 3, 4);
}

// The valve as a whole, both halves, against valveCurve() with the C library.
TEST_F(VectorKernels, ValveCurveForEveryRatio) {
    std::vector<double> x = arguments(1e-300, 1e300, 100000, true, 7);
    const std::vector<double> near = arguments(-60.0, 60.0, 200000, false, 8);
    x.insert(x.end(), near.begin(), near.end());
    // Sorted, most groups of four are on one side of zero (as audio is), and
    // the kernel takes its one-sided shortcuts.
    std::vector<double> sorted = x;
    std::sort(sorted.begin(), sorted.end());
    x.insert(x.end(), sorted.begin(), sorted.end());
    for (int step = 0; step < 7; ++step) {
        const ValveConstants v = valveConstants(step);
        std::vector<double> y(x.size());
        vectormath::valve(x.data(), y.data(), static_cast<int>(x.size()), v.l, v.h);
        const Errors lib = compare(x, y, [&](double u) { return valveCurve(u, v); });
        const Errors ref = compare(x, y, [&](double u) {
            const long double l = v.l, h = v.h, w = u;
            return static_cast<double>(w >= 0 ? l * std::atan(h * w)
                                              : l * std::tanh(-0.64L * h * w) / -0.64L);
        });
        report(("valve curve, ratio step " + std::to_string(step)).c_str(), ref, lib);
        EXPECT_LE(ref.worst, 6) << step;
        EXPECT_LE(lib.worst, 8) << step;
    }
}

// The antiderivative the oversampled valve takes differences of: what
// matters is its absolute error, which a difference divides by the step
// between two samples (at least 1e-5). Over the valve's whole working range
// both the kernel and the scalar formula stay within a few units in the last
// place of the larger of the value and 1, against a long double reference
// (ln cosh near zero once lost 850 units to cancellation).
TEST_F(VectorKernels, ValveAntiderivativeForEveryRatio) {
    std::vector<double> x = arguments(-200.0, 200.0, 200000, false, 9);
    const std::vector<double> small = arguments(1e-12, 200.0, 100000, true, 10);
    x.insert(x.end(), small.begin(), small.end());
    for (int step = 0; step < 7; ++step) {
        const ValveConstants v = valveConstants(step);
        std::vector<double> y(x.size());
        vectormath::valveIntegral(x.data(), y.data(), static_cast<int>(x.size()), v.l, v.h);
        double worst = 0.0, worstLibrary = 0.0;
        for (size_t i = 0; i < x.size(); ++i) {
            const long double l = v.l, h = v.h, u = x[i];
            const long double exact =
                u >= 0 ? l * (u * std::atan(h * u) - std::log1p(h * h * u * u) / (2 * h))
                       : l * std::log(std::cosh(0.64L * h * u)) / (0.4096L * h);
            const double unit = std::max(1.0, std::fabs(static_cast<double>(exact))) * DBL_EPSILON;
            worst = std::max(worst, static_cast<double>(std::fabs(y[i] - exact)) / unit);
            worstLibrary = std::max(
                worstLibrary, static_cast<double>(std::fabs(valveIntegral(x[i], v) - exact)) / unit);
        }
        std::printf("valve antiderivative, ratio step %d: kernel %.1f, library %.1f units\n", step, worst,
                    worstLibrary);
        EXPECT_LE(worst, 6.0) << step;
        EXPECT_LE(worstLibrary, 6.0) << step;
    }
}

// Any count works, the last partial group of four included.
TEST_F(VectorKernels, AnyCount) {
    std::vector<double> x(13), y(13, -1.0), c(13, -1.0);
    for (int i = 0; i < 13; ++i) x[i] = 0.01 * (i + 1);
    for (int n = 0; n <= 13; ++n) {
        std::vector<double> out(n + 1, 7.0), cout(n + 1, 7.0);
        vectormath::atan(x.data(), out.data(), n);
        vectormath::sinCos(x.data(), out.data(), cout.data(), n);
        EXPECT_EQ(out[n], 7.0) << "nothing written past the end, n = " << n;
        EXPECT_EQ(cout[n], 7.0) << n;
    }
}
