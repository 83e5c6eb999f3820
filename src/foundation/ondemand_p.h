#ifndef PLOTVANE_FOUNDATION_ONDEMAND_P_H
#define PLOTVANE_FOUNDATION_ONDEMAND_P_H

// Libraries that most charts never need (fontconfig, libjpeg) are opened when first needed rather
// than at the start of every program, where each would cost about a tenth of a millisecond. They
// are opened by the file the build was configured with, so the library compiled against is the one
// called; where it cannot be opened or lacks a function, the feature that needs it fails as it
// does on bad input. An opened library stays loaded until the process ends.

#include <dlfcn.h>

namespace plotvane {

class OnDemandLibrary {
public:
    explicit OnDemandLibrary(const char* file) : handle_(dlopen(file, RTLD_NOW | RTLD_LOCAL)) {}

    // Sets `function` to the library's function called `name`, or to null.
    template <class Function>
    void take(Function& function, const char* name) {
        function = handle_ ? reinterpret_cast<Function>(dlsym(handle_, name)) : nullptr;
        complete_ = complete_ && function;
    }
    // The library opened and had every function taken from it.
    bool complete() const { return handle_ && complete_; }

private:
    void* handle_;
    bool complete_ = true;
};

}  // namespace plotvane

// A table of a library's functions is written from one list of their names, F(name) for each:
//   #define FUNCTIONS(F) F(first_function) F(second_function)
//   struct Table { FUNCTIONS(PLOTVANE_ONDEMAND_MEMBER) };
//   FUNCTIONS(PLOTVANE_ONDEMAND_TAKE)   // with `library` and a `table` pointer in scope
#define PLOTVANE_ONDEMAND_MEMBER(name) decltype(&::name) name;
#define PLOTVANE_ONDEMAND_TAKE(name) library.take(table->name, #name);

#endif
