// The GNU C++ runtime's default terminate handler names the exception on standard error
// and, to do so, links in its name demangler and the C library's printf engine: a fifth
// of the exe. A windowed program has no standard error, and every exception is caught
// at the window procedures and in wWinMain, so a failure that still ends here only needs
// to stop the program. The definition takes the runtime's place when linked statically.
#include <cstdlib> // which also tells which C++ runtime this is

#if defined(__GLIBCXX__)

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
#endif
