#ifndef KEYTABLE_KEYTABLE_H_
#define KEYTABLE_KEYTABLE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

// A keyed table by separate chaining that knows its keys only through a
// compare and a hash callback, such as the pairs in lib/hash.o (str_cmp and
// str_hash, int_cmp and int_hash). Keys are held by address: the table keeps
// the pointer it was given, and the caller keeps the key alive and unchanged
// while it is in the table. Values are untyped pointers the table never
// follows.
class KeyTable {
 public:
  /// Three-way comparison of the keys at a and b: == 0 iff they are equal.
  using Compare = int (*)(const void* a, const void* b);
  /// 32-bit hash of the key at key; equal keys must hash alike.
  using Hash = uint32_t (*)(const void* key);

  /// An empty table that tells keys apart with cmp and spreads them with hash.
  KeyTable(Compare cmp, Hash hash);
  ~KeyTable();
  KeyTable(const KeyTable&) = delete;
  KeyTable& operator=(const KeyTable&) = delete;

  /// Maps key to value. Returns true when no equal key was present; else the
  /// entry keeps its original key address and takes the new value.
  bool Put(const void* key, void* value);

  /// Returns the address of the value stored for a key equal to key, or
  /// nullptr when there is none. Valid until the table next changes.
  void** Find(const void* key);

  /// Removes the entry whose key equals key; returns whether there was one.
  bool Erase(const void* key);

  /// Number of entries.
  size_t size() const { return size_; }

  /// Number of chains; doubles whenever the entries exceed 3/4 of it.
  size_t bucket_count() const { return buckets_.size(); }

 private:
  struct Node {
    const void* key;
    void* value;
    uint32_t hash;  // kept so that growing never calls the hash again
    Node* next;
  };

  size_t Index(uint32_t hash) const;
  Node** Slot(const void* key, uint32_t hash);
  void Grow();

  Compare cmp_;
  Hash hash_;
  std::vector<Node*> buckets_;  // a power of two of them
  int bucket_bits_;             // log2 of buckets_.size()
  size_t size_ = 0;
};

#endif  // KEYTABLE_KEYTABLE_H_
