#include "SharedObject.h"

#include <dlfcn.h>

#include <cstdlib>

namespace q745drv {

SharedObject::SharedObject(const char* environmentVariable, const char* defaultName) {
    const char* name = std::getenv(environmentVariable);
    if (name == nullptr || *name == '\0') name = defaultName;
    handle_ = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

SharedObject::~SharedObject() {
    if (handle_ != nullptr) ::dlclose(handle_);
}

void* SharedObject::symbol(const char* name) const {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace q745drv
