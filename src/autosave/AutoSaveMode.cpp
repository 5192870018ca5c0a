#include "AutoSaveMode.h"

#include "PrtScSave.h"
#include "imaging/dibimage.h"
#include "shared/Settings.h"

namespace {

QString startQuestion()
{
    return AutoSaveMode::tr("取得を開始します。クリップボード内の情報を消去しますがよろしいですか?");
}

QString printKeyHeldNote()
{
    return AutoSaveMode::tr("取得中はPrintキーで画面全体をクリップボードにコピーし、保存します。");
}

QString focusOnlyNote()
{
    return AutoSaveMode::tr(
        "このデスクトップでは、このウィンドウがアクティブな間にコピーされた画像だけを取得できます。");
}

QString printKeyTakenNote()
{
    return AutoSaveMode::tr(
        "Printキーは他のプログラム（デスクトップ）が使用中です。Ctrl+Printなどでスクリーンショットを"
        "クリップボードにコピーすれば保存されます。");
}

QString withoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

}  // namespace

AutoSaveMode::AutoSaveMode(Platform& platform, const Settings& settings, ModeHost& host,
                           const QString& applicationFolder)
    : m_platform(platform)
    , m_settings(settings)
    , m_lifecycle(host, settings)
    , m_window(std::make_unique<PrtScSave>(*platform.dialogs, settings, withoutTrailingSlash(applicationFolder)))
    , m_watch(*platform.clipboard, FreeWhereAbsent(*platform.files))
{
    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &AutoSaveMode::watchTick);
    connect(m_window.get(), &PrtScSave::startRequested, this, &AutoSaveMode::startWatch);
    connect(m_window.get(), &PrtScSave::stopRequested, this, &AutoSaveMode::stopWatch);
    connect(m_window.get(), &PrtScSave::chooserRequested, &m_lifecycle, &ModeLifecycle::returnToChooser);
    connect(m_window.get(), &PrtScSave::closed, &m_lifecycle, &ModeLifecycle::mainWindowClosed);
    m_lifecycle.setMainWindow(*m_window);
    connectSession();
    connect(&m_watch, &AutoSaveWatch::saved, this,
            [this](const QString&, const NamingState& naming) { copySaved(naming); });
    connect(&m_watch, &AutoSaveWatch::failed, this, &AutoSaveMode::saveFailed);
    connect(&m_watch, &AutoSaveWatch::copyWaiting, this, &AutoSaveMode::watchTick);
    connect(&m_watch, &AutoSaveWatch::passedOver, this, [this](const QString& line) {
        m_passedOverLine = line;
        showNote(m_printKeyLine);
    });
}

void AutoSaveMode::connectSession()
{
    PrtScSave* window = m_window.get();
    connect(window, &PrtScSave::folderEdited, this, [this](const QString& folder) { m_session.setFolder(folder); });
    connect(window, &PrtScSave::patternEdited, this, [this](const QString& pattern) { m_session.setPattern(pattern); });
    connect(window, &PrtScSave::patternLeft, this, &AutoSaveMode::checkPattern);
    connect(window, &PrtScSave::serialEdited, this, &AutoSaveMode::editSerial);
    connect(window, &PrtScSave::overwriteEdited, this,
            [this](bool allowed) { m_session.setOverwriteAllowed(allowed); });
    connect(window, &PrtScSave::formatEdited, this,
            [this](const CaptureFormat& format) { m_session.setFormat(format); });
    connect(window, &PrtScSave::startNumberRequested, this, &AutoSaveMode::findStartNumber);
}

AutoSaveMode::~AutoSaveMode()
{
    m_platform.printKey->release();
    m_platform.screen->cancel();
}

ModeOpenResult AutoSaveMode::load()
{
    m_window->Form_Load();
    showNote(QString());
    m_lifecycle.showInFront(*m_window);
    return ModeOpenResult::Opened;
}

// Only images copied from the answer on are saved: what was there is cleared.
void AutoSaveMode::startWatch()
{
    if (m_platform.dialogs->message(m_window.get(), startQuestion(), QString(), MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    m_platform.clipboard->clear();
    m_passedOverLine.clear();
    m_watch.start(std::chrono::milliseconds(m_window->watchInterval()));
    m_window->setWatching(true);
    m_timer.setInterval(m_window->watchInterval());
    m_timer.start();
    takePrintKey();
}

void AutoSaveMode::stopWatch()
{
    m_watch.stop();
    m_timer.stop();
    m_timer.setInterval(0);
    m_platform.printKey->release();
    showNote(QString());
    m_window->setWatching(false);
}

// The tick only notices a new copy; the watch reads and writes it in the background.
void AutoSaveMode::watchTick() { m_watch.tick(m_session.naming(), m_session.format()); }

// At load the window is not shown yet: the message comes without putting the focus
// into the field.
void AutoSaveMode::checkPattern(bool atLoad)
{
    if (m_session.checkPattern() == PatternCheck::BrokenRun) {
        m_platform.dialogs->message(m_window.get(), BrokenRunText(), QString(), MessageButtons::Ok);
        if (!atLoad)
            m_window->focusPattern();
    }
    m_window->showNaming(m_session.naming());
}

void AutoSaveMode::editSerial(const QString& text)
{
    if (const std::optional<QString> replacement = m_session.editSerial(text))
        m_window->showSerial(*replacement);
}

void AutoSaveMode::findStartNumber()
{
    if (m_session.findStartNumber(FreeWhereAbsent(*m_platform.files)))
        m_window->showNaming(m_session.naming());
}

void AutoSaveMode::copySaved(const NamingState& naming)
{
    m_session.fileWritten(naming);
    m_window->showNaming(m_session.naming());
}

// A write that fails ends the watch with the image still on the clipboard, and says
// which file and why.
void AutoSaveMode::saveFailed(const QString& fileName, const DibStatus& status)
{
    stopWatch();
    m_platform.dialogs->message(m_window.get(), SaveFailedText(fileName, status), SaveErrorTitle(), MessageButtons::Ok);
}

void AutoSaveMode::takePrintKey()
{
    switch (m_platform.printKey->take([this] { copyScreenToClipboard(); })) {
    case PrintKeyHold::Held: showNote(printKeyHeldNote()); break;
    case PrintKeyHold::TakenByAnother: showNote(printKeyTakenNote()); break;
    case PrintKeyHold::Unavailable: showNote(QString()); break;
    }
}

// What the Print key does where the desktop leaves it to us: the whole screen onto
// the clipboard, which the watch then saves like any other copy.
void AutoSaveMode::copyScreenToClipboard()
{
    m_platform.screen->grab([this](const ScreenShot& shot) {
        if (!shot.ok())
            return;
        m_watch.expectOwnCopy();
        m_platform.clipboard->setImage(shot.picture, shot.picture.width(), shot.picture.height());
    });
}

// What the session lets the watch see comes first, then the Print key's line, then
// the last copy that was not saved.
void AutoSaveMode::showNote(const QString& printKeyLine)
{
    m_printKeyLine = printKeyLine;
    QStringList lines;
    if (!m_platform.clipboard->seesCopiesWithoutFocus())
        lines << focusOnlyNote();
    if (!printKeyLine.isEmpty())
        lines << printKeyLine;
    if (!m_passedOverLine.isEmpty())
        lines << m_passedOverLine;
    m_window->showNote(lines.join(u'\n'));
}
