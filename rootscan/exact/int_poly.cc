#include "int_poly.h"

#include <algorithm>
#include <utility>

#include "work_budget.h"

void TrimPoly(IntPoly* p) {
  while (!p->empty() && p->back().IsZero()) p->pop_back();
}

IntPoly ClearDenominators(const std::vector<Fraction>& coefficients) {
  // Charged as it goes (the gcds charge themselves): distinct long
  // denominators make a multiple as long as all of them together.
  auto limbs = [](const BigInt& v) {
    return static_cast<double>(v.limbs().size()) + 1;
  };
  BigInt multiple(1);
  for (const Fraction& c : coefficients) {
    if (c.num.IsZero()) continue;
    const BigInt common = Gcd(multiple, c.den);
    ChargeWork(limbs(multiple) * (limbs(common) + limbs(c.den)));
    multiple = DivideExact(multiple, common) * c.den;
  }
  IntPoly p;
  for (auto c = coefficients.rbegin(); c != coefficients.rend(); ++c) {
    ChargeWork(limbs(multiple) * (limbs(c->den) + limbs(c->num)));
    p.push_back(c->num * DivideExact(multiple, c->den));
  }
  TrimPoly(&p);
  return p;
}

IntPoly Derivative(const IntPoly& p) {
  IntPoly d;
  for (std::size_t i = 1; i < p.size(); ++i)
    d.push_back(p[i] * BigInt(static_cast<long long>(i)));
  TrimPoly(&d);
  return d;
}

IntPoly PrimitivePart(const IntPoly& p) {
  // From the shortest coefficient on, so that the content is short from the
  // start and each step takes a long coefficient down to it at once.
  const auto shortest = std::min_element(
      p.begin(), p.end(), [](const BigInt& a, const BigInt& b) {
        return !a.IsZero() &&
               (b.IsZero() || a.limbs().size() < b.limbs().size());
      });
  BigInt content = shortest == p.end() ? BigInt() : *shortest;
  const BigInt one(1);
  for (const BigInt& c : p) {
    if (content == one) break;
    content = Gcd(content, c);
  }
  IntPoly q = p;
  if (!q.empty() && content != one) {
    for (BigInt& c : q) {
      ChargeWork(static_cast<double>(c.limbs().size()) *
                 (content.limbs().size() + 1));
      c = DivideExact(c, content);
    }
  }
  if (!q.empty() && q.back().Sign() < 0) {
    for (BigInt& c : q) c.Negate();
  }
  return q;
}

IntPoly DivideExact(const IntPoly& a, const IntPoly& b) {
  const int db = Degree(b);
  const int dq = Degree(a) - db;
  if (dq < 0) return IntPoly();
  IntPoly rest = a, q(dq + 1);
  for (int i = dq; i >= 0; --i) {
    ChargeWork(static_cast<double>(b.size()) *
               (rest[i + db].limbs().size() + 1));
    BigInt c = DivideExact(rest[i + db], b.back());
    for (int j = 0; j <= db; ++j) rest[i + j] -= c * b[j];
    q[i] = std::move(c);
  }
  TrimPoly(&q);
  return q;
}
