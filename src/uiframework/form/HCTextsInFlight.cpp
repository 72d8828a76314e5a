#include "uiframework/form/HCTextsInFlight.h"

#include <algorithm>
#include <vector>

#include "platform/ui/Graphemes.h"
#include "platform/ui/TextMetrics.h"
#include "platform/ui/Utf8.h"

namespace {

namespace utf8 = platform::ui::utf8;

bool readsAsBlank(char32_t c)
{
    return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0x2028 || c == 0x2029;
}

// Marks that only steer the direction of the text around them: quoted, they
// could turn the rest of the alert's sentence round.
bool steersDirection(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

// More marks than this on one base (Unicode's stream-safe form allows no
// more in a row) are there to spill over the alert, not to be read: the
// quote stops after them.
constexpr size_t kMarksOnOneBase = 30;

// The first `count` characters of `text` as the player sees them, on one
// line, blanks folded; marks resting on a blank fold with it.
std::string head(const std::string& text, size_t count)
{
    std::vector<char32_t> chars = utf8::decode(text);
    std::erase_if(chars, steersDirection);
    std::string out;
    size_t shown = 0;
    bool more = false;
    bool blankPending = false;
    for (size_t start = 0, end = 0; start < chars.size(); start = end) {
        end = platform::ui::graphemes::clusterEnd(chars, start);
        if (readsAsBlank(chars[start])) {
            blankPending = shown > 0;
            continue;
        }
        const size_t needed = blankPending ? 2 : 1;
        if (shown + needed > count) {
            more = true;
            break;
        }
        if (blankPending) out += ' ';
        blankPending = false;
        shown += needed;
        const size_t kept = std::min(end, start + 1 + kMarksOnOneBase);
        for (size_t i = start; i < kept; ++i) utf8::append(out, chars[i]);
        if (kept < end) {
            more = true;
            break;
        }
    }
    if (more) out += platform::ui::kEllipsis;
    return out;
}

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

std::string HCTextsInFlight::notSentMessage(unsigned submission) const
{
    auto found = texts_.find(submission);
    return notSentMessageFor(found == texts_.end() ? std::string() : found->second);
}

std::string HCTextsInFlight::notSentMessageFor(const std::string& text)
{
    const std::string quoted = head(text, kQuotedCharacters);
    return quoted.empty() ? "Your message was not sent." : "Your message \"" + quoted + "\" was not sent.";
}
