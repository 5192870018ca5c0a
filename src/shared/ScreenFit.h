#pragma once
// Windows whose layout can ask for more room than a screen has: a high scale on a
// small screen (200 % on 1920 x 1080 leaves 960 x 540).

class QMainWindow;

// Puts the window's controls in a scroll area, which shows its bars only when needed,
// and gives the window its layout's size or the screen's free area, whichever is
// smaller, so that no control lies past the screen's edge out of the user's reach.
void ScrollWhenLargerThanScreen(QMainWindow& window);
