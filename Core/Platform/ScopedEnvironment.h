#pragma once
// An environment variable set for a stretch of the program's own start-up
// and taken back afterwards, so that the programs it starts later do not
// inherit it. A value the user set is left alone.

#include <string>

namespace zam::platform {

class ScopedEnvironment {
public:
    /// Sets name to value unless name is already set.
    ScopedEnvironment(const char* name, const char* value);
    /// Unsets name again if this set it.
    ~ScopedEnvironment();

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    /// True when this set the variable (it was not set before).
    bool Applied() const { return m_Applied; }

private:
    std::string m_Name;
    bool m_Applied = false;
};

}  // namespace zam::platform
