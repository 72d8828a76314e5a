#include "DemoSummary.h"

namespace {

std::string listOf(const std::vector<DemoPart>& parts, DemoOutcome outcome)
{
    std::string list;
    for (const auto& part : parts) {
        if (part.outcome == outcome) list += (list.empty() ? "" : ", ") + part.what;
    }
    return list;
}

}  // namespace

bool demoFailed(const std::vector<DemoPart>& parts)
{
    return !listOf(parts, DemoOutcome::Failed).empty();
}

std::string demoSummary(const std::vector<DemoPart>& parts)
{
    const std::string shown = listOf(parts, DemoOutcome::Shown);
    const std::string leftOut = listOf(parts, DemoOutcome::LeftOut);
    std::string went = shown.empty() ? "nothing" : shown;
    if (!leftOut.empty()) went += "; left out: " + leftOut;
    if (!demoFailed(parts)) return "all went well: " + went;
    return "FAILED: " + listOf(parts, DemoOutcome::Failed) + " (went well: " + went + ")";
}
