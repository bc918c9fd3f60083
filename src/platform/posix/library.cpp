#include "platform/posix/library.h"

#include <dlfcn.h>

namespace lumiko::posix {

void* loadLibrary(const char* soname, std::initializer_list<LibraryCall> calls, std::string& problem) {
    void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        problem = why ? why : std::string(soname) + " cannot be loaded";
        return nullptr;
    }
    for (const LibraryCall& call : calls) {
        void* address = dlsym(library, call.name);
        call.store(call.target, address);
        if (!address) {
            problem = std::string(soname) + " has no " + call.name;
            return nullptr;
        }
    }
    return library;
}

}  // namespace lumiko::posix
