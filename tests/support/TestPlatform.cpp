#include "TestPlatform.h"

TestPlatform makeTestPlatform()
{
    TestPlatform test;
    auto dialogs = std::make_unique<ScriptedDialogs>();
    auto lock = std::make_unique<FakeInstanceLock>();
    auto screen = std::make_unique<FakeScreenGrabber>();
    auto files = std::make_unique<FakeFileProbe>();
    auto stacking = std::make_unique<FakeWindowStacking>();
    auto pointer = std::make_unique<FakePointerPositions>();
    auto clipboard = std::make_unique<FakeClipboard>();
    auto systemInformation = std::make_unique<FakeSystemInformation>();
    auto printKey = std::make_unique<FakePrintKey>();
    test.dialogs = dialogs.get();
    test.lock = lock.get();
    test.screen = screen.get();
    test.files = files.get();
    test.clipboard = clipboard.get();
    test.printKey = printKey.get();
    test.platform.dialogs = std::move(dialogs);
    test.platform.instanceLock = std::move(lock);
    test.platform.screen = std::move(screen);
    test.platform.files = std::move(files);
    test.platform.stacking = std::move(stacking);
    test.platform.pointer = std::move(pointer);
    test.platform.clipboard = std::move(clipboard);
    test.platform.systemInformation = std::move(systemInformation);
    test.platform.printKey = std::move(printKey);
    return test;
}
