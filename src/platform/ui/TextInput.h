#pragma once
// What text inputs share: the keyboard they ask for, the range type their
// delegates are asked about, and helpers for the screen dump.
//
// Ranges count characters as code points (see Utf8.h), not UTF-16 units, so
// a range never splits a character that takes more than one unit elsewhere.
//
// Thread: plain values and pure functions; any thread.
#include <cstddef>
#include <string>

namespace platform::ui {

struct TextRange {
    size_t location = 0;
    size_t length = 0;
    bool operator==(const TextRange&) const = default;
};

// Numbers match the platform's keyboard settings.
enum class KeyboardType : int {
    Default = 0,
    ASCIICapable = 1,
    NumbersAndPunctuation = 2,
    URL = 3,
    NumberPad = 4,
    PhonePad = 5,
    NamePhonePad = 6,
    EmailAddress = 7,
};
enum class ReturnKeyType : int {
    Default = 0,
    Go = 1,
    WebSearch = 2,
    Join = 3,
    Next = 4,
    Route = 5,
    Search = 6,
    Send = 7,
    SiteSearch = 8,
    Done = 9,
    EmergencyCall = 10,
};
enum class AutocorrectionType : int { Default = 0, No = 1, Yes = 2 };
enum class AutocapitalizationType : int { None = 0, Words = 1, Sentences = 2, AllCharacters = 3 };

struct TextInputTraits {
    KeyboardType keyboardType = KeyboardType::Default;
    ReturnKeyType returnKeyType = ReturnKeyType::Default;
    AutocorrectionType autocorrectionType = AutocorrectionType::Default;
    AutocapitalizationType autocapitalizationType = AutocapitalizationType::Sentences;
    bool secureTextEntry = false;
    bool enablesReturnKeyAutomatically = false;
};

// A text in double quotes on one line: line breaks, tabs, quotes and
// backslashes escaped as in C.
std::string quotedForDump(const std::string& text);

// How a text input shows in the dump: the text in double quotes (a bullet
// per character when secure), else `placeholder "..."`, else "\"\"";
// then "editing" while it holds the focus.
std::string describeTextInput(const std::string& text, const std::string& placeholder, bool secure, bool editing);

}  // namespace platform::ui
