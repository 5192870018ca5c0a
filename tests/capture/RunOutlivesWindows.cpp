// The capture windows' tests show, hide and close the mode's windows again and again
// in one QApplication: Qt must not take the last of them closing for the end of the
// run, whatever event loop is running then; the next test opens new ones.

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class RunOutlivesWindows final : public testing::Environment
{
public:
    // Here, not at registration: the QApplication is made in main(), after this file's
    // static objects.
    void SetUp() override { QApplication::setQuitOnLastWindowClosed(false); }
};

[[maybe_unused]] testing::Environment* const registered = testing::AddGlobalTestEnvironment(new RunOutlivesWindows);

}  // namespace
