#pragma once
// The web intro flow: the intro page of the dashboard's web pages
// ("webui/intro.html" below the service root, "intro.html" in the local
// mirror), which takes the whole screen and so has no title of its own.
//
// Thread: main thread.
#include <memory>

#include "dashboard/HCWebViewController.h"

class HCWebNavIntroFlowController final : public HCWebViewController {
public:
    static constexpr const char* kIntroPage = "webui/intro.html";

    static std::shared_ptr<HCWebNavIntroFlowController> controller();

    std::string getAction() override { return kIntroPage; }
    std::string kindName() const override { return "HCWebNavIntroFlowController"; }
};
