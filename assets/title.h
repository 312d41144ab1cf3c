// Pictures of the title menu, the credit pages and the game-over screen.
// Packed 4-bit frames in slots of width x height bytes unless said otherwise.
#pragma once
#include <cstdint>

// Credit page pictures, 80 x 80, 3 frames (slots of 6400 bytes): 0 the game (our ship at
// sea), 1 the pixel art (a palette and a brush), 2 the music and sound (a concertina).
// Drawn opaque: every pixel, index 2 included.
extern const uint8_t CreditPictures[];

// The game-over picture, 56 x 56, 8 frames (slots of 3136 bytes), frame = frameCounter / 15:
// our ship on the sea bed under rolling waves, bubbles rising. The key is red (index 6);
// index 2 is drawn.
extern const uint8_t GameOverFrames[];

// The title logo, 120 x 60, 16 frames each (slots of 7200 bytes), key index 2. Strip A is
// the idle loop: the swell rolls, the pennant flutters, two gulls beat their wings and
// the ship bobs. Strip B is the flourish, a glint sweeping across the word and a twinkle
// on its last letter; its frame 15 is strip A's frame 0.
extern const uint8_t LogoStripA[];
extern const uint8_t LogoStripB[];

// The menu cursor, 16 x 16, 2 frames (slots of 256 bytes), key index 2: 0 a ship's wheel,
// 1 the wheel glinting. The wheel's centre is pixel (6, 7).
extern const uint8_t MenuCursorFrames[];

// Loudspeaker marks drawn beside "Music" and "SFX", 8 x 8 one-bit masks: 8 bytes, one
// per column from the left, bit 0 the top row; set bits are drawn. Rows 0-6 only.
extern const uint8_t SoundOnMark[];
extern const uint8_t SoundOffMark[];
