#ifndef SORTING_SORT_TESTING_H_
#define SORTING_SORT_TESTING_H_

// What the tests of the sorting routines share: their values, the sorted
// values of the adverse inputs, and a thread with a small stack.

#include <gtest/gtest.h>
#include <pthread.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace sort_testing {

using Values = std::vector<int>;

/// 1, 2, ..., n: the values of the adverse inputs, sorted.
inline Values Iota(int n) {
  Values v(n);
  for (int i = 0; i < n; ++i) v[i] = i + 1;
  return v;
}

/// Runs fn on a thread with a stack of `bytes` (by default 256 KiB): a sort
/// whose nesting grows with the input would overflow it and crash the test.
inline void OnSmallStack(std::function<void()> fn,
                         size_t bytes = size_t{256} * 1024) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, bytes), 0);
  pthread_t thread;
  auto body = [](void* f) -> void* {
    (*static_cast<std::function<void()>*>(f))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, body, &fn), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

}  // namespace sort_testing

#endif  // SORTING_SORT_TESTING_H_
