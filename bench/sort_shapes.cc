// sort_shapes [--limit SECONDS] COUNT
// sort_shapes --series N[,N...]
//
// The first form times every routine of sort_routines.h against std::sort
// (and mergesort against std::stable_sort too) on COUNT values of many input
// shapes and prints one Markdown table row per shape: each cell is the
// routine's best-of-three time as a multiple of the reference's time on the
// same values. The three runs go round all the routines in turn, as in
// quicksort_bench, so that a busy moment of the machine falls on one run of
// several routines rather than on every run of one. Every run is a forked
// child of its own under an alarm of SECONDS (default 15), so an input that
// sends a routine quadratic prints "over SECONDS s" instead of hanging the
// benchmark; each run thus starts, like a program that sorts once, with
// scratch memory the process has not touched before.
//
// The second form prints, for random values and each N, the nanoseconds per
// element of every routine (best of three), under a header line naming the
// columns: the data of bench/sort_bench.sh's chart.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "sort_adversary.h"
#include "sort_routines.h"

namespace {

using Values = std::vector<int>;
using Sorter = void (*)(Values&);

struct Shape {
  const char* name;
  std::function<Values(int)> make;
};

std::vector<Shape> Shapes() {
  auto each = [](const std::function<int(int, int, std::mt19937&)>& f) {
    return [f](int n) {
      std::mt19937 rng(12345);
      Values v(n);
      for (int i = 0; i < n; ++i) v[i] = f(i, n, rng);
      return v;
    };
  };
  return {
      {"random", each([](int, int n, std::mt19937& r) {
         return static_cast<int>(r() % static_cast<unsigned>(n));
       })},
      {"already sorted", each([](int i, int, std::mt19937&) { return i; })},
      {"reversed", each([](int i, int n, std::mt19937&) { return n - i; })},
      {"organ pipe (ascending, then descending)",
       each([](int i, int n, std::mt19937&) { return i < n / 2 ? i : n - i; })},
      {"descending, then ascending", each([](int i, int n, std::mt19937&) {
         return i < n / 2 ? n / 2 - i : i - n / 2;
       })},
      {"all values equal", each([](int, int, std::mt19937&) { return 42; })},
      {"two distinct values", each([](int, int, std::mt19937& r) {
         return static_cast<int>(r() % 2);
       })},
      {"ten distinct values", each([](int, int, std::mt19937& r) {
         return static_cast<int>(r() % 10);
       })},
      {"sawtooth (runs of 1000)",
       each([](int i, int, std::mt19937&) { return i % 1000; })},
      {"sawtooth (16 runs)",
       each([](int i, int n, std::mt19937&) { return i % (n / 16 + 1); })},
      {"sorted, 1% of pairs swapped",
       [](int n) {
         std::mt19937 rng(12345);
         Values v(n);
         for (int i = 0; i < n; ++i) v[i] = i;
         for (int k = 0; k < n / 100; ++k) {
           std::swap(v[rng() % static_cast<unsigned>(n)],
                     v[rng() % static_cast<unsigned>(n)]);
         }
         return v;
       }},
      {"sorted, then 1% random", each([](int i, int n, std::mt19937& r) {
         return i < n - n / 100
                    ? i
                    : static_cast<int>(r() % static_cast<unsigned>(n));
       })},
      {"two sorted halves", each([](int i, int n, std::mt19937&) {
         return i < n / 2 ? 2 * i : 2 * (i - n / 2) + 1;
       })},
      {"descending runs of random length (up to 2000)",
       [](int n) {
         std::mt19937 rng(12345);
         Values v(n);
         for (int i = 0; i < n;) {
           const int run = 1 + static_cast<int>(rng() % 2000);
           const int base = static_cast<int>(rng() % static_cast<unsigned>(n));
           for (int k = 0; k < run && i < n; ++k) v[i++] = base - k;
         }
         return v;
       }},
      {"interleaved ascending and descending",
       each([](int i, int n, std::mt19937&) { return i % 2 ? i : n - i; })},
      {"killer for quicksort's middle pivot",
       [](int n) { return MiddlePivotKiller(n, [](int c) { return c / 2; }); }},
      {"killer for q_sort's middle pivot",
       [](int n) {
         return MiddlePivotKiller(n, [](int c) { return (c - 1) / 2; });
       }},
      {"adversary for quicksort (McIlroy, run ahead)",
       [](int n) { return QuicksortAdversary(n, false); }},
      {"adversary for q_sort (McIlroy, run ahead)",
       [](int n) { return QuicksortAdversary(n, true); }},
  };
}

// The time of `sort` on a copy of `input`, in seconds, under an alarm of
// `limit` seconds when limit > 0; aborts on a result that is not sorted.
double TimeOnce(const Values& input, Sorter sort, int limit) {
  Values v = input;
  if (limit > 0) alarm(static_cast<unsigned>(limit));
  double start = CpuSeconds();
  sort(v);
  double took = CpuSeconds() - start;
  if (limit > 0) alarm(0);
  if (!std::is_sorted(v.begin(), v.end())) {
    std::fprintf(stderr, "sort_shapes: result not sorted\n");
    std::abort();
  }
  return took;
}

// Best of three times of `sort` on copies of `input`, in seconds.
double BestOfThree(const Values& input, Sorter sort) {
  double best = 1e30;
  for (int run = 0; run < 3; ++run) {
    best = std::min(best, TimeOnce(input, sort, 0));
  }
  return best;
}

// TimeOnce in a forked child, so that a run past `limit` seconds is killed
// by its alarm; returns a negative time for such a run.
double TimeInChild(const Values& input, Sorter sort, int limit) {
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid < 0) std::abort();
  if (pid == 0) {
    close(fds[0]);
    double t = TimeOnce(input, sort, limit);
    ssize_t w = write(fds[1], &t, sizeof t);
    _exit(w == static_cast<ssize_t>(sizeof t) ? 0 : 1);
  }
  close(fds[1]);
  double t = -1;
  ssize_t got = read(fds[0], &t, sizeof t);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (got != static_cast<ssize_t>(sizeof t) || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    if (!(WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)) {
      std::fprintf(stderr, "sort_shapes: a timed run failed\n");
      std::exit(1);
    }
    return -1;
  }
  return t;
}

