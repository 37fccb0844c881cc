#include "isolation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "approx_poly.h"
#include "sign_evaluator.h"
#include "wide_poly.h"

namespace {

// k with every root of p (p(0) not 0) below 2^k in magnitude, from
// Fujiwara's bound: |root| <= 2 max |p_(n-i) / p_n|^(1/i) over i = 1..n.
// With bit lengths L, |p_(n-i) / p_n| < 2^(L_(n-i) - L_n + 1).
long RootBoundExponent(const IntPoly& p) {
  const int n = Degree(p);
  const long lead = static_cast<long>(p[n].BitLength());
  long most = std::numeric_limits<long>::min();
  for (int i = 1; i <= n; ++i) {
    if (p[n - i].IsZero()) continue;
    const long numerator = static_cast<long>(p[n - i].BitLength()) - lead + 1;
    // Rounded up, for numerators below 0 too.
    const long up =
        numerator >= 0 ? (numerator + i - 1) / i : -(-numerator / i);
    most = std::max(most, up);
  }
  return most + 1;
}

}  // namespace

namespace {

// Bisection below this many binades from the lowest bound on the roots to
// the highest: each halving of an interval close to 0 only moves it one
// binade closer. Wider spans are first split by binades.
constexpr long kBisectionSpan = 32;

// Which part of the real line a polynomial in y on (0, 1) stands for:
// x = side * (a + w * y), with a = a_m * 2^g and w = w_m * 2^g.
struct Mapping {
  int side;
  BigInt a_m, w_m;
  long g;

  // x at y = c / 2^d.
  Dyadic At(const BigInt& c, long d) const {
    Dyadic x{w_m * c, g - d};
    if (!a_m.IsZero()) x.m += a_m << static_cast<std::size_t>(d);
    if (side < 0) x.m.Negate();
    return x;
  }

