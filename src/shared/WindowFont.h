#pragma once
// The face every window is drawn in, and the fitting of wrapped labels to the boxes
// the windows give them.

class QWidget;

// Sets the window's face (the IPA and Noto faces stand in where the MS face is not
// installed), then shrinks the font of each word-wrapped label whose text would not
// fit its box. Labels in a layout keep their font: the layout sizes them to their text.
void ApplyWindowFont(QWidget& window);
