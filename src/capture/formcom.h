#pragma once
// The command panel: always above the desktop copy, it takes the selection as typed
// coordinates, the magnification and the capture delay, and carries the commands of
// the desktop capture mode. The coordinate and number fields are committed when they
// lose the keyboard focus; until then their texts and the variables may differ.

#include "PanelFields.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>

class QLineEdit;
class CaptureModel;
struct CaptureSelection;
namespace Ui {
class formcom;
}

class formcom final : public QMainWindow
{
    Q_OBJECT
public:
    // The typed fields commit into selection, held to the size of model's frozen screen.
    formcom(const CaptureModel& model, CaptureSelection& selection);
    ~formcom() override;

    // Creates the spin buttons, reads the frozen screen's size and sets the defaults; the
    // mode then shows the panel above the desktop copy.
    void Form_Load();

    // The texts of sX, sY, eX, eY.
    void setCornerTexts(const std::array<QString, 4>& texts);
    // Back at the screen's top-right when the screen (width x height window pixels,
    // fewer than its own where Qt scales) does not hold the whole panel.
    void keepOnScreen(int width, int height);
    // Command10's caption for a desktop copy that is now minimised or not.
    void showDesktopMinimised(bool minimised);

signals:
    void updateRequested();
    void screenInformationRequested();
    void selectAllRequested();
    void clearRequested();
    // Take image: the new copy is made intervalMs after every window has gone.
    void takeImageRequested(int intervalMs);
    void desktopToggleRequested();
    void saveRequested();
    void copyRequested();
    void optionsRequested();
    void aboutRequested();
    void chooserRequested();
    void closed();
    void functionKeyPressed(int keyCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectControls();
    void yieldAccessKeysToMenus();
    void moveToTopRight(int screenWidth);
    // Commits the field that has the focus, if any: a button worked by its access key
    // leaves the focus where it was, and must see the typed value as a click would.
    void commitFocusedField();
    void commitField(const QLineEdit* field);
    [[nodiscard]] bool isMenuShortcut(const QKeyEvent& key) const;
    // CommitStartField or CommitEndField: the rule of the field's kind.
    using CoordinateRule = CoordinateCommit (*)(const QString&, const QString&, std::int32_t, std::int32_t);
    void commitCoordinate(QLineEdit* field, QLineEdit* opposite, std::int32_t& variable, std::int32_t extent,
                          CoordinateRule rule);

    void Text1_LostFocus();
    void Text2_LostFocus();
    void Command4_Click();
    void Command9_Click();
    void Command3_Click();
    void Command10_Click();
    void SelectM_Click();
    void Form_Unload();

    const CaptureModel& m_model;
    CaptureSelection& m_selection;
    std::unique_ptr<Ui::formcom> m_ui;  // the controls and menus of formcom.ui
    std::int16_t CaptureDelay = 0;      // seconds before the new capture, 0..30
    bool ImageCleared = false;          // the clear command now takes a new image
};
