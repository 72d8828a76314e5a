#include "gamepages/highscores/HCShareHighScoreCell.h"

HCShareHighScoreCell::HCShareHighScoreCell()
{
    setFrame(platform::ui::Rect(0, 0, 320, 44));
}

void HCShareHighScoreCell::onResourceChanged(const platform::ObjectPtr&)
{
    textLabel()->setText(kTitle);
}
