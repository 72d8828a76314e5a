#pragma once
// The client's entry class. A game makes one call at launch,
// initializeWithProductKey(), and the client exists: settings read, user
// options registered, services up in their fixed order, the provider with its
// request thread and the activity poller made, the application's life cycle
// followed. Almost everything else is a class method that reaches the one
// instance through sharedInstance() and answers a neutral value (NO, nil, 0)
// when there is none (before start-up and after shutdown()).
//
// The class's categories are its source files: Halcyon+UserOptions (what is
// remembered about the player between launches), Halcyon+UserStats (play and
// dashboard time per user), Halcyon+NSNotification (the client's notices),
// Halcyon+HCSettings (display names and polling intervals), Halcyon+AddOns
// (the add-on registry), Halcyon+LifeCycle and Halcyon+Startup.
//
// initializeWithProductKey() itself is defined in client/, the one layer
// that sees every service and every hook; it hands _initialize() the
// assembly (service table, hook installation) that start-up runs.
//
// Thread: start-up, shut-down, the life cycle, the log-in decision, the
// polling operations and the facility queries run on the main thread. The
// user options, the counters' reset and the notices may be used from any
// thread (notices always reach observers on the main thread).
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "core/halcyon/HCAddOn.h"
#include "core/halcyon/HCDashboardHooks.h"
#include "core/halcyon/HCLocationSource.h"
#include "core/halcyon/HCLoginChain.h"
#include "core/halcyon/HCLoginScreens.h"
#include "core/halcyon/HCServiceEntry.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Values.h"
#include "platform/gamecenter/GameCenterDevice.h"

class HalcyonDelegate;
class HCBragDelegate;
class HCChallengeDelegate;
class HCDelegatesContainer;
class HCGameProfilePageInfo;
class HCNotificationDelegate;
class HCOfflineConnection;
class HCPaginatedSeries;
class HCISerializer;
class HCUser;
class HCPoller;
class HCProvider;
class HCActionRequest;
class HCReachabilityObserver;
class HCServerException;
class HCSession;
class HCSettingsAddOnHook;
namespace platform::gamecenter {
class Score;
}

// What start-up needs from the layer that puts the client together.
struct HCClientAssembly {
    // The services present in this build; start-up and shut-down sort them by
    // their places.
    std::vector<HCServiceEntry> services;
    // Installs every hook of the lower layers; removeHooks takes them out again.
    std::function<void()> installHooks;
    std::function<void()> removeHooks;
    // Where a decided log-in goes; nil: every log-in ends offline at once.
    std::shared_ptr<HCLoginChain> loginChain;
    // The approval, confirm-account and linking screens; nil: none shown.
    std::shared_ptr<HCLoginScreens> loginScreens;
    // Sends what was kept for the service while offline (the offline store
    // fills it); nil: nothing is pending.
    std::function<void(const std::string& userId)> sendPendingData;
    // Fetches the game's announcements after each log-in, and forgets them
    // when the dashboard goes offline; nil: this build has none.
    std::function<void()> downloadAnnouncements;
    std::function<void()> clearLocalAnnouncements;
    // Brings the local mirror of the dashboard's web pages up to date (in
    // the background); nil: this build has no web pages.
    std::function<void()> updateWebPages;
    // Makes a fresh location object; nil: the client has none to start.
    std::function<std::shared_ptr<HCLocationSource>()> makeLocation;
    // A challenge from a push payload: shown at launch, or announced while running.
    std::function<void(const std::string& challengeId)> showChallengeDetail;
    std::function<void(const std::string& challengeId)> showChallengeNotification;
};

// The per-user counters of Halcyon+UserStats as sent with a log-in, so that
// the reset after the reply takes away exactly what was sent, from the user
// it was counted for.
struct HCUserStatsSnapshot {
    std::string userId;
    long gameSessions = 0;
    long onlineGameSessions = 0;
    long gameSessionsDuration = 0;
    long dashboardLaunches = 0;
    long dashboardDuration = 0;
};

class Halcyon final : public platform::Object, public HCCallbackable {
public:
    static constexpr int kVersionNumber = 3252011;
    static constexpr const char* kReleaseVersionString = "2.10";
    static constexpr const char* kActivitiesPath = "users/@me/activities.xml";

