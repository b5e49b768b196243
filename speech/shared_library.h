#pragma once
// Looking up the C functions of a synthesiser library opened at run time with dlopen; opening and
// closing the library is left to the backend that uses it.

#include <dlfcn.h>

namespace quorvella {

// Sets function to the symbol name of library; false when the library has no such symbol.
template <typename Function>
bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

} // namespace quorvella
