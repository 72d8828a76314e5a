#pragma once
// The demo's last line: what the run showed, what it could not show and
// why, and what did not happen. A part the run could not show (another
// server, no message broker) is named as left out, never as shown.
//
// Thread: any; a plain function of its arguments.
#include <string>
#include <vector>

enum class DemoOutcome { Shown, LeftOut, Failed };

struct DemoPart {
    // "the location"; for a part left out, with the reason in brackets.
    std::string what;
    DemoOutcome outcome = DemoOutcome::Shown;
};

// "all went well: A, B; left out: C (why)" when nothing failed, otherwise
// "FAILED: D (went well: A, B; left out: C (why))"; "nothing" for an empty
// list of what went well.
std::string demoSummary(const std::vector<DemoPart>& parts);
// Whether any part failed.
bool demoFailed(const std::vector<DemoPart>& parts);
