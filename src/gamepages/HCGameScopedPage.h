#pragma once
// A page about one game that the game's page fills in before pushing it
// (the game's name, id and icon). Pages above this layer (who's playing)
// implement it; the game's page sets it on whatever it loaded by name.
//
// Thread: main thread.
#include <optional>
#include <string>

class HCGameScopedPage {
public:
    virtual ~HCGameScopedPage() = default;
    virtual void setApplicationName(const std::optional<std::string>& name) = 0;
    virtual void setApplicationId(const std::optional<std::string>& id) = 0;
    virtual void setApplicationIconUrl(const std::optional<std::string>& url) = 0;
};
