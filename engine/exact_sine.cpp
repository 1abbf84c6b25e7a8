// Double-double sine: error-free transformations (Knuth's two-sum, Dekker's product with
// Veltkamp splitting), a reduction by quarter turns against a two-part pi/2, and the
// Taylor series of sine and cosine on the reduced argument (at most pi/4).
#include "engine/exact_sine.h"

namespace {

struct DoubleDouble {
  double hi;
  double lo;
};

// Splits a double into two halves of 26 significant bits each (2^27 + 1).
constexpr double kSplitter = 134217729.0;
// pi/2 as the sum of two doubles.
constexpr double kHalfPiHigh = 1.5707963267948966;
constexpr double kHalfPiLow = 6.123233995736766e-17;
// Enough series terms that the next one is below 2^-110 for |r| <= pi/4.
constexpr int kSeriesTerms = 16;

DoubleDouble twoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  const double err = (a - (s - bb)) + (b - bb);
  return {s, err};
}

DoubleDouble quickTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

void split(double a, double& high, double& low) {
  const double t = kSplitter * a;
  high = t - (t - a);
  low = a - high;
}

DoubleDouble twoProduct(double a, double b) {
  const double p = a * b;
  double ah, al, bh, bl;
  split(a, ah, al);
  split(b, bh, bl);
  const double err = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
  return {p, err};
}

DoubleDouble add(DoubleDouble a, DoubleDouble b) {
  DoubleDouble s = twoSum(a.hi, b.hi);
  DoubleDouble t = twoSum(a.lo, b.lo);
  s.lo += t.hi;
  s = quickTwoSum(s.hi, s.lo);
  s.lo += t.lo;
  return quickTwoSum(s.hi, s.lo);
}

DoubleDouble negate(DoubleDouble a) { return {-a.hi, -a.lo}; }

DoubleDouble multiply(DoubleDouble a, DoubleDouble b) {
  DoubleDouble p = twoProduct(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return quickTwoSum(p.hi, p.lo);
}

DoubleDouble divide(DoubleDouble a, double b) {
  const double q1 = a.hi / b;
  const DoubleDouble p = twoProduct(q1, b);
  DoubleDouble r = add(a, negate(p));
  const double q2 = r.hi / b;
  return quickTwoSum(q1, q2);
}

// sum of (-1)^k r^(2k+first) / (2k+first)!, for first = 1 (sine) or 0 (cosine).
DoubleDouble series(DoubleDouble r, int first) {
  const DoubleDouble r2 = multiply(r, r);
  DoubleDouble term = first == 1 ? r : DoubleDouble{1.0, 0.0};
  DoubleDouble sum = term;
  int n = first;
  for (int k = 1; k < kSeriesTerms; ++k) {
    term = multiply(term, r2);
    term = divide(term, static_cast<double>((n + 1) * (n + 2)));
    term = negate(term);
    n += 2;
    sum = add(sum, term);
  }
  return sum;
}

}  // namespace

double exactSine(double x) {
  // Nearest quarter turn: x = k * pi/2 + r with |r| <= pi/4 (plus rounding).
  int quarter = 0;
  while ((static_cast<double>(quarter) + 0.5) * kHalfPiHigh < x) ++quarter;
  const DoubleDouble k = {static_cast<double>(quarter), 0.0};
  const DoubleDouble turns = multiply(k, DoubleDouble{kHalfPiHigh, kHalfPiLow});
  const DoubleDouble r = add(DoubleDouble{x, 0.0}, negate(turns));
  DoubleDouble result;
  switch (quarter % 4) {
    case 0: result = series(r, 1); break;
    case 1: result = series(r, 0); break;
    case 2: result = negate(series(r, 1)); break;
    default: result = negate(series(r, 0)); break;
  }
  return result.hi + result.lo;
}
