#pragma once
// How the settings store reaches the add-ons without knowing the layer that
// keeps them: that layer installs one hook at start-up
// (HCSettings::setAddOnHook), and the store calls it at the two moments the
// add-ons take part.
//
// Thread: called on the thread that creates the store or loads its file (the
// main thread at start-up).
class HCSettings;
class HCXmlReader;

class HCSettingsAddOnHook {
public:
    virtual ~HCSettingsAddOnHook() = default;
    // From the store's construction, after the built-in defaults are set.
    virtual void setDefaultAddOnSettings(HCSettings& settings) = 0;
    // From loadSettingsFile(), after the built-in keys are read; the reader is
    // positioned inside the file's "config" element (an empty scope when the
    // file is missing or has none).
    virtual void loadAddOnSettings(HCSettings& settings, HCXmlReader& reader) = 0;
};
