#ifndef SORTING_SORT_PROGRAM_H_
#define SORTING_SORT_PROGRAM_H_

// The program sort, a timing workload for the sorting routines: draws COUNT
// values, each rand() % COUNT after srand(0), and merge-sorts them, printing
// nothing. (sort.h is the routines themselves.)

#include <cstdio>
#include <string>
#include <vector>

#ifndef SORT_NAME
#error "SORT_NAME, the name sort is installed under, comes from CMake"
#endif

/// The name the program gives in its usage line and its messages: the one
/// it is installed under (CMake's SMALLTOOLS_SORT_NAME, by default "sort").
inline constexpr char kSortName[] = SORT_NAME;

/// The whole program, given the arguments after the program name: reads the
/// first as the count like strtol in base 10 (text without a number is 0; a
/// number beyond the int range is taken as INT_MIN or INT_MAX, as strtol
/// gives it on 32-bit x86), ignores the rest, draws and sorts that many values
/// and returns 0; a count of 0 or below draws nothing. "--help" as the only
/// argument writes the usage to out. Returns 1 after a message on err when the
/// count is missing (the usage line) or its memory cannot be had, which is
/// found before anything is drawn; the message names the count as typed.
/// Reads nothing from in. Its name in the usage and messages is kSortName.
int RunSort(const std::vector<std::string>& args, std::FILE* in, std::FILE* out,
            std::FILE* err);

/// RunSort under the name `name`, which its usage line and messages give.
int RunSortAs(const char* name, const std::vector<std::string>& args,
              std::FILE* in, std::FILE* out, std::FILE* err);

#endif  // SORTING_SORT_PROGRAM_H_
