#include "Core/Platform/ScopedEnvironment.h"

#include <stdlib.h>

namespace zam::platform {

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : m_Name(name) {
    m_Applied = getenv(name) == nullptr && setenv(name, value, 0) == 0;
}

ScopedEnvironment::~ScopedEnvironment() {
    if (m_Applied) unsetenv(m_Name.c_str());
}

}  // namespace zam::platform
