#ifndef HASH_HASH_H_
#define HASH_HASH_H_

/* Hash and compare callbacks for a keyed table, one pair for NUL-terminated
 * string keys and one for int keys. Every key is passed by its address, so
 * that both pairs share one shape and a table can store either:
 *
 *   int (*cmp)(const void*, const void*);  uint32_t (*hash)(const void*);
 *
 * The functions keep no state, allocate nothing and never write through the
 * key pointers. Keys must be valid: null pointers are not detected. Names,
 * shapes and hash values are fixed (INTERFACES.md). Usable from
 * C, C90 on, and from C++ (C linkage). */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Three-way comparison of the strings at a and b (const char*), byte by
 * byte as strcmp does. Returns value: < 0 iff a orders before b, == 0 iff
 * they are equal, > 0 iff a orders after b; it is strcmp's result unchanged. */
int str_cmp(const void* a, const void* b);

/* Returns the one-at-a-time hash of the string at key (const char*), each
 * byte added as a signed char: bytes of 0x80 and above add a negative value.
 * The empty string hashes to 0. */
uint32_t str_hash(const void* key);

/* Three-way comparison of the ints at a and b (const int*). Returns value:
 * *a - *b computed modulo 2^32 and read as a signed 32-bit int; == 0 iff
 * the keys are equal, and its sign orders them whenever the true difference
 * fits an int (INT_MIN against 1 wraps to INT_MAX). */
int int_cmp(const void* a, const void* b);

/* Returns |*key| * 2654435761 modulo 2^32 for the int at key (const int*).
 * Keys that differ only in sign hash alike; INT_MIN's absolute value is
 * taken as the unsigned 2147483648. */
uint32_t int_hash(const void* key);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* HASH_HASH_H_ */