std::string Cell(double t, double base, int limit) {
  char text[32];
  if (t < 0) {
    std::snprintf(text, sizeof text, "over %d s", limit);
  } else if (base <= 0) {
    std::snprintf(text, sizeof text, "-");
  } else {
    std::snprintf(text, sizeof text, "%.2f", t / base);
  }
  return text;
}

// The column of `name` in SortRoutines().
size_t Column(const char* name) {
  const std::vector<SortRoutine>& routines = SortRoutines();
  for (size_t r = 0; r < routines.size(); ++r) {
    if (std::strcmp(routines[r].name, name) == 0) return r;
  }
  std::abort();
}

int Table(int count, int limit) {
  const std::vector<SortRoutine>& routines = SortRoutines();
  std::printf(
      "%d values, time as a multiple of the reference's (best of 3); "
      "std::sort's own time in ms\n\n| input shape | std::sort ms |",
      count);
  for (size_t r = 1; r < routines.size(); ++r) {
    std::printf(" %s |", routines[r].name);
  }
  std::printf(" mergesort / std::stable_sort |\n|---|---|");
  for (size_t r = 1; r < routines.size(); ++r) std::printf("---|");
  std::printf("---|\n");
  const size_t stable = Column("std::stable_sort");
  const size_t merge = Column("mergesort");
  for (const Shape& shape : Shapes()) {
    Values input = shape.make(count);
    std::vector<double> t(routines.size(), 1e30);  // best so far, or < 0
    for (int run = 0; run < 3; ++run) {
      for (size_t r = 0; r < routines.size(); ++r) {
        if (t[r] < 0) continue;  // Over the limit once: not run again.
        const double took = TimeInChild(input, routines[r].sort, limit);
        t[r] = took < 0 ? took : std::min(t[r], took);
      }
    }
    std::printf("| %s | %.1f |", shape.name, t[0] * 1e3);
    for (size_t r = 1; r < routines.size(); ++r) {
      std::printf(" %s |", Cell(t[r], t[0], limit).c_str());
    }
    std::printf(" %s |\n", Cell(t[merge], t[stable], limit).c_str());
    std::fflush(stdout);
  }
  return 0;
}

int Series(const char* list) {
  const std::vector<SortRoutine>& routines = SortRoutines();
  std::printf("n");  // Then nanoseconds per element, one column a routine.
  for (const SortRoutine& r : routines) std::printf(" %s", r.name);
  std::printf("\n");
  std::string rest = list;
  while (!rest.empty()) {
    size_t comma = rest.find(',');
    int n = std::atoi(rest.substr(0, comma).c_str());
    rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
    if (n <= 0) continue;
    Values input = Shapes()[0].make(n);
    std::printf("%d", n);
    for (const SortRoutine& r : routines) {
      double t = BestOfThree(input, r.sort);
      std::printf(" %.2f", t * 1e9 / n);
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int limit = 15;
  int arg = 1;
  if (arg + 1 < argc && std::strcmp(argv[arg], "--series") == 0) {
    return Series(argv[arg + 1]);
  }
  if (arg + 1 < argc && std::strcmp(argv[arg], "--limit") == 0) {
    limit = std::atoi(argv[arg + 1]);
    arg += 2;
  }
  if (arg + 1 != argc || std::atoi(argv[arg]) <= 0 || limit <= 0) {
    std::fprintf(stderr,
                 "usage: sort_shapes [--limit SECONDS] COUNT\n"
                 "       sort_shapes --series N[,N...]\n");
    return 1;
  }
  return Table(std::atoi(argv[arg]), limit);
}
