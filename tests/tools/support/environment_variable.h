// An environment variable set for a scope, as it was again afterwards.
#pragma once

#include <cstdlib>
#include <string>

class ScopedEnvironmentVariable {
  public:
    ScopedEnvironmentVariable(const char* name, const std::string& value) : name(name)
    {
        const char* old = std::getenv(name);
        hadValue = old != nullptr;
        if (hadValue)
            saved = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironmentVariable()
    {
        if (hadValue)
            setenv(name, saved.c_str(), 1);
        else
            unsetenv(name);
    }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

  private:
    const char* name;
    bool hadValue;
    std::string saved;
};
