#include "vectorMath.h"

#include "vectorKernels.h"

namespace vectormath {

namespace {

// Applies f to four lanes at a time; the last, partial group through a copy.
template <typename F>
KVBR_VECTOR_INLINE void lanes(const double* x, double* y, int n, F f) {
    int i = 0;
    for (; i + 4 <= n; i += 4) vk::store(y + i, f(vk::load(x + i)));
    if (i == n) return;
    double in[4] = {0.1, 0.1, 0.1, 0.1}, out[4];
    for (int k = 0; i + k < n; ++k) in[k] = x[i + k];
    vk::store(out, f(vk::load(in)));
    for (int k = 0; i + k < n; ++k) y[i + k] = out[k];
}

struct Atan {
    [[gnu::target("avx2,fma"), gnu::always_inline]] vk::V operator()(vk::V v) const {
        return vk::atan(v);
    }
};
struct Tanh {
    [[gnu::target("avx2,fma"), gnu::always_inline]] vk::V operator()(vk::V v) const {
        return vk::tanh(v);
    }
};
struct Valve {
    double l, h;
    [[gnu::target("avx2,fma"), gnu::always_inline]] vk::V operator()(vk::V v) const {
        return vk::valve(v, l, h);
    }
};

struct ValveIntegral {
    double l, h;
    [[gnu::target("avx2,fma"), gnu::always_inline]] vk::V operator()(vk::V v) const {
        return vk::valveIntegral(v, l, h);
    }
};

}  // namespace

KVBR_VECTOR void sinCos(const double* x, double* sine, double* cosine, int n) {
    for (int i = 0; i < n; i += 4) {
        double in[4] = {0.1, 0.1, 0.1, 0.1}, s[4], c[4];
        const int count = n - i < 4 ? n - i : 4;
        for (int k = 0; k < count; ++k) in[k] = x[i + k];
        vk::V vs, vc;
        vk::sinCos(vk::load(in), vs, vc);
        vk::store(s, vs);
        vk::store(c, vc);
        for (int k = 0; k < count; ++k) {
            sine[i + k] = s[k];
            cosine[i + k] = c[k];
        }
    }
}

KVBR_VECTOR void atan(const double* x, double* y, int n) { lanes(x, y, n, Atan{}); }
KVBR_VECTOR void tanh(const double* x, double* y, int n) { lanes(x, y, n, Tanh{}); }
KVBR_VECTOR void valve(const double* x, double* y, int n, double l, double h) {
    lanes(x, y, n, Valve{l, h});
}
KVBR_VECTOR void valveIntegral(const double* x, double* y, int n, double l, double h) {
    lanes(x, y, n, ValveIntegral{l, h});
}

KVBR_VECTOR double floorSum(const double* w, const double* x, const double* y, int n) {
    using namespace vk;
    V sum = set(0.0);
    for (int i = 0; i + 4 <= n; i += 4) {
        V s, c;
        vk::sinCos(load(w + i), s, c);
        const V xi = load(x + i), yi = load(y + i);
        sum = add(sum, add(s, c));
        sum = add(sum, _mm256_sqrt_pd(xi));
        sum = add(sum, vk::atan(mul(xi, set(1.2))));
        sum = add(sum, mul(set(4.0), vk::atan(mul(set(0.25), yi))));
        sum = add(sum, div(mul(set(4.0), vk::tanh(mul(set(-0.16), yi))), set(-0.64)));
    }
    double lanes[4];
    store(lanes, sum);
    return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

}  // namespace vectormath
