#pragma once
// What the presence channel's news means for the inbox: a new message from
// another player ("New message from …") or a player who came online
// ("… is online") makes a notice that carries, as its user data, an inbox
// page ready to start the conversation with that player (the game's
// notification delegate may show it). A message of the conversation on
// screen needs no notice: the page shows it already. An inbox list on
// screen reloads, so its rows and unread counts follow.
//
// Thread: main thread.
#include "core/banners/HCNotificationData.h"

class HCInboxNotice {
public:
    // Nil when the resource deserves no notice.
    static HCNotificationDataPtr noticeFor(const platform::ObjectPtr& resource);
};
