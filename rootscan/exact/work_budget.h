#ifndef ROOTSCAN_EXACT_WORK_BUDGET_H_
#define ROOTSCAN_EXACT_WORK_BUDGET_H_

// A bound on the work of one computation, so that a caller can refuse a
// polynomial whose roots would take too long to find (or too much memory:
// every limb allocated is charged as it is filled). The costly loops charge
// what they are about to do, in limb or long double operations; past the
// allowance, the charge throws WorkExceeded, which the caller catches.

/// Thrown by ChargeWork past the allowance.
struct WorkExceeded {};

/// Charges `units` operations to the allowance of the calling thread, if it
/// has one, and throws WorkExceeded when they exceed it.
void ChargeWork(double units);

/// An allowance of `units` operations for the calling thread while it
/// lives (none before it, and none again after).
class WorkBudget {
 public:
  explicit WorkBudget(double units);
  ~WorkBudget();
  WorkBudget(const WorkBudget&) = delete;
  WorkBudget& operator=(const WorkBudget&) = delete;
};

#endif  // ROOTSCAN_EXACT_WORK_BUDGET_H_
