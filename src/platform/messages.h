// Library chatter: while SDL looks for a display or a sound card, the libraries under it
// (the Wayland client, ALSA) print their own complaints on stderr, a dozen lines when
// there is no sound card. The window and the sound device hold those lines back while
// they open, pass them on when the opening worked, and otherwise drop them and say in
// one line of the game's own what went wrong.
#pragma once

// From now on, what is written to stderr is kept aside instead of shown.
void HoldLibraryMessages();

// Shows stderr again; what was kept aside is passed on when passOn is true and dropped
// otherwise.
void ReleaseLibraryMessages(bool passOn);
