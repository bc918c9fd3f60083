// Shared libraries the panel loads the first time it needs them rather than
// linking them, so that a panel that never uses them does not pay their
// memory.
#pragma once

#include <cstring>
#include <initializer_list>
#include <string>

namespace lumiko::posix {

// The library of that run-time name (libfoo.so.N), loaded once for the life
// of the program, with every call named resolved into `calls` (pairs of a
// name and where its address goes). Null, with the reason in `problem`, when
// the library or one of the calls is missing.
struct LibraryCall {
    const char* name;
    void* target;
    void (*store)(void* target, void* address);
};
void* loadLibrary(const char* soname, std::initializer_list<LibraryCall> calls, std::string& problem);

// The call `name`, to be stored in the function pointer `to`.
template <typename F>
LibraryCall libraryCall(const char* name, F& to) {
    static_assert(sizeof(F) == sizeof(void*));
    return {name, &to, [](void* target, void* address) { std::memcpy(target, &address, sizeof address); }};
}

}  // namespace lumiko::posix
