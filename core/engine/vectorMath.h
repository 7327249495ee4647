// The vector path's kernels over arrays, for the tests that bound their error
// and for the benchmark's vector floor. Call only where
// vectorEngineSupported() (enginePath.h) says yes; n is any count.
#pragma once

namespace vectormath {

void sinCos(const double* x, double* sine, double* cosine, int n);
void atan(const double* x, double* y, int n);
void tanh(const double* x, double* y, int n);
// The valve's curve with scale l and slope h, as valveCurve() of gainCurves.h.
void valve(const double* x, double* y, int n, double l, double h);
// Its antiderivative, as valveIntegral() of gainCurves.h.
void valveIntegral(const double* x, double* y, int n, double l, double h);

// The benchmark's vector floor: per frame one sine and one cosine of w, one
// square root and one arc tangent of 1.2 x (the gain curve), the valve's arc
// tangent and hyperbolic tangent of y, four frames at a time; answers their
// sum, so that nothing is left out.
double floorSum(const double* w, const double* x, const double* y, int n);

}  // namespace vectormath
