# What the shipped code is compiled with beyond the build type's flags.
#
# The normal and x86-64-only builds compile everything with the usual
# hardening of Debian's packages:
#   -fstack-protector-strong  a canary in every function with a local array
#                             or an address-taken local;
#   -D_FORTIFY_SOURCE=2       checked variants of memcpy, read, printf and the
#                             like where the compiler knows the buffer's size
#                             (it needs optimisation, so not in a Debug build);
#   -fPIE / -pie              position-independent programs, loaded at a
#                             random address (gcc's default on Debian, made
#                             explicit); -fPIE, not -fPIC, for the libraries
#                             too, so calls within them stay direct and
#                             inlinable as in a program;
#   -z relro -z now           the dynamic linker resolves every symbol at
#                             start and then makes the relocated data
#                             read-only.
# and with -g: the Debian package moves the debug symbols into its -dbgsym
# package and ships the programs stripped.
#
# The sanitized and fuzzing builds leave all of it out: the sanitizers check
# more than the canary and the fortified calls, and replace those calls. So
# does the Debian package's build (HARDENING=OFF), which takes the same flags
# from dpkg-buildflags.
#
# NOT_SHIPPED_FLAGS undo what only shipped code needs; test code
# (cmake/Testing.cmake) adds them after these: it is compiled without
# optimisation, where _FORTIFY_SOURCE only warns, and its debug information
# would cost compile time and nothing else.

set(NOT_SHIPPED_FLAGS -U_FORTIFY_SOURCE -g0)

option(HARDENING "Compile and link with the hardening flags of this file" ON)
if(HARDENING AND NOT SANITIZE AND NOT FUZZ)
  add_compile_options(-g -fstack-protector-strong -fPIE
                      $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-pie -Wl,-z,relro,-z,now)
endif()
