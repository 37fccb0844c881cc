#ifndef TRIMPRIMES_TRIMPRIMES_H_
#define TRIMPRIMES_TRIMPRIMES_H_

// Two-sided truncatable primes: primes that stay prime while decimal digits
// are cut away one at a time from the right and, separately, from the left.
// The names isPrime and isTruncatable and the output are fixed
// (INTERFACES.md).

#include <cstdio>
#include <string>
#include <vector>

/// True when n is prime by trial division with every i from 2 while
/// i <= sqrt(n). 1 and everything below it (0, negatives) are not prime.
bool isPrime(int n);

/// True when n, every prefix of its decimal digits (n / 10, n / 100, ...) and
/// every suffix (n % 10^k) are prime by isPrime. False for n < 1.
bool isTruncatable(int n);

/// The search of the program: the odd numbers from 11 up are tried with
/// isTruncatable until the eleventh is found; returns the sum of the eleven.
int SumOfTruncatablePrimes();

/// The whole program, given the arguments after the program name: writes
/// the sum as decimal digits, without a newline, to out and returns 0; or,
/// for "--help" as the only argument, the usage. Other arguments and in are
/// ignored. Returns 1 after "trimprimes: write error: <reason>" on err when
/// writing to out fails.
int RunTrimprimes(const std::vector<std::string>& args, std::FILE* in,
                  std::FILE* out, std::FILE* err);

#endif  // TRIMPRIMES_TRIMPRIMES_H_
