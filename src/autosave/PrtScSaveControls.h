#pragma once
// The controls of the auto-save window PrtScSave, each named as the user sees it
// (objectName), laid out in its frames, with the menu.

#include <array>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QWidget;

struct PrtScSaveControls {
    QLineEdit* Text1 = nullptr;       // output folder, read-only
    QPushButton* Command1 = nullptr;  // folder browser
    QLineEdit* Text2 = nullptr;       // file-name pattern
    QLineEdit* Text3 = nullptr;       // serial number
    QLineEdit* Text4 = nullptr;       // maximum, read-only
    QPushButton* Command2 = nullptr;  // search start number
    QCheckBox* Check1 = nullptr;      // allow overwriting
    QGroupBox* Frame1 = nullptr;      // save format
    QButtonGroup* Option1 = nullptr;  // BMP, JPEG, PNG; id = SaveFormat
    std::array<QGroupBox*, 3> Frame2{};  // BMP, JPEG, PNG settings
    QButtonGroup* Option2 = nullptr;  // 24, 16, 8 bit; id = BmpDepth
    QCheckBox* Check2 = nullptr;      // RLE
    QCheckBox* Check3 = nullptr;      // grey scale
    QLineEdit* Text5 = nullptr;       // JPEG quality
    QCheckBox* Check4 = nullptr;      // progressive
    QLineEdit* Text6 = nullptr;       // PNG level
    QCheckBox* Check5 = nullptr;      // interlace
    QLineEdit* Text7 = nullptr;       // interval in ms
    QPushButton* Command3 = nullptr;  // start
    QPushButton* Command4 = nullptr;  // stop
    QLabel* note = nullptr;           // what the session allows: clipboard, Print key
    QMenu* Fil = nullptr;
    QAction* EndPro = nullptr;
    QAction* SelectM = nullptr;
};

// Creates the controls and the menu inside window (its central widget and menu bar).
[[nodiscard]] PrtScSaveControls BuildPrtScSaveControls(QMainWindow& window);
