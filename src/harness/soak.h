// The soak: the real game loop run headless for as long as asked, with a restless player
// at the controls who goes everywhere the game has to offer (every menu entry and switch,
// the credits and instructions, games with docking, sales, fights, whirlpools, barrels,
// pauses, new islands, both kinds of game over, new high scores), and after every frame
// a check of every promise the game keeps between frames.
//
// The player's choices come from a generator of the soak's own, so the game's random
// numbers are exactly those of a game played by hand: a seed and a frame number are
// enough to replay a failure.
#pragma once
#include <cstdint>
#include <string>

#include "flow/gamestate.h"

// What the soak counts: screens by GameState, and events.
enum SoakEvent : int32_t {
    EventPlay,
    EventInstructions,
    EventCredits,
    EventMusicSwitch,
    EventSfxSwitch,
    EventSoundTest,
    EventNewGame,
    EventLoad,
    EventRepair,
    EventSale,
    EventFullHold,
    EventPause,
    EventBroadside,
    EventPirateSpawn,
    EventPirateSunk,
    EventPlayerHit,
    EventWhirlpoolSpawn,
    EventWhirlpoolCatch,
    EventBarrelSpawn,
    EventBarrelPickup,
    EventFullMagazine,
    EventDangerMusic,
    EventNewIslands,
    EventNewHighScore,
    EventGameOver,
    kSoakEventCount
};
extern const char* const soakEventNames[kSoakEventCount];

// The screens, in the order the tally counts them.
constexpr int32_t kSoakScreenCount = 12;
extern const Screen soakScreens[kSoakScreenCount];

struct SoakTally {
    int64_t frames;
    int64_t screenFrames[kSoakScreenCount];  // frames spent on each screen
    int64_t screenVisits[kSoakScreenCount];  // times each screen was entered
    int64_t events[kSoakEventCount];
};

// When set, RunSoak calls it after every kSoakProgressFrames frames with the tally so far,
// so that a long run can tell how far it has come (the soak tool prints a line).
constexpr int64_t kSoakProgressFrames = 1000;
extern void (*soakProgress)(const SoakTally& tally);

// Every promise the world and the screens keep between frames; "" when all hold, else
// the first that is broken, in words.
std::string CheckInvariants();

// Plays frames from the game's very first frame under srand(seed), checking the promises
// after each. Stops at the first broken one and returns "frame N: what broke"; returns ""
// after a clean run. The score file lives in a temporary home, thrown away afterwards.
// When brokenOnPurpose is set it runs once, before the check of frame breakAt, so that a
// test can see the check catch it.
std::string RunSoak(int64_t frames, uint32_t seed, SoakTally* tally, void (*brokenOnPurpose)() = nullptr,
                    int64_t breakAt = 0);

// The tally as lines of text for people: frames, screens and events with their counts.
std::string SoakSummary(const SoakTally& tally);

// The screens and events the tally never saw, comma-separated ("" when it saw them all).
std::string NeverReached(const SoakTally& tally);
