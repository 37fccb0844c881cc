#ifndef TRIMPRIMES_TRIMPRIMES_H_
#define TRIMPRIMES_TRIMPRIMES_H_

// Two-sided truncatable primes: primes that stay prime while decimal digits
// are cut away one at a time from the right and, separately, from the left.

/// True when n is prime by trial division with every i from 2 while
/// i <= sqrt(n). 1 and everything below it (0, negatives) are not prime.
bool isPrime(int n);

/// True when n, every prefix of its decimal digits (n / 10, n / 100, ...) and
/// every suffix (n % 10^k) are prime by isPrime. False for n < 1.
bool isTruncatable(int n);

#endif  // TRIMPRIMES_TRIMPRIMES_H_
