#ifndef ROOTSCAN_ROOTSCAN_H_
#define ROOTSCAN_ROOTSCAN_H_

// The polynomial root scanner: reads coefficients (highest power first) and
// the options -e, -s, -se and -r from a command line, moves x across the
// range in equal steps and reports every sample whose value lies strictly
// inside the band (-tolerance, tolerance).
//
// Rounding is part of the result, and fixed (INTERFACES.md):
// each term's product and its addition to the running sum, and each
// x + step, are evaluated in 80-bit extended precision (long double) and
// rounded to double where a double is stored. The code must
// be built with SSE2 double arithmetic (-msse2 -mfpmath=sse on 32-bit x86) so
// that every double is a genuine double, whatever the optimiser does.

#include <cstdio>
#include <string>
#include <vector>

/// The settings of one scan, with their defaults.
struct ScanSettings {
  double tolerance = 0.01;           // Half the width of the band around zero.
  double step = 0.01;                // Distance between samples.
  double start = -10.0;              // First sample.
  double end = 10.0;                 // Last sample, when the steps land on it.
  std::vector<double> coefficients;  // Highest power first.
  bool roots = false;                // --roots: find the roots themselves.
  int digits = 0;  // --digits: significant digits of each root; 0, the double
  // The coefficients as written, which --roots reads exactly.
  std::vector<std::string> coefficient_texts;
};

/// The polynomial with coefficients[0..degree] (highest power first) at x:
/// the sum of coefficients[degree - power] * pow(x, power) from the highest
/// power down, each product and addition in extended precision and the sum
/// rounded to double after each term. A degree below 0 gives 0.0.
double f(double x, const double* coefficients, int degree);

/// x + step evaluated in extended precision and rounded to double: the next
/// scan point.
double StepForward(double x, double step);

/// Reads the command-line arguments after the program name into *settings
/// (which starts from the defaults): option words consume the following
/// arguments as operands whatever their text, every other argument is a
/// coefficient, all converted with atof (coefficients are also kept as
/// written, for --roots to read exactly). With --roots the range, unless -r
/// sets it, is the whole real line (-inf to inf). Returns false and sets *err
/// (e.g. "option -e needs an operand") when an option lacks its operands,
/// when --roots comes with -e, -s or -se ("option -e has no meaning with
/// --roots"), or --digits without --roots or with an operand other than a
/// whole number from 1 to kMaxRootDigits.
bool ReadCommandLine(const std::vector<std::string>& args,
                     ScanSettings* settings, std::string* err);

/// Returns true when the scan of s can end: its range is empty or NaN, or
/// its step moves x past the end or to NaN. Returns false and sets *err for
/// a step that does not move x forward (0 or below) or one that can never
/// take x past the end or to NaN (a finite step from -inf; from any other
/// start, any step but NaN towards an end of +inf).
/// A finite scan can still stall when x + step rounds back to x; the scan
/// itself finds that.
bool CheckScan(const ScanSettings& s, std::string* err);

/// Runs the whole program on the arguments after the program name: writes
/// the found lines or the closing line (or, for "--help" alone, the usage;
/// with --roots, what PrintRealRoots writes) to out, complaints to err, and
/// reads in only for --roots without coefficients (PrintRootsOfLines). Returns
/// the exit status: 0 after a complete scan or --roots answer, 1 when the
/// command line, the scan or the --roots input is refused, x stops advancing, a
/// read or write fails or memory runs out ("rootscan: not enough memory", after
/// the lines printed so far).
int RunRootscan(const std::vector<std::string>& args, std::FILE* in,
                std::FILE* out, std::FILE* err);

#endif  // ROOTSCAN_ROOTSCAN_H_
