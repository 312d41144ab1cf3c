#include "texts.h"

const char* const welcomeText =
    "Ahoy!\n"
    "Welcome to these high seas!\n"
    "I've brought you aboard to help me navigate these dangerous waters to transport cargo.\n"
    "Navigate to active ports (with grey markers) to collect cargo or repair the ship, but watch out for whirlpools and pirates.\n"
    "The cargo is sold at ports with gold markers. The more cargo you sell at once, the more gold we will get!\n"
    "Do this 5 times to move to a new, more dangerous set of islands!\n"
    "Check your map frequently with the Start button and blow the pirates to smithereens with the A and B buttons.\n"
    "If we run out of cannonballs, we can pick more up by finding floating barrels.";

const char* const firstIslandsText = "Now, go find some active ports that will give you cargo! You can see them on your map!";

const char* const levelGreetings[16] = {
    "Let's get this bread!",
    "Who's ready to get some booty?",
    "Don't forget to follow @Fenmoor on Twitter!",
    "This looks like a great place to ferry some cargo... Let's go!",
    "Forum bardos yarvin gord. Dralorus svenda dir monka selm!!",
    "Arg!!!!!!!\nDarmanada bakvardian breg banamuke. Sletvum algona!",
    "Grarrr!! Et harum quidem rerum facilis est et expedita distinctio.",
    "Dram lubber, endt heir agor- Ho, ho, ho!!!",
    "These waters do be mine. If ye be seein' me fleet, ye best flee, seeing it be the last sea ye see.",
    "I'll be seein' to it that ye walk the plank for entering me waters.",
    "Avast ye and yield, yest ye walk me plank!",
    "Hand over ye goods or face the keelhaul!",
    "The pirate's code says that what's good is gold, but I must say that isn't enough, truth be told.",
    "You expect to survive in this bay with that ship? I must say, that is most humorous...",
    "Oh, blimey... It appears there's another skull for my coffer...",
    "Shiver me timbers... What a magnifigant ship; Shame I must destroy it.",
};

const char* const gameOverLines[8] = {
    "You've destroyed my only ship!!",
    "I knew I should have hired someone else!!",
    "Gargalos makdor! Hra, hra, hra!!",
    "Jasvgad, jindo bara! Hra, hra, hra!!",
    "Down to the bottom of the waters ye sink!",
    "Ho, ho- Me cutlass still be sheathed, yet ye body be spoiled!",
    "Oh, someone should really clean up this mess...",
    "Oh, we merely meant to plunder your vessel, not destroy your entire craft.\nPitty.",
};

const char* const farewellTexts[5] = {
    "Let's get out of here! New adventures await!",
    "That's the last deposit! Let's move to the next set of islands!",
    "Awesome job! Let's get to the next set of islands.",
    "Great job! I'm ready to leave this place.",
    "Let's lose these pirates and make our way to the next set of islands.",
};

const char* const firstCargoText =
    "Great! Follow the compass to a port that is willing to buy the cargo, or go pick up more!\nMake it fast, though! The pirates around here know you have cargo, now!";

const char* const fullHoldText = "We cannot carry any more cargo!";

const char* const fullMagazineText = "Our cannons are at max capacity!";

const char* const newHighScoreText = "You got a new high score of ";

const char* const creditLines[3][2] = {
    {"Quillbarrow crew", "Font: Adafruit GFX"},
    {" Pixel Art By: ", "  Quillbarrow crew"},
    {" Music/SFX By:", "  Quillbarrow crew"},
};
