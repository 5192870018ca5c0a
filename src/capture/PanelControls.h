#pragma once
// The controls of the command panel, placed at fixed pixel positions (the spin
// buttons attach to their fields' geometry when they are created). Every control
// and menu item carries its name as objectName, so tests find it as the user sees it.

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;

// Captions that the panel's commands change at run time.
inline constexpr char16_t ClearButtonCaption[] = u"クリア(&C)";
inline constexpr char16_t ClearMenuCaption[] = u"画像クリア(&C)";
inline constexpr char16_t TakeImageCaption[] = u"画像取得(&T)";      // button and menu item alike
inline constexpr char16_t MinimiseDesktopDesignCaption[] = u"ピクチャフォーム最小化(&V)";
inline constexpr char16_t MinimiseDesktopCaption[] = u"ピクチャフォーム最小化(&S)";
inline constexpr char16_t MaximiseDesktopCaption[] = u"ピクチャフォーム最大化(&S)";

struct PanelControls {
    QLineEdit* Text1 = nullptr;   // capture delay, seconds
    QLineEdit* Text2 = nullptr;   // magnification, percent
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QGroupBox* Frame1 = nullptr;  // holds the coordinate fields and Command4
    std::array<QLabel*, 4> Label5{};
    QLineEdit* sX = nullptr;      // screen pixels
    QLineEdit* sY = nullptr;
    QLineEdit* eX = nullptr;
    QLineEdit* eY = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;

    QMenu* file = nullptr;
    QMenu* oPtion = nullptr;
    QMenu* another = nullptr;
    QAction* take = nullptr;
    QAction* clear = nullptr;
    QAction* end = nullptr;
    QAction* save = nullptr;
    QAction* SelectM = nullptr;
    QAction* CC = nullptr;
    QAction* screen = nullptr;
    QAction* version = nullptr;
};

// Creates the controls and menus inside panel (its central widget and menu bar).
[[nodiscard]] PanelControls BuildPanelControls(QMainWindow& panel);
