#pragma once
// A Platform made of test doubles, with typed pointers to each so the test can script
// them after the Platform has been handed to the object under test.

#include "FakeClipboard.h"
#include "FakeFileProbe.h"
#include "FakeInstanceLock.h"
#include "FakePointerPositions.h"
#include "FakePrintKey.h"
#include "FakeScreenGrabber.h"
#include "FakeSystemInformation.h"
#include "FakeWindowStacking.h"
#include "ScriptedDialogs.h"
#include "platform/Platform.h"

struct TestPlatform {
    Platform platform;
    ScriptedDialogs* dialogs = nullptr;   // owned by platform
    FakeInstanceLock* lock = nullptr;     // owned by platform
    FakeScreenGrabber* screen = nullptr;  // owned by platform
    FakeFileProbe* files = nullptr;       // owned by platform
    FakeClipboard* clipboard = nullptr;   // owned by platform
    FakePrintKey* printKey = nullptr;     // owned by platform
};

[[nodiscard]] TestPlatform makeTestPlatform();
