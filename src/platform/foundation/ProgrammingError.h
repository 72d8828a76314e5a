#pragma once
// Broken invariants: a hook that was not overridden, a value of the wrong kind
// where the code's own contract forbids it.
//
// The report never aborts the process: by default it logs the text at error
// level. Tests install a handler that records the texts.
//
// Thread: any thread; the handler runs on the reporting thread.
#include <functional>
#include <string>
#include <string_view>

namespace platform {

using ProgrammingErrorHandler = std::function<void(const std::string& text)>;

void reportProgrammingError(std::string_view text);
// nullptr restores the logging handler.
void setProgrammingErrorHandler(ProgrammingErrorHandler handler);

}  // namespace platform