    // ===== Start-up and shut-down ==========================================
    // Once per process; later calls do nothing. Defined in client/.
    // `delegates` may be nil (an empty container is kept then); the client
    // keeps the container, not the delegates in it.
    static void initializeWithProductKey(const std::string& productKey, const std::string& secret,
                                         const std::string& displayName,
                                         const std::shared_ptr<platform::Dictionary>& settings,
                                         const std::shared_ptr<HCDelegatesContainer>& delegates);
    // The start-up sequence with the given assembly.
    static void _initialize(const std::string& productKey, const std::string& secret, const std::string& displayName,
                            const std::shared_ptr<platform::Dictionary>& settings,
                            const std::shared_ptr<HCDelegatesContainer>& delegates, HCClientAssembly assembly);
    // Takes the client down in its fixed order; nothing before start-up.
    static void shutdown();
    // Memory the client would hold back for the dashboard while it is closed
    // (from start-up, and again once it has gone) and hand over as it is
    // about to open. Nothing needs holding back on this platform.
    static void reserveMemory() {}
    static void releaseReservedMemory() {}

    static std::shared_ptr<Halcyon> sharedInstance();
    static int versionNumber() { return kVersionNumber; }
    static std::string releaseVersionString() { return kReleaseVersionString; }
    bool canReceiveCallbacksNow() const override { return true; }

    // ===== Push notifications ==============================================
    // "resource_id" of a payload whose "notification_type" is "challenge".
    static std::optional<std::string> getChallengeIdIfExist(const std::shared_ptr<platform::Dictionary>& payload);
    static bool respondToApplicationLaunchOptions(const std::shared_ptr<platform::Dictionary>& launchOptions);
    static bool applicationDidReceiveRemoteNotification(const std::shared_ptr<platform::Dictionary>& notification);
    // The platform's push token goes to the service; nobody waits for the answer.
    static void applicationDidRegisterForRemoteNotificationsWithDeviceToken(
        const std::shared_ptr<platform::Data>& deviceToken);
    static void applicationDidFailToRegisterForRemoteNotifications() {}