  // The one root in y's interval (c / 2^d, (c + 1) / 2^d), as an interval
  // of x, lower end first.
  Isolated Interval(const BigInt& c, long d) const {
    Dyadic lo = At(c, d), hi = At(c + BigInt(1), d);
    if (side < 0) std::swap(lo, hi);
    return {std::move(lo), std::move(hi), false};
  }
};

// An interval (c / 2^d, (c + 1) / 2^d) of y and its polynomial.
struct Node {
  ApproxPoly q;
  BigInt c;
  long d;
};

// Splits *node approximately into its halves, pushed on *pending, when the
// sign at its midpoint is known: from the approximation, or from p's exact
// sign when the midpoint is a root (then added to *found). False when it
// is not a root and the approximation cannot tell its sign.
bool SplitApproximately(Node* node, const Mapping& map,
                        const SignEvaluator& eval, std::vector<Isolated>* found,
                        std::vector<Node>* pending) {
  const BigInt c = node->c << 1, c_right = c + BigInt(1);
  ApproxPoly left = std::move(node->q);
  left.HalveVariable();
  ApproxPoly right = left;  // keeps q(1) = 0 if known
  right.TaylorShift();
  left.set_root_at_one(false);
  const int middle = right.Sign(0);
  if (middle != 1 && middle != -1) {
    const Dyadic root = map.At(c_right, node->d + 1);
    if (eval.At(root) != 0) return false;
    found->push_back({root, root, true});
    right.SetRootAtZero();
    left.set_root_at_one(true);
  }
  pending->push_back({std::move(right), c_right, node->d + 1});
  pending->push_back({std::move(left), c, node->d + 1});
  return true;
}

// Adds to *found the roots of q in (0, 1), where q has no repeated root and
// q(0) != 0, as points of x; approx is q held approximately, exact() makes
// it exactly, and eval gives p's signs.
//
// Descartes' rule of signs with bisection. The sign changes of
// (1 + t)^n q(1 / (1 + t)), whose positive roots are those of q in (0, 1),
// bound their number from above and match it in parity: none or one settles
// the interval; more split it into its halves, whose polynomials
// 2^n q(y / 2) and 2^n q((y + 1) / 2) again have (0, 1) for the half.
// Without repeated roots the splitting ends. A root at a midpoint is found
// as it is, and the halves' tests do not count it.
//
// Each node holds its polynomial approximately, and the signs are taken
// from it when its error bounds allow. When they do not, the node's
// polynomial is made again exactly from q, and its halves go on
// approximately from there.
template <typename MakeExact>
void Bisect(const MakeExact& exact, ApproxPoly approx, const Mapping& map,
            const SignEvaluator& eval, std::vector<Isolated>* found) {
  const int n = approx.degree();
  // A split halves the variable (n bits more) and shifts one half (n + 1).
  const std::size_t growth = 2 * static_cast<std::size_t>(n) + 1;
  const BigInt one(1);
  std::optional<WidePoly> q;
  std::vector<Node> pending;
  pending.push_back({std::move(approx), BigInt(), 0});
  while (!pending.empty()) {
    Node node = std::move(pending.back());
    pending.pop_back();
    const BigInt c = node.c << 1;
    const bool root_at_one = node.q.root_at_one();
    int count = node.q.Variations();
    if (count == 1) found->push_back(map.Interval(node.c, node.d));
    if (count == 0 || count == 1) continue;
    if (count >= 2 && SplitApproximately(&node, map, eval, found, &pending))
      continue;
    if (!q) q = exact();
    WidePoly zoomed = q->Zoom(node.c, node.d);
    zoomed.MakeRoom(growth);
    count = zoomed.Reversed().ShiftedVariations();
    if (count == 1) found->push_back(map.Interval(node.c, node.d));
    if (count < 2) continue;
    WidePoly left = std::move(zoomed);
    left.HalveVariable();
    left.RemoveCommonTwos();
    WidePoly right = left;
    right.TaylorShift();
    const bool middle_root = right.Sign(0) == 0;
    if (middle_root) {
      const Dyadic root = map.At(c + one, node.d + 1);
      found->push_back({root, root, true});
    }
    pending.push_back({ApproxPoly(right), c + one, node.d + 1});
    pending.back().q.set_root_at_one(root_at_one);
    pending.push_back({ApproxPoly(left), c, node.d + 1});
    pending.back().q.set_root_at_one(middle_root);
  }
}

// b(2^e x) times 2^(-e n) when e < 0, so that it stays integral.
IntPoly ScaleByPowerOfTwo(IntPoly b, long e) {
  const long n = Degree(b);
  const std::uint64_t step = static_cast<std::uint64_t>(e >= 0 ? e : -e);
  for (long i = 0; i <= n; ++i)
    b[i] <<= CheckedSize(step, static_cast<std::uint64_t>(e >= 0 ? i : n - i));
  return b;
}

// p(side * x): the polynomial whose roots above 0 are p's on that side.
IntPoly Mirrored(const IntPoly& p, int side) {
  IntPoly b = p;
  if (side < 0) {
    for (std::size_t i = 1; i < b.size(); i += 2) b[i].Negate();
  }
  return b;
}

// Whether b's coefficients change sign, zeros skipped: without a change, b
// has no root above 0 (the rule of signs on (0, inf)).
bool ChangesSign(const IntPoly& b) {
  for (int i = 1, last = b[0].Sign(); i <= Degree(b); ++i) {
    if (b[i].IsZero()) continue;
    if (b[i].Sign() != last) return true;
    last = b[i].Sign();
  }
  return false;
}

// The root of p (degree 1), -p_0 / p_1, into *root when it is a binary
// fraction (as those of x - 1 and 2x + 3 are): then no bisection, and
// nothing to narrow later.
bool BinaryFractionRoot(const IntPoly& p, Dyadic* root) {
  const std::size_t twos = p[1].TrailingZeros();
  BigInt odd = p[1];
  odd >>= twos;
  BigInt m = DivideExact(p[0], odd);
  if (m * odd != p[0]) return false;
  m.Negate();
  *root = {std::move(m), -static_cast<long>(twos)};
  return true;
}

// q(y) = b(2^a + (2^c - 2^a) y) = b(2^a (1 + (2^(c - a) - 1) y)) exactly:
// the polynomial whose (0, 1) stands for b's (2^a, 2^c).
WidePoly SpanExactly(const IntPoly& b, long a, long c) {
  const int n = Degree(b);
  WidePoly q(ScaleByPowerOfTwo(b, a));
  q.MakeRoom(static_cast<std::size_t>(n) + 1);
  q.TaylorShift();
  q.MakeRoom(CheckedSize(static_cast<std::uint64_t>(n),
                         static_cast<std::uint64_t>(c - a)));
  q.ScaleVariable(static_cast<std::size_t>(c - a));
  q.RemoveCommonTwos();
  return q;
}

// The same q approximately, from b in the flat layout.
ApproxPoly SpanApproximately(const WidePoly& whole, long a, long c) {
  ApproxPoly approx(whole);
  approx.ScaleVariable(a);
  approx.TaylorShift();
  approx.MultiplyVariable(c - a);
  return approx;
}

// The sign changes of (1 + y)^n q(1 / (1 + y)) for q on the span (a, c) of
// b, counted as far as 2: from approx when its signs are certain, else
// exactly.
int SpanVariations(const IntPoly& b, const ApproxPoly& approx, long a, long c) {
  const int count = approx.Variations();
  if (count >= 0) return count;
  WidePoly q = SpanExactly(b, a, c);
  q.MakeRoom(static_cast<std::size_t>(Degree(b)) + 1);
  return q.Reversed().ShiftedVariations();
}

// The roots of b above 0, which lie between 2^low and 2^high, into *found:
// (2^a, 2^c) becomes (2^a, 2^m) and (2^m, 2^c) for m halfway, as long as
// the rule of signs finds two roots or more in it, until the span is short
// enough for Bisect. So roots of very different sizes cost a few steps
// instead of one bisection per binade between them.
void IsolateBySpans(const IntPoly& b, int side, long low, long high,
                    const SignEvaluator& eval, std::vector<Isolated>* found) {
  const WidePoly whole(b);
  std::vector<std::pair<long, long>> spans = {{low, high}};
  while (!spans.empty()) {
    const auto [a, c] = spans.back();
    spans.pop_back();
    BigInt width = BigInt(1) << static_cast<std::size_t>(c - a);
    width -= BigInt(1);
    const Mapping map{side, BigInt(1), width, a};
    const ApproxPoly approx = SpanApproximately(whole, a, c);
    if (c - a <= kBisectionSpan) {
      Bisect([&b, a = a, c = c] { return SpanExactly(b, a, c); }, approx, map,
             eval, found);
      continue;
    }
    const int count = SpanVariations(b, approx, a, c);
    if (count == 1) found->push_back(map.Interval(BigInt(), 0));
    if (count < 2) continue;
    const long m = a + (c - a) / 2;
    Dyadic root{BigInt(side), m};
    if (eval.At(root) == 0) found->push_back({root, root, true});
    spans.push_back({m, c});
    spans.push_back({a, m});
  }
}

}  // namespace

std::vector<Isolated> IsolateRoots(const IntPoly& p, int side) {
  // The roots wanted are those of b(x) = p(side * x) above 0, which lie
  // between 2^low and 2^high. Over a few binades, Bisect takes them on
  // (0, 2^high) at once; over more, IsolateBySpans halves the binades
  // first.
  const IntPoly b = Mirrored(p, side);
  std::vector<Isolated> found;
  if (!ChangesSign(b)) return found;
  Dyadic root;
  if (Degree(b) == 1 && BinaryFractionRoot(p, &root)) {
    found.push_back({root, root, true});
    return found;
  }
  const SignEvaluator eval(p);
  const long high = RootBoundExponent(b);
  // The roots of x^n b(1 / x) are the reciprocals.
  const long low = -RootBoundExponent(IntPoly(b.rbegin(), b.rend()));
  if (high - low <= kBisectionSpan) {
    WidePoly q(ScaleByPowerOfTwo(b, high));
    q.RemoveCommonTwos();
    const ApproxPoly approx(q);
    Bisect([&q] { return q; }, approx, {side, BigInt(), BigInt(1), high}, eval,
           &found);
    return found;
  }
  IsolateBySpans(b, side, low, high, eval, &found);
  return found;
}
