/* Hash and compare callbacks. Plain C, so that the object module defines the
 * four functions and nothing else a linker would see. All hash arithmetic is
 * on uint32_t, where overflow wraps; signed values are converted to and from
 * it only in ways whose result the language fixes. */

#include "hash.h"

#include <string.h>

int str_cmp(const void* a, const void* b) {
  return strcmp((const char*)a, (const char*)b);
}

uint32_t str_hash(const void* key) {
  const unsigned char* bytes = (const unsigned char*)key;
  size_t n = strlen((const char*)key);
  uint32_t h = 0;
  size_t i;
  for (i = 0; i < n; ++i) {
    /* Each byte counts as a signed char: 0x80..0xFF add byte - 256, which
     * as a uint32_t is 2^32 - (256 - byte). */
    int c = bytes[i] < 0x80 ? (int)bytes[i] : (int)bytes[i] - 256;
    h += (uint32_t)c;
    h += h << 10;
    h ^= h >> 6;
  }
  h += h << 3;
  h ^= h >> 11;
  h += h << 15;
  return h;
}

int int_cmp(const void* a, const void* b) {
  int x = *(const int*)a;
  int y = *(const int*)b;
  uint32_t d = (uint32_t)x - (uint32_t)y;
  /* Read d as a signed 32-bit value without an out-of-range conversion:
   * above INT32_MAX it stands for d - 2^32, which is -(~d) - 1. */
  return d <= (uint32_t)INT32_MAX ? (int)d : -(int)~d - 1;
}

uint32_t int_hash(const void* key) {
  int v = *(const int*)key;
  /* Absolute value in 32-bit arithmetic: (v ^ sign) - sign, sign being all
   * ones for a negative v. INT_MIN maps to 2^31. */
  uint32_t sign = v < 0 ? UINT32_MAX : 0;
  uint32_t magnitude = ((uint32_t)v ^ sign) - sign;
  /* 2654435761 is a prime near 2^32 divided by the golden ratio:
   * multiplying by it spreads consecutive keys across the 32 bits. */
  return magnitude * UINT32_C(2654435761);
}
