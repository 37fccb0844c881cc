#include "keytable.h"

namespace {

// Buckets of a new table: 2^3 = 8, enough for a handful of keys before the
// first growth.
constexpr int kInitialBits = 3;

}  // namespace

KeyTable::KeyTable(Compare cmp, Hash hash)
    : cmp_(cmp),
      hash_(hash),
      buckets_(size_t{1} << kInitialBits, nullptr),
      bucket_bits_(kInitialBits) {}

KeyTable::~KeyTable() {
  for (Node* node : buckets_) {
    while (node != nullptr) {
      Node* next = node->next;
      delete node;
      node = next;
    }
  }
}

size_t KeyTable::Index(uint32_t hash) const {
  // The top bits: a multiplicative hash such as int_hash spreads keys there,
  // while its low bits repeat the low bits of the key.
  return hash >> (32 - bucket_bits_);
}

KeyTable::Node** KeyTable::Slot(const void* key, uint32_t hash) {
  // The link that points at the matching node, or the chain's final null.
  Node** link = &buckets_[Index(hash)];
  while (*link != nullptr &&
         ((*link)->hash != hash || cmp_((*link)->key, key) != 0)) {
    link = &(*link)->next;
  }
  return link;
}

bool KeyTable::Put(const void* key, void* value) {
  const uint32_t hash = hash_(key);
  Node** link = Slot(key, hash);
  if (*link != nullptr) {
    (*link)->value = value;
    return false;
  }
  // Grow first, so that a failed allocation leaves the table as it was.
  if (size_ + 1 > buckets_.size() / 4 * 3) {
    Grow();
    link = Slot(key, hash);
  }
  *link = new Node{key, value, hash, nullptr};
  ++size_;
  return true;
}

void** KeyTable::Find(const void* key) {
  Node* node = *Slot(key, hash_(key));
  return node != nullptr ? &node->value : nullptr;
}

bool KeyTable::Erase(const void* key) {
  Node** link = Slot(key, hash_(key));
  Node* node = *link;
  if (node == nullptr) return false;
  *link = node->next;
  delete node;
  --size_;
  return true;
}

void KeyTable::Grow() {
  // Doubling adds one bit to the index: each chain splits in two.
  std::vector<Node*> old(buckets_.size() * 2, nullptr);
  old.swap(buckets_);
  ++bucket_bits_;
  for (Node* node : old) {
    while (node != nullptr) {
      Node* next = node->next;
      Node*& head = buckets_[Index(node->hash)];
      node->next = head;
      head = node;
      node = next;
    }
  }
}
