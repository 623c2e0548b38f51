// The GNU C++ runtime's helpers that throw when a container or a function object is
// misused build their messages with its own formatter and string classes: 89 KB of the
// exe, for texts no one reads, since every catch in the program is catch (...). Each
// throws the failure the program reports as an internal error. The definitions take
// the runtime's place when linked statically, and only the exe has them.
#include <cstdlib> // which also tells which C++ runtime this is
#include <new>

#if defined(__GLIBCXX__)

namespace std {
[[noreturn]] void __throw_bad_alloc()
{
    throw bad_alloc();
}
[[noreturn]] void __throw_bad_array_new_length()
{
    throw bad_alloc();
}
[[noreturn]] void __throw_bad_function_call()
{
    throw bad_alloc();
}
[[noreturn]] void __throw_length_error(const char*)
{
    throw bad_alloc();
}
[[noreturn]] void __throw_logic_error(const char*)
{
    throw bad_alloc();
}
[[noreturn]] void __throw_out_of_range(const char*)
{
    throw bad_alloc();
}
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...)
{
    throw bad_alloc();
}
[[noreturn]] void __throw_invalid_argument(const char*)
{
    throw bad_alloc();
}
[[noreturn]] void __throw_runtime_error(const char*)
{
    throw bad_alloc();
}
} // namespace std
#endif
