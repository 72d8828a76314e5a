#pragma once
// A score's pin: the player's picture on the map with the rank badge on
// top, and a callout with the picture on the left and a disclosure button
// (the map's page opens the player's profile with it) on the right.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/MapView.h"

class HCHighScoreAnnotation;
class HCImageView;

class HCHighScoreAnnotationView final : public platform::ui::AnnotationView {
public:
    static constexpr const char* kReuseIdentifier = "HighScoreAnnotationView";

    HCHighScoreAnnotationView(const std::shared_ptr<HCHighScoreAnnotation>& annotation, std::string reuseIdentifier);
    // Shows this annotation's player and badge (a reused view drops the last one's).
    void setHighScoreAnnotation(const std::shared_ptr<HCHighScoreAnnotation>& annotation);

    std::string kindName() const override { return "HCHighScoreAnnotationView"; }

private:
    std::shared_ptr<HCImageView> mapImageView_;
    platform::ui::ViewPtr badge_;
};
