#pragma once
// The controls of the options window Opt, each named as the user sees it (objectName),
// laid out in its frames, with the menus.

#include <array>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QSlider;
class QWidget;

struct OptControls {
    // Option button groups; a button's id is its index, the option's value.
    QButtonGroup* Option4 = nullptr;  // bit depth
    QButtonGroup* Option1 = nullptr;  // box split method
    QButtonGroup* Option2 = nullptr;  // box colour method
    QButtonGroup* Option3 = nullptr;  // palette match method
    QButtonGroup* Option5 = nullptr;  // PNG normal / detailed
    QButtonGroup* Option6 = nullptr;  // grey scale / RGB
    std::array<QGroupBox*, 11> Frame{};  // Frame[1] .. Frame[10]; Frame[0] unused
    QCheckBox* Check1 = nullptr;      // RLE
    QCheckBox* Check2 = nullptr;      // progressive JPEG
    QCheckBox* Check4 = nullptr;      // interlaced PNG
    std::array<QCheckBox*, 4> Check3{};  // PNG filter boxes
    QLineEdit* Text1 = nullptr;       // grey strength
    QLineEdit* Text2 = nullptr;       // JPEG quality
    QLineEdit* Text3 = nullptr;       // PNG compression level
    QLineEdit* Text4 = nullptr;       // PNG gamma x 100000
    QSlider* Slider1 = nullptr;
    QSlider* Slider2 = nullptr;
    QSlider* Slider3 = nullptr;
    QSlider* Slider4 = nullptr;
    QPushButton* Command1 = nullptr;  // Windows gamma
    QPushButton* Command2 = nullptr;  // Mac gamma
    QPushButton* Command3 = nullptr;  // all defaults
    QPushButton* Command4 = nullptr;  // close
    QPushButton* Command5 = nullptr;  // refresh
    QAction* defaults = nullptr;      // menu item "default"
    QAction* close = nullptr;
    QAction* take = nullptr;          // screen information
};

// Creates the controls and menus inside window (its central widget and menu bar).
[[nodiscard]] OptControls BuildOptControls(QMainWindow& window);
