#include "AutoSaveFixture.h"

#include "ImagingTestSupport.h"

#include "platform/DiskFileProbe.h"
#include "platform/X11Clipboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

AutoSaveFixture::AutoSaveFixture() : test(makeTestPlatform())
{
    test.platform.clipboard = std::make_unique<X11Clipboard>();
    test.platform.files = std::make_unique<DiskFileProbe>();
    test.files = nullptr;
    test.clipboard = nullptr;
}

AutoSaveFixture::~AutoSaveFixture()
{
    if (m_mode && m_mode->watchTimer().interval() != 0)
        stop();
}

void AutoSaveFixture::open()
{
    m_mode = std::make_unique<AutoSaveMode>(test.platform, m_settings, host, m_dir.path() + u'/');
    static_cast<void>(m_mode->load());
    static_cast<void>(QTest::qWaitForWindowExposed(&m_mode->window()));
    // Focus changes (the pattern field's normalisation) need the window active.
    m_mode->window().activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(&m_mode->window()));
}

QLineEdit* AutoSaveFixture::field(const char* name) const { return control<QLineEdit>(name); }

void AutoSaveFixture::click(QAbstractButton* button) const
{
    const bool indicator = qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, indicator ? QPoint(6, button->height() / 2) : QPoint());
}

void AutoSaveFixture::type(const char* fieldName, const QString& text) const
{
    QLineEdit* edit = field(fieldName);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void AutoSaveFixture::start(MessageAnswer answer, int intervalMs)
{
    type("Text7", QString::number(intervalMs));
    test.dialogs->messageAnswers.push_back(answer);
    click(control<QAbstractButton>("Command3"));
}

void AutoSaveFixture::stop() { click(control<QAbstractButton>("Command4")); }

QImage AutoSaveFixture::picture(int seed, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed * 40) & 0xFF, (y * 5 + seed * 13) & 0xFF, (x ^ y ^ seed) & 0xFF));
    return image;
}

bool AutoSaveFixture::waitFor(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

void AutoSaveFixture::expectEachCopyOnceAtRandomSpacing(const std::function<bool(const QImage&)>& copy, int count)
{
    QRandomGenerator random(static_cast<quint32>(count));
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(copy(picture(100 + i))) << "copy " << i;
        ASSERT_TRUE(waitFor([&] { return files().size() >= i + 1; }, 10000)) << "copy " << i << " was not saved";
        QTest::qWait(random.bounded(301));
    }
    QTest::qWait(1500);
    ASSERT_EQ(files().size(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(
            holds(folder() + QStringLiteral("/Picture_%1.bmp").arg(i, 4, 10, QLatin1Char('0')), picture(100 + i)))
            << i;
}

QStringList AutoSaveFixture::files() const
{
    return QDir(m_dir.path()).entryList({QStringLiteral("Picture_*")}, QDir::Files, QDir::Name);
}

bool AutoSaveFixture::holds(const QString& file, const QImage& image)
{
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            rgb.push_back(image.pixel(x, y) & 0xFFFFFFu);
    const PillowImage read = decodeWithPillow(file.toStdString());
    return read.ok && read.width == image.width() && read.rgb == rgb;
}
