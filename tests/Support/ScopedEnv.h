#pragma once
// An environment variable changed for one scope (null: unset).

#include <stdlib.h>

#include <cstdlib>
#include <string>

namespace zam::testing {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_Name(name) {
        const char* old = std::getenv(name);
        if (old != nullptr) m_Old = old;
        m_Had = old != nullptr;
        Set(value);
    }
    ~ScopedEnv() { Set(m_Had ? m_Old.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void Set(const char* value) {
        if (value != nullptr) {
            setenv(m_Name.c_str(), value, 1);
        } else {
            unsetenv(m_Name.c_str());
        }
    }

private:
    std::string m_Name, m_Old;
    bool m_Had;
};

}  // namespace zam::testing
