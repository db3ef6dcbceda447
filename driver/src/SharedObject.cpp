#include "SharedObject.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace q745drv {

namespace {

// The folder this code was loaded from.
std::filesystem::path ownFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ownFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return std::filesystem::path(info.dli_fname).parent_path();
}

}  // namespace

SharedObject::SharedObject(const char* environmentVariable, const char* defaultName) {
    const char* variable = std::getenv(environmentVariable);
    const std::string name = variable != nullptr && *variable != '\0' ? variable : defaultName;
    // A bare name is looked for beside this library first, as its run path says; doing it here
    // keeps that true where dlopen is intercepted (sanitizers) and loses the caller's run path.
    if (name.find('/') == std::string::npos) {
        std::error_code error;
        const std::filesystem::path beside = ownFolder() / name;
        if (!beside.parent_path().empty() && std::filesystem::exists(beside, error))
            handle_ = ::dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (handle_ == nullptr) handle_ = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

SharedObject::~SharedObject() {
    if (handle_ != nullptr) ::dlclose(handle_);
}

void* SharedObject::symbol(const char* name) const {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace q745drv
