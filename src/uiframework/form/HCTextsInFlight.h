#pragma once
// What a message box has sent and not yet heard back about, one text per
// submission (HCFormControllerHelper::currentSubmission), so that a refused
// text goes back to the field whatever was sent or typed after it, and a
// delivered one is forgotten.
//
// Thread: main thread.
#include <map>
#include <string>

class HCTextsInFlight {
public:
    void sent(unsigned submission, std::string text);
    void delivered(unsigned submission);
    // What the field reads once `submission` was refused while the field
    // reads `field`: the refused text ahead of what was typed since.
    std::string refused(unsigned submission, const std::string& field);

private:
    std::map<unsigned, std::string> texts_;
};
