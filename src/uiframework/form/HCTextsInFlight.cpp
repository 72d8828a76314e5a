#include "uiframework/form/HCTextsInFlight.h"

void HCTextsInFlight::sent(unsigned submission, std::string text)
{
    texts_[submission] = std::move(text);
}

void HCTextsInFlight::delivered(unsigned submission)
{
    texts_.erase(submission);
}

std::string HCTextsInFlight::refused(unsigned submission, const std::string& field)
{
    auto found = texts_.find(submission);
    if (found == texts_.end()) return field;
    std::string text = std::move(found->second);
    texts_.erase(found);
    return field.empty() ? text : text + " " + field;
}
