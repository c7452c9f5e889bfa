#include "calendar/Longitudes.h"

#include <array>
#include <cmath>

// As in the rest of the engine, the constants, the order of operations and the divisions are part of the
// result and stay as they are.

namespace {

// Degrees to radians with pi to 15 significant digits, as the engine has always used it.
constexpr double K = 3.14159265358979 / 180;
static_assert(K == 0.017453292519943278);

// Int of the old language: the floor, also for negative numbers.
double Int(double x)
{
    return std::floor(x);
}

struct PeriodicTerm
{
    double c; // coefficient, degrees
    double a; // rate, degrees per Julian century
    double b; // phase, degrees
};

// NormAngle without the call, for the inner loop of the series.
inline double ReduceAngle(double angle)
{
    if (angle < 0) {
        double a1 = -angle;
        a1 = a1 - Int(a1 / 360) * 360;
        return 360 - a1;
    }
    return angle - Int(angle / 360) * 360;
}

// Sum of c * cos(a*t + b) in table order; the first term starts the sum. The arguments are reduced first and the
// cosines taken in a run of their own, which lets the processor overlap them; each value and the order of the
// additions are the same as term by term.
template <std::size_t N>
double PeriodicSum(const std::array<PeriodicTerm, N> &terms, double t)
{
    std::array<double, N> value;
    for (std::size_t i = 0; i < N; ++i)
        value[i] = K * ReduceAngle(terms[i].a * t + terms[i].b);
    for (std::size_t i = 0; i < N; ++i)
        value[i] = std::cos(value[i]);

    double sum = terms[0].c * value[0];
    for (std::size_t i = 1; i < N; ++i)
        sum = sum + terms[i].c * value[i];
    return sum;
}

constexpr std::array<PeriodicTerm, 14> kSunTerms{{
    {0.0004, 31557, 161},
    {0.0004, 29930, 48},
    {0.0005, 2281, 221},
    {0.0005, 155, 118},
    {0.0006, 33718, 316},
    {0.0007, 9038, 64},
    {0.0007, 3035, 110},
    {0.0007, 65929, 45},
    {0.0013, 22519, 352},
    {0.0015, 45038, 254},
    {0.0018, 445267, 208},
    {0.0018, 19, 159},
    {0.002, 32964, 158},
    {0.02, 71998.1, 265.1},
}};

constexpr std::array<PeriodicTerm, 61> kMoonTerms{{
    {0.0003, 2322131, 191},
    {0.0003, 4067, 70},
    {0.0003, 549197, 220},
    {0.0003, 1808933, 58},
    {0.0003, 349472, 337},
    {0.0003, 381404, 354},
    {0.0003, 958465, 340},
    {0.0004, 12006, 187},
    {0.0004, 39871, 223},
    {0.0005, 509131, 242},
    {0.0005, 1745069, 24},
    {0.0005, 1908795, 90},
    {0.0006, 2258267, 156},
    {0.0006, 111869, 38},
    {0.0007, 27864, 127},
    {0.0007, 485333, 186},
    {0.0007, 405201, 50},
    {0.0007, 790672, 114},
    {0.0008, 1403732, 98},
    {0.0009, 858602, 129},
    {0.0011, 1920802, 186},
    {0.0012, 1267871, 249},
    {0.0016, 1856938, 152},
    {0.0018, 401329, 274},
    {0.0021, 341337, 16},
    {0.0021, 71998, 85},
    {0.0021, 990397, 357},
    {0.0022, 818536, 151},
    {0.0023, 922466, 163},
    {0.0024, 99863, 122},
    {0.0026, 1379739, 17},
    {0.0027, 918399, 182},
    {0.0028, 1934, 145},
    {0.0037, 541062, 259},
    {0.0038, 1781068, 21},
    {0.004, 133, 29},
    {0.004, 1844932, 56},
    {0.004, 1331734, 283},
    {0.005, 481266, 205},
    {0.0052, 31932, 107},
    {0.0068, 926533, 323},
    {0.0079, 449334, 188},
    {0.0085, 826671, 111},
    {0.01, 1431597, 315},
    {0.0107, 1303870, 246},
    {0.011, 489205, 142},
    {0.0125, 1443603, 52},
    {0.0154, 75870, 41},
    {0.0304, 513197.9, 222.5},
    {0.0347, 445267.1, 27.9},
    {0.0409, 441199.8, 47.4},
    {0.0458, 854535.2, 148.2},
    {0.0533, 1367733.1, 280.7},
    {0.0571, 377336.3, 13.2},
    {0.0588, 63863.5, 124.2},
    {0.1144, 966404, 276.5},
    {0.1851, 35999.05, 87.53},
    {0.2136, 954397.74, 179.93},
    {0.6583, 890534.22, 145.7},
    {1.274, 413335.35, 10.74},
    {6.2888, 477198.868, 44.963},
}};

} // namespace

double NormAngle(double angle)
{
    return ReduceAngle(angle);
}

double SunLong(double t)
{
    double th = PeriodicSum(kSunTerms, t);

    double ang = NormAngle(35999.05 * t + 267.52);
    const double center = std::cos(K * ang); // used twice: the same argument gives the same value
    th = th - (0.0048 * t) * center;
    th = 1.9147 * center + th;

    ang = NormAngle(36000.7695 * t);
    ang = NormAngle(ang + 280.4659);
    return NormAngle(th + ang);
}

double MoonLong(double t)
{
    const double th = PeriodicSum(kMoonTerms, t);
    double ang = NormAngle(481267.8809 * t);
    ang = NormAngle(ang + 218.3162);
    return NormAngle(th + ang);
}
