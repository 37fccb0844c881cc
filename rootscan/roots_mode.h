#ifndef ROOTSCAN_ROOTS_MODE_H_
#define ROOTSCAN_ROOTS_MODE_H_

// rootscan's --roots mode: what it accepts and how it prints the roots that
// RealRoots finds.

#include <cstdio>
#include <string>
#include <vector>

/// The most significant digits --digits takes.
constexpr int kMaxRootDigits = 1000;

/// The shortest decimal text that reads back as v ("-2", "0.001",
/// "1.4142135623730951", "1e-07", "inf").
std::string ShortestDecimal(double v);

/// The --roots mode: reads the coefficients exactly (see CheckExact), checks
/// them (degree at most 10000 once leading zeros are dropped) and the range
/// (no NaN, start not above end), finds the roots within a bound on the work
/// and on the memory held at once (refusing the polynomial past either),
/// then writes the lines "x1 = <value>", one
/// per RealRoot (with digits above 0, per root rounded to that many
/// significant digits: DecimalRoots), followed by " (multiplicity K)" or, for a
/// line standing for J roots, " (J distinct roots nearest to this value,
/// multiplicity K in all)"; "No real roots from A to B." when there are none,
/// and "Every x from A to B is a root." for the zero polynomial (A and B
/// printed with %f). It clears errno first and leaves flushing and checking for
/// write errors to the caller. Returns false and sets *err, writing nothing,
/// when the input is refused ("coefficient 2, \"1,5\", is not a number").
bool PrintRealRoots(const std::vector<std::string>& coefficients, double start,
                    double end, int digits, std::FILE* out, std::string* err);

/// --roots with no coefficients: answers each line of in as PrintRealRoots
/// answers its coefficients (words between blanks: spaces, tabs, carriage
/// returns), the answers apart by one blank line, each flushed as it is
/// written. A line is read in memory that does not grow with it, and
/// refused at the first coefficient that passes a limit ("line 3:
/// coefficient 2, ...") or takes the degree above 10000 ("line 3: degree
/// above 10000, ..."), with the rest unread. Returns false and sets *err at
/// the first line refused (the answers before it written), or when reading
/// or writing fails; a range that is not one is refused before any reading.
bool PrintRootsOfLines(std::FILE* in, double start, double end, int digits,
                       std::FILE* out, std::string* err);

#endif  // ROOTSCAN_ROOTS_MODE_H_