    // ===== Log-in chain and approval (Halcyon+Login) =======================
    // The log-in decision. While a log-in runs the call has no effect and its
    // delegates are dropped. A player who approved the service is logged in
    // (the delegates wait for the outcome); one never asked is shown the
    // approval screen; one who declined gets only Game Center. Every log-in
    // ends with the waiting delegates (success or failure), then the game's
    // delegate and the add-ons hear whether the player is online
    // (userLoggedIn) or not (offlineUserLoggedIn).
    static void doBootstrapAsUserId(const std::optional<std::string>& userId, bool newUser,
                                    const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static void doBootstrapAsUserId(const std::optional<std::string>& userId, const HCDelegate& onSuccess,
                                    const HCDelegate& onFailure)
    {
        doBootstrapAsUserId(userId, false, onSuccess, onFailure);
    }
    static void doBootstrapAsNewUserOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
    {
        doBootstrapAsUserId(std::nullopt, true, onSuccess, onFailure);
    }
    static void loginWithUserId(const std::optional<std::string>& userId, const HCDelegate& onSuccess,
                                const HCDelegate& onFailure)
    {
        doBootstrapAsUserId(userId, onSuccess, onFailure);
    }
    static void addBootstrapDelegates(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // The session's reports (through the log-in chain).
    static void sessionDidLoginUser();
    static void sessionFailureWithException(const std::shared_ptr<HCServerException>& exception);
    static void sessionDidLogoutUser();
    // The host refused the player: the log-in in progress ends.
    static void abortBootstrap();
    static bool isSuccessfullyBootstrapped();
    static bool isBootstrapInProgress();
    // A log-in has completed since launch (or since the last log-out).
    static bool hasBootstrapCompleted();
    static void invalidateBootstrap();
    // Logged in and the game server reachable.
    static bool isOnline();

    static void userDidApproveHalcyon(bool approved);
    static void userDidApproveHalcyon(bool approved, const HCDelegate& accountSetupComplete);
    static void presentUserHalcyonApprovalModal(const HCDelegate& approved, const HCDelegate& denied);
    // In the open dashboard the screen is pushed on the page it was asked
    // from, unless `useModalInDashboard` asks for a sheet of its own.
    static void presentConfirmAccountModal(const HCDelegate& complete, bool useModalInDashboard);
    // The web intro flow, full screen, over the open dashboard or the
    // game's screen. The delegates are not used.
    static void presentHalcyonIntroFlowWebNavController(const HCDelegate& approved, const HCDelegate& denied);
    // The intro flow's screen goes away (in the dashboard: its sheet, else
    // the dashboard itself); a logged-in call held back for it is made now.
    // A screen that ends its own flow names itself, so the flow that holds
    // it goes and no other (see HCLoginScreens).
    static void dismissRootControllerOrItsModal(const platform::ui::ViewControllerPtr& endingScreen = nullptr);
    static bool isConfirmAccountFlowActive();

    static void initializeGameCenter();
    static void loginGameCenterCheck();

    // ===== Game Center (core/gamecenter; main thread) ========================
    // Answers arrive on the main thread.
    using GameCenterHandler = std::function<void(const std::optional<platform::gamecenter::Error>& error)>;
    using GameCenterNameHandler = std::function<void(const std::optional<std::string>& alias,
                                                     const std::optional<platform::gamecenter::Error>& error)>;
    static bool isLoggedIntoGameCenter();
    static void releaseGameCenter();
    static std::optional<std::string> getGameCenterLeaderboardCategory(const std::string& leaderboardId);
    static std::optional<std::string> getGameCenterAchievementId(const std::string& achievementId);
    // The service leaderboard ids that the Game Center map names (read from
    // the game's main bundle when the bridge is not made yet).
    static std::vector<std::string> getGameCenterMappedLeaderboardIds();
    // The report's date (the score's Game Center time); nil, and a failed
    // answer, while Game Center is not in use.
    static platform::DatePtr submitScoreToGameCenter(std::int64_t value, const std::string& category,
                                                     GameCenterHandler handler);
    static void submitAchievementToGameCenter(const std::string& identifier, double percentComplete,
                                              GameCenterHandler handler);
    static void loadGameCenterScores(const std::string& leaderboardId);
    static std::vector<std::shared_ptr<platform::gamecenter::Score>> getGameCenterScores(int timeScope);
    static bool isGameCenterScoreLoadedForLeaderboardId(const std::string& leaderboardId, unsigned timeScope);
    // The leaderboard whose Game Center scores were asked for last.
    static std::optional<std::string> getGameCenterCurrentCategory();
    static std::optional<std::string> getGameCenterCurrentLeaderboardId();
    static std::optional<std::vector<std::string>> getGameCenterFriends();
    static void loadGameCenterPlayerName(const std::string& playerId, GameCenterNameHandler handler);
    // The Game Center scores of the board loaded last, merged into a
    // leaderboard page's sections (defined in scores/highscores; see
    // HCGameCenterScoreMerge): nothing is merged unless `leaderboardId` maps
    // to that board. The given series and sections are left as they are.
    static std::shared_ptr<HCPaginatedSeries> combinedGameCenterForLeaderboardId(
        const std::string& leaderboardId, unsigned timeScope, const std::shared_ptr<HCPaginatedSeries>& globals,
        const std::shared_ptr<HCPaginatedSeries>& friends);
    // One page (nil: none) merged with the scope's Game Center scores, in the
    // order of the board loaded last.
    static std::shared_ptr<HCPaginatedSeries> _combineGameCenterScope(unsigned timeScope,
                                                                      const std::shared_ptr<HCPaginatedSeries>& page);
    static void loginShowNotifications();
    static void loginWasAborted(bool sslFailure);
    static void showSSLNotification();
    // A request needs a log-in (the provider's 401): tell the player, then
    // abandon the request.
    static void launchLoginFlowAndShowDashboard(bool showDashboard, const std::shared_ptr<HCActionRequest>& request);
    static void launchLoginFlowThenDismiss() { launchLoginFlowAndShowDashboard(false, nullptr); }
    static void launchLoginFlowToDashboard() { launchLoginFlowAndShowDashboard(true, nullptr); }
    static void launchLoginFlowForRequest(const std::shared_ptr<HCActionRequest>& request);
    static void switchToOnlineDashboard();
    static void switchToOfflineDashboard();
    static bool isHalcyonDashboardInOnlineMode();

    // ===== Shared objects ==================================================
    static std::shared_ptr<HCProvider> provider();
    // The game's delegates from the container; nil when not given.
    static HalcyonDelegate* getDelegate();
    static HCNotificationDelegate* getNotificationDelegate();
    static HCChallengeDelegate* getChallengeDelegate();
    static HCBragDelegate* getBragDelegate();
    static std::shared_ptr<HCPoller> poller();
    // The JSON session; nil before start-up.
    static std::shared_ptr<HCSession> session();
    static std::string sessionId();
    static platform::DatePtr sessionStartDate();
    static std::optional<std::string> mProductKey();
    static void setMProductKey(const std::optional<std::string>& productKey);
    static bool mUseSandboxPushNotificationServer();
    static bool mForceUserCheckOnBootstrap();
    static void setMForceUserCheckOnBootstrap(bool value);
    static bool dashboardVisible();
    static void setDashboardVisible(bool visible);
    static bool requireOnlineStatus();
    static bool pushNotificationsEnabled();
    static bool isUsingGameCenter();
    static bool snapDashboardRotation();
    static bool allowErrorScreens();
    static void setAllowErrorScreens(bool allow);
    static std::shared_ptr<platform::Object> presentationWindow();
    // The dashboard orientation the game asked for at start-up; 1 with no instance.
    static int getDashboardOrientation();
    // The overrides the game gave for the controller loader (nil when none).
    static std::optional<std::string> overrideAssetFileSuffix();
    static std::optional<std::string> overrideClassNamePrefix();
    // The cloud-storage options of the settings dictionary.
    static bool cloudStorageCompressionDisabled();
    static bool cloudStorageVerboseCompression();
    static bool cloudStorageLegacyHeaderlessCompression();

    // ===== Offline database (defined in scores/offline) ==============
    // Opens "halcyon_offline" in Documents on its two connections (closing
    // any earlier ones); the offline service calls it first at start-up and
    // teardownOfflineDatabase() when it goes. Main thread.
    static void setupOfflineDatabase();
    static void teardownOfflineDatabase();
    // The main thread's connection and the provider request thread's; nil
    // while the database is not open. Each is used only on its own thread.
    static std::shared_ptr<HCOfflineConnection> getOfflineDatabaseHandle();
    static std::shared_ptr<HCOfflineConnection> getBootstrapOfflineDatabaseHandle();

    // ===== Dashboard (Halcyon+Dashboard) ===================================
    // Opens the dashboard on its default tab (or the tab and pushed
    // controllers given), after the approval question when the player was
    // never asked. Nothing without a dashboard in the build.
    static void launchDashboard() { launchDashboardWithDelegate(nullptr); }
    // `delegate` hears this launch's appearance calls instead of the game's
    // own delegate, until the dashboard is gone (not retained).
    static void launchDashboardWithDelegate(HalcyonDelegate* delegate);
    static void launchDashboardWithDelegate(HalcyonDelegate* delegate, const std::optional<std::string>& tab,
                                            const std::vector<platform::ObjectPtr>& controllers);
    // The tab with nothing pushed, or with one controller (a loader name or
    // a controller) pushed on it.
    static void launchDashboardWithDelegate(HalcyonDelegate* delegate, const std::optional<std::string>& tab);
    static void launchDashboardWithDelegateAndController(HalcyonDelegate* delegate,
                                                         const std::optional<std::string>& tab,
                                                         const platform::ObjectPtr& controller);
    static void dismissDashboard();
    // Open the dashboard on the Now Playing tab with the game's leaderboards,
    // or with that leaderboard's scores over them (the list alone for no id
    // or an id that names no leaderboard).
    static void launchDashboardWithListLeaderboardsPage();
    static void launchDashboardWithHighscorePage(const std::optional<std::string>& leaderboardId);
    // Opens the dashboard on the Now Playing tab with the game's achievements
    // (only when the game has achievements).
    static void launchDashboardWithAchievementsPage();
    // Open the dashboard on the Now Playing tab with who plays this game or
    // with its challenges.
    static void launchDashboardWithWhosPlayingPage();
    static void launchDashboardWithChallengesPage();
    // Open the dashboard on the My Halcyon tab with the page that finds the
    // player's friends, or with the one that switches to another account.
    static void launchDashboardWithFindFriendsPage();
    static void launchDashboardWithSwitchUserPage();
    // The two below make their page by its class, so they are defined in
    // client/ (Halcyon+Shortcuts), which sees the pages.
    // Opens the dashboard on the Games tab with the page about that client
    // application; without an id nothing opens and a warning is logged.
    static void launchDashboardWithiPurchasePage(const std::optional<std::string>& clientApplicationId);
    // Opens the dashboard on the My Halcyon tab with a conversation with
    // `user`, its message box holding `initialText`; when user-generated
    // content is not allowed, only an alert saying so.
    static void launchDashboardWithIMToUser(const std::shared_ptr<HCUser>& user, const std::optional<std::string>& initialText);
    // Opens the dashboard on the Now Playing tab with the game's forums; when
    // user-generated content is not allowed, only an alert saying so.
    static void launchDashboardWithForumsPage();
    // Opens the dashboard on the Now Playing tab with the global chat rooms;
    // when user-generated content is not allowed, only an alert saying so.
    static void launchDashboardWithListGlobalChatRoomsPage();
    // The kinds of player-written content a shortcut or a page opens.
    enum class UserGeneratedContentUse { InstantMessages, ChatRooms, Forums };
    // YES while user-generated content is allowed; otherwise shows the alert
    // that the use is closed by the device's parental controls and answers NO.
    static bool allowUserGeneratedContentFor(UserGeneratedContentUse use);
    // Open the dashboard with the invite flow's start page: on the Now Playing
    // tab offering the game's primary invitation, or on the My Halcyon tab
    // offering the one of that identifier.
    static void launchDashboardWithInvitePage();
    static void launchDashboardWithSpecificInvite(const std::string& inviteIdentifier);
    // Opens the dashboard on the Now Playing tab with the social post page
    // the social pages prepare (lead text, message, image name, link); the
    // page closes the dashboard once the post went out.
    static void launchDashboardWithSocialNotificationWithPrepopulatedText(const std::optional<std::string>& text,
                                                                         const std::optional<std::string>& originalMessage,
                                                                         const std::optional<std::string>& imageName,
                                                                         const std::optional<std::string>& linkedUrl);
    using SocialPostPageMaker = std::function<platform::ObjectPtr(
        const std::optional<std::string>&, const std::optional<std::string>&, const std::optional<std::string>&,
        const std::optional<std::string>&)>;
    static void setSocialPostPageMaker(SocialPostPageMaker maker);
    // Frame up, not fading out, content shown; NO without a dashboard.
    static bool isShowingFullScreen();
    // Full screen with the tabbed dashboard as its content.
    static bool isDashboardHubOpen();
    // This launch's delegate, set and cleared by the dashboard.
    static void setLaunchDelegate(HalcyonDelegate* delegate);
    static void setDashboardHooks(HCDashboardHooks hooks);
    static const HCDashboardHooks& dashboardHooks();

    // ===== Orientation (Halcyon+Orientation) ================================
    // Orientations are the platform's numbers (platform::ui::InterfaceOrientation):
    // 1 portrait, 2 upside down, 3 and 4 landscape. Nothing with no instance
    // or with the current value; ignored on a small screen while the
    // dashboard is full screen; on a large screen a full-screen dashboard
    // turns with the status bar.
    static void setDashboardOrientation(int orientation);
    // NO while the dashboard is full screen on a small screen; otherwise
    // whether `orientation` is among the first `count` of `supported`.
    static bool shouldAutorotateToInterfaceOrientation(int orientation, const int* supported, size_t count);
    static bool isInLandscapeMode();
    static bool isInLandscapeModeOniPad();
    // The main screen reaches x 768 or more.
    static bool isLargeScreen();
    // (3, 3, 640, 480) on a large screen; else the screen's bounds, turned in landscape.
    static platform::ui::Rect getDashboardBounds();
    static void transformView(const platform::ui::ViewPtr& view, int orientation);
    static void transformViewToDashboardOrientation(const platform::ui::ViewPtr& view);
    // Large screen only: animates the dashboard's root view into `to`
    // ("HCInterfaceOrientationRotate", 0.4 s a quarter turn, 0.8 s a half
    // turn, 0 when snapping) and posts the orientation change.
    void _rotateDashboardFromOrientation(int from, int to);

    // ===== Polling =========================================================
    static void setPollingFrequency(double seconds);
    static void setPollingToDefaultFrequency();
    static void stopPolling();
    static void forceImmediatePoll();
    static void clearPollingCacheForClassType(const std::string& resourceClassName);

    // ===== Facilities ======================================================
    // NO with no instance, when parental controls are on, or when the game
    // disabled user-generated content.
    static bool allowUserGeneratedContent();
    // The same rule with the game's location setting.
    static bool allowLocationServices();
    // The banner position 0 to 3; 1 with no instance.
    static int notificationPosition();
    static bool invertNotifications();
    // The location object's last fix; nil without one, and while location
    // services are not allowed or the distance unit is 1 (sharing off).
    static platform::ObjectPtr getUserLocation();
    static void setUserLocation(std::shared_ptr<HCLocationSource> location);
    // Starts a fresh location object only when location services are allowed,
    // the user approved the service and the distance unit is not 1 (off).
    static void startLocationManagerIfAllowed();
    static std::shared_ptr<HCLocationSource> locationSource();

    // ===== Life cycle (main thread; observed from the application) =========
    void applicationWillResignActive();
    void applicationDidBecomeActive();
    void applicationDidEnterBackground();
    void applicationWillEnterForeground();
    static void gameServerReachabilityChanged(int status);

    // ===== Display names and polling settings (Halcyon+HCSettings) =========
    static void intiailizeSettings();
    static std::string applicationDisplayName();
    static std::string applicationShortDisplayName();
    static long getPollingFrequencyDefault();
    static void storePollingFrequencyDefault(long seconds);
    static long getPollingFrequencyInChat();
    static void storePollingFrequencyInChat(long seconds);

    // ===== Add-ons (Halcyon+AddOns) ========================================
    // Before start-up only: a later registration is refused (programming
    // error, answers NO) so the list never changes under a broadcast.
    static bool registerAddOn(std::shared_ptr<HCAddOn> addOn);
    static void preInitializeAddOns(const std::shared_ptr<platform::Dictionary>& settings);
    static void initializeAddOns(const std::shared_ptr<platform::Dictionary>& settings);
    static void shutdownAddOns();
    static void setDefaultAddOnSettings(HCSettings& settings);
    static void loadAddOnSettings(HCSettings& settings, HCXmlReader& reader);
    static bool allowAddOnsToRespondToPushNotification(const std::shared_ptr<platform::Dictionary>& notification,
                                                       bool duringApplicationLaunch);
    static void notifyAddOnsUserLoggedIn();
    static void notifyAddOnsUserLoggedInPostIntro();
    static void notifyAddOnsOfflineUserLoggedInPostIntro();
    static void notifyAddOnsUserLoggedOut();
    // The settings store's way into the registry.
    static std::shared_ptr<HCSettingsAddOnHook> addOnSettingsHook();
    // Empties the registry and opens it again (tests).
    static void _resetAddOnsForTesting();

    // ===== User options (Halcyon+UserOptions) ==============================
    static void intiailizeUserOptions();
    static bool shouldAutomaticallyPromptLogin();
    static void setDontAutomaticallyPromptLogin();
    static bool hasUserSetHalcyonAccess();
    static bool hasUserApprovedHalcyon();
    static void setUserApprovedHalcyon();
    static void setUserDeniedHalcyon();
    static void _resetHasUserSetHalcyonAccessKey();
    static bool shouldWarnOnIncompleteDelegates() { return false; }
    static void setShouldWarnOnIncompleteDelegates(bool value);
    static bool lastLoggedInUserHasSetName();
    static void setLoggedInUserHasSetName(bool value);
    static bool lastLoggedInUserHadFriendsOnBootup();
    static void setLoggedInUserHadFriendsOnBootup(bool value);
    static bool loggedInUserSharesOnlineStatus();
    static void setLoggedInUserSharesOnlineStatus(bool value);
    static bool loggedInUserHasNonDeviceCredential();
    static void setLoggedInUserHasNonDeviceCredential(bool value);
    static bool loggedInUserHasHttpBasicCredential();
    static void setLoggedInUserHasHttpBasicCredential(bool value);
    static bool loggedInUserHasFbconnectCredential();
    static void setLoggedInUserHasFbconnectCredential(bool value);
    static bool loggedInUserHasTwitterCredential();
    static void setLoggedInUserHasTwitterCredential(bool value);
    static bool loggedInUserIsNewUser();
    static void setLoggedInUserIsNewUser(bool value);
    static std::optional<std::string> clientApplicationId();
    static void setClientApplicationId(const std::optional<std::string>& id);
    static std::optional<std::string> initialDashboardScreen();
    static void setInitialDashboardScreen(const std::optional<std::string>& screen);
    static std::optional<std::string> initialDashboardModalContentURL();
    static void setInitialDashboardModalContentURL(const std::optional<std::string>& url);
    static std::optional<std::string> clientApplicationIconUrl();
    static void setClientApplicationIconUrl(const std::optional<std::string>& url);
    static long unviewedChallengesCount();
    static void setUnviewedChallengesCount(long count);
    static long pendingFriendsCount();
    static void setPendingFriendsCount(long count);
    static long unreadIMCount();
    static void setUnreadIMCount(long count);
    static long unreadPostCount();
    static void setUnreadPostCount(long count);
    static long unreadInviteCount();
    static void setUnreadInviteCount(long count);
    static void setUnreadIMCount(long im, long posts, long invites);
    static long unreadInboxTotal();
    static bool userHasRememberedChoiceForNotifications();
    static void setUserHasRememberedChoiceForNotifications(bool value);
    static bool userAllowsNotifications();
    static void setUserAllowsNotifications(bool value);
    static long userDistanceUnit();
    // Stores 1 (off) instead whenever location services are not allowed.
    static void setUserDistanceUnit(long unit);
    static std::optional<std::string> suggestionsForumId();
    static void setSuggestionsForumId(const std::optional<std::string>& id);
    static bool doneWithGetTheMost();
    static void setDoneWithGetTheMost(bool value);
    static bool isDisabled();
    static void setDisabled(bool value);
    static bool isSynchedWithGameCenterAchievements();
    static void setSynchWithGameCenterAchievements(bool value);
    static bool isSynchedWithGameCenterLeaderboards();
    static void setSynchWithGameCenterLeaderboards(bool value);
    // The distant past when nothing is stored (and then stored).
    static platform::DatePtr lastAnnouncementDateForLocalUser();
    // Stores the date only when it is later than the stored one.
    static void setLastAnnouncementDateForLocalUser(const platform::DatePtr& date);
    // The local player: nil before start-up; the invalid user (id "0")
    // until someone has logged in. Any thread.
    static std::shared_ptr<HCUser> localUser();
    // Stores the player, replaces the cached one and posts the user-changed
    // notice (previous, new). Nil is ignored.
    static void setLocalUser(const std::shared_ptr<HCUser>& user);
    // "0" until someone has logged in.
    static std::string lastLoggedInUserId();
    static std::optional<std::string> lastLoggedInUserName();
    static std::optional<std::string> lastLoggedInUserProfilePictureUrl();
    static bool lastLoggedInUserUsesFacebookProfilePicture();
    static void loggedInUserChangedNameTo(const std::string& name);
    // Forgets the approval answer, logs the local player out and drops the
    // stored credentials.
    static void _resetHasUserSetHalcyonAccess();
    // Unarchived on every call; the default info when none reads back.
    static std::shared_ptr<HCGameProfilePageInfo> localGameProfileInfo();
    // Also makes the profile's id the client application id.
    static void setLocalGameProfileInfo(const std::shared_ptr<HCGameProfilePageInfo>& info);
    static bool appHasAchievements();
    static bool appHasChallenges();
    static bool appHasLeaderboards();
    static bool appHasFeaturedApplication();
    // unviewed challenges + unread announcements, as text.
    static std::string nowPlayingBadge(unsigned unreadAnnouncements);
    // pending friends + unread inbox, as text.
    static std::string myHalcyonBadge();

    // ===== User statistics (Halcyon+UserStats) =============================
    static void intiailizeUserStats();
    static void shutdownUserStats();
    static long numberOfGameSessions();
    static void setNumberOfGameSessions(long value);
    static void incrementNumberOfGameSessions();
    static long numberOfOnlineGameSessions();
    static void setNumberOfOnlineGameSessions(long value);
    static void incrementNumberOfOnlineGameSessions();
    static long totalGameSessionsDuration();
    static void setTotalGameSessionsDuration(long value);
    static void incrementTotalGameSessionsDurationBy(long seconds);
    static long numberOfDashboardLaunches();
    static void setNumberOfDashboardLaunches(long value);
    static void incrementNumberOfDashboardLaunches();
    static long totalDashboardDuration();
    static void setTotalDashboardDuration(long value);
    static void incrementTotalDashboardDurationBy(long seconds);
    static long getUserStatValue(const std::string& statKey);
    static void setUserStatValue(const std::string& statKey, long value);
    // "<stat key>.<last logged-in user id>".
    static std::string statUserKeyName(const std::string& statKey);
    static void dashboardLaunched();
    static void dashboardClosed();
    static void sessionActive();
    static void sessionNotActive();
    static void saveSessionDuration();
    // Writes the current user's counters for the log-in request and answers
    // what it wrote; resetUserStats(snapshot) later takes exactly that away.
    static HCUserStatsSnapshot getUserStatsParams(HCISerializer& writer);
    static void resetUserStats(const HCUserStatsSnapshot& sent);
    // Forgets the timing state and the observers (tests).
    static void _resetUserStatsForTesting();

    // ===== Notices (Halcyon+NSNotification) ================================
    // Each posts on the main thread: at once when called there, else through
    // the main run loop, in call order.
    static void postUserChangedNotification(const platform::ObjectPtr& fromUser, const platform::ObjectPtr& toUser);
    static void postUnviewedChallengeCountChangedTo(unsigned count);
    static void postPendingFriendsCountChangedTo(unsigned count);
    static void postAddFriend(const platform::ObjectPtr& user);
    static void postRemoveFriend(const platform::ObjectPtr& user);
    static void postUnreadAnnouncementCountChangedTo(unsigned count);
    static void postUnreadInboxCountChangedTo(unsigned count);
    static void postUnreadIMCountChangedTo(unsigned count);
    static void postUnreadPostCountChangedTo(unsigned count);
    static void postUnreadInviteCountChangedTo(unsigned count);
    static void postDashboardOrientationChangedTo(int newOrientation, int oldOrientation);
    static void postBootstrapBegan(const std::optional<std::string>& userId);
    static void postBootstrapSucceeded();
    static void postBootstrapFailed();
    static void postFriendPresenceChanged(const platform::ObjectPtr& user, const platform::ObjectPtr& presence);

    Halcyon() = default;
    ~Halcyon() override;

private:
    // Starts the Game Center bridge, or runs the after-log-in check at once.
    static void startGameCenterBridge();
    // The instance's field, or `fallback` when there is no instance.
    template <class T>
    static T instanceField(T Halcyon::*field, std::type_identity_t<T> fallback = T())
    {
        auto instance = sharedInstance();
        return instance ? (*instance).*field : fallback;
    }
    static std::mutex& localUserMutex();
    // The end of every log-in: the game hears whether it runs online, unless
    // an intro flow holds the call back.
    void _invokeLoggedInDelegate();
    void invokeAndClearBootstrapDelegates(bool succeeded);
    static std::shared_ptr<HCLoginScreens> loginScreens(const std::shared_ptr<Halcyon>& instance);
    // Counts this launch's game session once, whichever way the log-in ends.
    void countGameSession();
    void showLoginBanner(const std::string& text, int type, bool success) const;
    static void registerArchivedDefaults();
    void readSettings(const std::shared_ptr<platform::Dictionary>& settings);
    // The cloud store's switches, set once before any transfer.
    void applyCloudStorageSettings() const;
    void observeApplication();
    void shutDownServices();
    bool isOnlineNow() const;
    bool parentalControlsEnabled() const;

    HCClientAssembly assembly_;
    std::shared_ptr<HCDelegatesContainer> delegatesContainer_;
    std::string displayName_;
    std::string shortDisplayName_;
    std::shared_ptr<HCProvider> provider_;
    std::shared_ptr<HCPoller> poller_;
    std::shared_ptr<HCSession> session_;
    std::shared_ptr<platform::Object> presentationWindow_;
    int dashboardOrientation_ = 1;
    int notificationPosition_ = 0;
    double pollingFrequencyBeforeResigningActive_ = 0;
    bool pushNotificationsEnabled_ = false;
    bool requireOnlineStatus_ = false;
    // Read by isOnline() from any thread.
    std::atomic<bool> successfullyBootstrapped_{false};
    bool bootstrapInProgress_ = false;
    // The flag bits of the log-in.
    bool confirmAccountFlowActive_ = false;
    bool hasDeferredLoginDelegate_ = false;
    bool dashboardInOnlineMode_ = false;
    // Per log-in decision: Game Center started, the game session counted.
    bool gameCenterInitialized_ = false;
    bool gameSessionCounted_ = false;
    bool allowErrorScreens_ = false;
    std::vector<HCDelegate> bootstrapSuccessDelegates_;
    std::vector<HCDelegate> bootstrapFailureDelegates_;
    std::shared_ptr<HCLocationSource> location_;
    std::optional<std::string> productKey_;
    std::string sessionId_;
    platform::DatePtr sessionStartDate_;
    bool usingGameCenter_ = false;
    bool forceUserCheckOnBootstrap_ = false;
    bool snapDashboardRotation_ = false;
    bool useSandboxPushNotificationServer_ = false;
    bool developerDisabledUGC_ = false;
    bool developerDisabledLocationServices_ = false;
    bool cloudStorageCompressionDisabled_ = false;
    bool cloudStorageVerboseCompression_ = false;
    bool cloudStorageLegacyHeaderlessCompression_ = false;
    std::optional<std::string> overrideAssetFileSuffix_;
    std::optional<std::string> overrideClassNamePrefix_;
    std::unique_ptr<HCReachabilityObserver> reachabilityObserver_;
    bool appNeedsGetLocationOnForeground_ = false;
    // Read by the provider on the request thread.
    std::atomic<bool> dashboardVisible_{false};
    HalcyonDelegate* launchDelegate_ = nullptr;
    // Guarded by localUserMutex(): written on the request thread by the log-in.
    std::shared_ptr<HCUser> cachedLocalUser_;
};
