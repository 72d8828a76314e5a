#include "kernel/resources/HCResourceClassName.h"

#include <cxxabi.h>

#include <cstdlib>

std::string HCClassName(const std::type_info& type)
{
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    if (status != 0 || demangled == nullptr) {
        std::free(demangled);
        return type.name();
    }
    std::string name(demangled);
    std::free(demangled);
    return name;
}
