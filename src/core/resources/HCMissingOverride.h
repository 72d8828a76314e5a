#pragma once
// The report of a class that left out one of its overridables: the text
// "Controller '<class>' forgot to override '<method>'", prefixed with the
// name of the place that noticed ("HCResource+Overridables"), through the
// platform's programming-error handler. Reporting never stops the program;
// the caller then answers its neutral value.
//
// Thread: any thread.
#include <string>

void HCReportMissingOverride(const char* source, const std::string& receiverClassName, const char* methodName);
