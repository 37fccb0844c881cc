#include "work_budget.h"

#include <limits>

namespace {

thread_local double remaining = std::numeric_limits<double>::infinity();

}  // namespace

void ChargeWork(double units) {
  remaining -= units;
  if (remaining < 0) throw WorkExceeded();
}

WorkBudget::WorkBudget(double units) { remaining = units; }

WorkBudget::~WorkBudget() {
  remaining = std::numeric_limits<double>::infinity();
}
