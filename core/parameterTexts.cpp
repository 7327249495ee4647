#include "parameterTexts.h"

#include <cmath>

namespace {

// Builds the text with eight characters in all (sign, digits and point counted),
// fraction digits taken from the low end of the scaled fraction.
std::string eightCharacterText(double v, bool negative) {
    std::string integerDigits;
    int used = (negative ? 1 : 0) + 1;  // sign and point
    double integ = std::floor(v);
    do {
        integerDigits.insert(integerDigits.begin(),
                             static_cast<char>('0' + static_cast<int>(std::fmod(integ, 10.0))));
        integ /= 10.0;
        ++used;
    } while (integ >= 1.0 && used < 8);
    std::string text = (negative ? "-" : "") + integerDigits + ".";
    if (used >= 8) return text;

    int fractionDigits = 8 - used;
    double mantissa = std::fmod(v, 1.0) * std::pow(10.0, fractionDigits);
    std::string fraction(static_cast<size_t>(fractionDigits), '0');
    for (int i = fractionDigits - 1; i >= 0; --i) {
        if (mantissa > 0.0) {
            fraction[static_cast<size_t>(i)] =
                static_cast<char>('0' + static_cast<int>(std::fmod(mantissa, 10.0)));
            mantissa /= 10.0;
        }
    }
    return text + fraction;
}

}  // namespace

std::string formatFixed2(float x) {
    double s = 100.0 * static_cast<double>(x);
    double f = s - std::trunc(s);
    double y = x;
    if (f >= 0.49999)
        y = (s + 1.0) * 0.01;
    else if (f <= -0.49999)
        y = (s - 1.0) * 0.01;

    bool negative = y < 0.0;
    if (negative) {
        y = -y;
        if (y > 9999999.0) return std::string();
    } else if (y > 99999999.0) {
        return std::string();
    }
    if (std::isnan(y)) return std::string();

    std::string text = eightCharacterText(y, negative);
    size_t point = text.find('.');
    if (point != std::string::npos && text.size() > point + 3) text.resize(point + 3);
    return text;
}
