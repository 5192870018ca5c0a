#pragma once
// The picture window: shows the model's picture, the committed selection
// colour-reduced and magnified. The client area is exactly the picture:
// ViewWidth x ViewHeight pixels, sized in pixels.

#include <QWidget>

class CaptureModel;

class gazou final : public QWidget
{
    Q_OBJECT
public:
    // Client area of a picture window made afresh after the user closed one, pixels.
    static constexpr int DesignWidth = 285;
    static constexpr int DesignHeight = 228;

    // The model's picture is of the design size, empty.
    explicit gazou(const CaptureModel& model);

    // The picture was emptied at a new size or drawn anew: the client area takes its
    // size and shows it.
    void showPicture();

signals:
    void functionKeyPressed(int keyCode);
    // The user closed the window: the picture goes with it, and the window comes back
    // empty at its design size once the model's picture is so.
    void unloaded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();

    const CaptureModel& m_model;
};
