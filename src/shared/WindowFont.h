#pragma once
// The face every window is drawn in, and the fitting of wrapped labels to the boxes
// the windows give them.

class QWidget;

// Sets the window's face (the IPA and Noto faces stand in where the MS face is not
// installed), then shrinks the font of each word-wrapped label placed by hand whose
// text would not fit its box; a layout gives its wrapped labels the height they need.
void ApplyWindowFont(QWidget& window);
