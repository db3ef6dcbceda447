#pragma once

#include <string>

namespace q745drv {

// A library loaded at run time and its symbols looked up by name; unloaded on destruction.
class SharedObject {
public:
    // Name or path from the environment variable, else the default name (found through the
    // library's run path, beside it).
    SharedObject(const char* environmentVariable, const char* defaultName);
    ~SharedObject();
    SharedObject(const SharedObject&) = delete;
    SharedObject& operator=(const SharedObject&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    // The symbol in this library (never in the program or another library); nullptr if absent.
    void* symbol(const char* name) const;
    template <typename Function>
    bool bind(Function*& entry, const char* name) const {
        entry = reinterpret_cast<Function*>(symbol(name));
        return entry != nullptr;
    }

private:
    void* handle_ = nullptr;
};

}  // namespace q745drv
