#include "uiframework/form/HCTextsInFlight.h"

#include <algorithm>

namespace {

std::string joined(const std::map<unsigned, std::string>& texts)
{
    std::string out;
    for (const auto& [submission, text] : texts) out += (out.empty() ? "" : " ") + text;
    return out;
}

}  // namespace

void HCTextsInFlight::sent(unsigned submission, std::string text)
{
    texts_[submission] = std::move(text);
    putBack_.clear();
}

void HCTextsInFlight::delivered(unsigned submission)
{
    texts_.erase(submission);
}

std::string HCTextsInFlight::refused(unsigned submission, const std::string& field)
{
    auto found = texts_.find(submission);
    if (found == texts_.end()) return field;
    // What was typed since: the field less the texts put back before, unless
    // the player changed those meanwhile.
    const std::string head = joined(putBack_);
    std::string typed = field;
    if (!head.empty() && field.starts_with(head) && (field.size() == head.size() || field[head.size()] == ' ')) {
        typed = field.substr(std::min(field.size(), head.size() + 1));
    } else {
        putBack_.clear();
    }
    putBack_[submission] = std::move(found->second);
    texts_.erase(found);
    const std::string back = joined(putBack_);
    return typed.empty() ? back : back + " " + typed;
}
