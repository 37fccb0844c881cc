#ifndef SORTING_SORT_H_
#define SORTING_SORT_H_

#include <cstdio>

// Integer sorting routines: sort a caller's array of ints in place into
// ascending (signed) order, or print it. No routine keeps state between
// calls; none reports errors. The caller guarantees that every range lies
// inside the array. Every sort takes O(n log n) time on every input, and its
// nesting grows at most with log2 of the range's length; scratch beyond
// 2 KiB comes from the heap, so that a thread with a 16 KiB stack can sort.
// Merge scratch memory that cannot be had throws std::bad_alloc; the
// quicksorts never throw. The routines' names and signatures and
// print_arr's output are fixed (see INTERFACES.md); how they sort is not.

/// Merges the ascending runs [left_start, left_end) and [right_start,
/// right_end) of arr into consecutive positions from left_start on. An empty
/// or reversed run counts as empty.
void merge(int* arr, int left_start, int left_end, int right_start,
           int right_end);

/// Sorts arr[start, end) by merge sort: the ascending and descending runs
/// already there are merged, in an order that keeps the merges balanced.
/// Ranges shorter than two elements (end - start < 2) are left as they are.
void mergesort_rec(int* arr, int start, int end);

/// Sorts the first count elements of arr by merge sort; count <= 1 is a no-op.
void mergesort(int* arr, int count);

/// Sorts the first count elements of arr by quicksort, partitioning with two
/// pointers; count <= 1 is a no-op. A run of values equal to an enclosing
/// pivot is set aside in one pass. A range that keeps splitting lopsidedly is
/// heapsorted in place when it holds up to 4096 elements, else merge sorted
/// with heap scratch (heapsorted when none can be had).
void quicksort(int* arr, int count);

/// Sorts the closed range arr[first..last] by quicksort; first >= last is a
/// no-op. Runs of values equal to an enclosing pivot and the way out as for
/// quicksort.
void q_sort(int* arr, int first, int last);

/// Prints the first count elements as one line, each as "%d, ", then a line
/// feed. count <= 0 prints the line feed alone.
void print_arr(int* arr, int count);

/// Prints like print_arr, to `out` instead of standard output. Write errors
/// are left in out's error indicator for the caller to check.
void print_arr_to(std::FILE* out, const int* arr, int count);

#endif  // SORTING_SORT_H_
