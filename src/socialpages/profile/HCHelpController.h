#pragma once
// The help page ("Help"): the service's web page "help.iphone".
//
// Thread: main thread.
#include "dashboard/HCWebViewController.h"

class HCHelpController final : public HCWebViewController {
public:
    std::string getAction() override { return "help.iphone"; }
    std::string getTitle() override { return "Help"; }
    std::string kindName() const override { return "HCHelpController"; }
};
