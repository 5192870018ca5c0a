#pragma once
// The options window: edits the output options in place, each choice written into the
// record at once, and shows the record's values each time it is loaded. Modeless; it
// reports the refresh to its mode and closes itself on its close commands and when it
// loses the focus with none of its controls holding it.

#include <QMainWindow>

#include <array>
#include <memory>

class QCheckBox;
struct OutputOptions;
namespace Ui {
class Opt;
}

class Opt final : public QMainWindow
{
    Q_OBJECT
public:
    explicit Opt(OutputOptions& options);
    ~Opt() override;

    // The load sequence: spin buttons, then every control from the record; the gamma
    // is never changed by opening.
    void Form_Load();
    [[nodiscard]] bool isLoaded() const { return m_loaded; }

signals:
    // Command5: the picture refresh with the grey step, this window kept in front.
    void refreshRequested();
    void screenInformationRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectOptions();
    void connectFields();
    void connectCommands();
    void showOptions();
    void UpdateBitDepthControls();
    void UpdatePngControls();
    // The number-field rules: each field's value stored, and the field and its slider
    // showing it.
    void Text1_Change();
    void Text2_Change();
    void Text2_LostFocus();
    void Text3_Change();
    void Text4_Change();
    void Command3_Click();
    void Form_Unload();
    // The PNG filter boxes Check3, in the order of PngFilters.
    [[nodiscard]] std::array<QCheckBox*, 4> filterBoxes() const;

    OutputOptions& m_options;
    std::unique_ptr<Ui::Opt> m_ui;  // the controls and menus of Opt.ui
    bool m_loaded = false;
};
