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
// A text that went unanswered is named to the player by its head
// (notSentMessage): enough of it to know which, on one line, whatever the
// text holds.
//
// Thread: main thread.
#include <cstddef>
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
    // That `submission` was not sent, quoting the first kQuotedCharacters
    // characters of its text as the player sees them, none split (an ellipsis
    // marks the cut; line ends, controls and runs of blanks read as one
    // blank; direction marks go); without a quote when the text is unknown
    // or shows nothing.
    std::string notSentMessage(unsigned submission) const;
    // The same for a text known otherwise (a form's field).
    static std::string notSentMessageFor(const std::string& text);

    static constexpr size_t kQuotedCharacters = 40;

private:
    std::map<unsigned, std::string> texts_;
    // The refused texts that head the field, by submission.
    std::map<unsigned, std::string> putBack_;
};
