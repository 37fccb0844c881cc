/* Compiled as strict C90: includes hash.h the way a C program would and
 * stores the callbacks in one table of function pointers, as a keyed table
 * does, so that a callback whose shape changed (a key no longer const, say)
 * fails the build. */

#include <stddef.h>

#include "hash.h"

/* The shared shape of a compare-and-hash pair. */
struct key_ops {
  int (*cmp)(const void*, const void*);
  uint32_t (*hash)(const void*);
};

/* Called from the C++ test: returns, through the stored pointers, the hash
 * of key and the comparison of key with other, for strings (strings != 0)
 * or ints. */
void hash_c_use(int strings, const void* key, const void* other, uint32_t* hash,
                int* cmp) {
  static const struct key_ops kOps[2] = {{int_cmp, int_hash},
                                         {str_cmp, str_hash}};
  const struct key_ops* ops = &kOps[strings != 0];
  *hash = ops->hash(key);
  *cmp = ops->cmp(key, other);
}
