#pragma once
// What a message box has sent and not yet heard back about, one text per
// submission (HCFormControllerHelper::currentSubmission), so that a refused
// text goes back to the field whatever was sent or typed after it, and a
// delivered one is forgotten.
//
// Refused texts go back in the order they were written: each one joins
// those already put back at the head of the field (while the field still
// starts with them), ahead of anything typed since.
//
// Thread: main thread.
#include <map>
#include <string>

class HCTextsInFlight {
public:
    // The field's text left as `submission`; the field is empty again.
    void sent(unsigned submission, std::string text);
    void delivered(unsigned submission);
    // What the field reads once `submission` was refused while the field
    // reads `field`.
    std::string refused(unsigned submission, const std::string& field);

private:
    std::map<unsigned, std::string> texts_;
    // The refused texts that head the field, by submission.
    std::map<unsigned, std::string> putBack_;
};
