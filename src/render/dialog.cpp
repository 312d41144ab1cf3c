#include "render/dialog.h"

std::string dialogText;
int32_t dialogPortrait;
void (*dialogDone)();
void (*dialogOnChar)(uint8_t);
int32_t dialogLeft;
int32_t dialogTop;
int32_t dialogWidth;
int32_t dialogHeight;
int32_t dialogTyping;
int32_t dialogFinished;
uint32_t dialogRevealed;
uint32_t dialogConsumed;
int32_t talkWordStart;
int32_t dialogBoxColumns;
int32_t dialogBoxRows;
int32_t portraitFrame;

// The dialog box is being written.
void StartDialog(int32_t, const char*, void (*)()) {}
void DrawDialogBox() {}
void UpdateDialog() {}
void TalkSound(uint8_t) {}
