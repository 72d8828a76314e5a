#pragma once
// Fixtures shared by the foundation tests: a sandbox in a temporary folder and
// a process locale whose decimal separator is not a point.
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"
#include "support/TestSupport.h"

namespace foundationtest {

// A fresh sandbox for one test; everything bound to the old one is forgotten.
class ScopedSandbox {
public:
    ScopedSandbox()
    {
        platform::Sandbox::configure(dir_.str());
        platform::UserDefaults::resetStandardUserDefaults();
        platform::DeviceFacts::reset();
    }
    ~ScopedSandbox()
    {
        platform::UserDefaults::resetStandardUserDefaults();
        platform::DeviceFacts::reset();
        platform::Sandbox::reset();
    }
    std::string root() const { return dir_.str(); }

private:
    testsupport::TempDir dir_;
};

// Records programming errors for the lifetime of the object.
class ScopedProgrammingErrors {
public:
    ScopedProgrammingErrors()
    {
        platform::setProgrammingErrorHandler([this](const std::string& text) { texts.push_back(text); });
    }
    ~ScopedProgrammingErrors() { platform::setProgrammingErrorHandler(nullptr); }
    std::vector<std::string> texts;
};

// Switches the process to a locale that writes reals with a comma, when one is
// installed; active() answers whether that worked.
class ScopedCommaLocale {
public:
    ScopedCommaLocale()
    {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current ? current : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8",
                                 "es_ES.UTF-8", "it_IT.UTF-8", "ru_RU.UTF-8"}) {
            if (std::setlocale(LC_ALL, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
                active_ = true;
                return;
            }
        }
        std::setlocale(LC_ALL, saved_.c_str());
    }
    ~ScopedCommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    bool active() const { return active_; }

private:
    std::string saved_;
    bool active_ = false;
};

}  // namespace foundationtest
