#pragma once
// The auto-save mode on the test's X server with the real clipboard: images and text
// are copied by xclip, as another program would, and the files are read by Pillow.

#include "AutoSaveMode.h"
#include "PrtScSave.h"
#include "RecordingHost.h"
#include "TestPlatform.h"
#include "shared/Settings.h"

#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QAbstractButton;
class QLineEdit;

class AutoSaveFixture
{
public:
    AutoSaveFixture();
    ~AutoSaveFixture();

    // Opens the mode on the Set.ini written so far.
    void open();
    [[nodiscard]] PrtScSave& window() { return m_mode->window(); }
    [[nodiscard]] AutoSaveMode& mode() { return *m_mode; }
    template<typename T>
    [[nodiscard]] T* control(const char* name, int index = -1) const;
    [[nodiscard]] QLineEdit* field(const char* name) const;
    // Clicks a button (a radio or check box at its indicator).
    void click(QAbstractButton* button) const;
    // Replaces a field's text by typing.
    void type(const char* fieldName, const QString& text) const;

    // Start answered as told; the interval typed first.
    void start(MessageAnswer answer, int intervalMs = 50);
    void stop();

    // A picture no other of the test has.
    [[nodiscard]] static QImage picture(int seed, int width = 160, int height = 90);
    // The file holds the image pixel for pixel, as Pillow reads it.
    [[nodiscard]] static bool holds(const QString& file, const QImage& image);

    // Copies count pictures through copy (true: copied), each at a random delay of 0 to
    // 300 ms after the file of the one before appeared, and checks that each became one
    // file (BMP), in order, pixel for pixel.
    void expectEachCopyOnceAtRandomSpacing(const std::function<bool(const QImage&)>& copy, int count);

    // Runs the event loop until done() or the time is up.
    static bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000);
    // Names in the output folder, sorted.
    [[nodiscard]] QStringList files() const;
    [[nodiscard]] QString folder() const { return m_dir.path(); }
    [[nodiscard]] QString settingsPath() const { return m_dir.filePath(QStringLiteral("Set.ini")); }

    TestPlatform test;
    RecordingHost host;

private:
    QTemporaryDir m_dir;
    Settings m_settings{settingsPath()};
    std::unique_ptr<AutoSaveMode> m_mode;
};

template<typename T>
T* AutoSaveFixture::control(const char* name, int index) const
{
    for (T* candidate : m_mode->window().findChildren<T*>(QString::fromLatin1(name)))
        if (index < 0 || candidate->property("index").toInt() == index)
            return candidate;
    return nullptr;
}
