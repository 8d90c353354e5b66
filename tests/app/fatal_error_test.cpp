#include "app/fatal_error.h"

#include "platform/platform_error.h"

#include "fakes/fake_message_box.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

TEST(FatalErrorHandler, ShowsTheFirstErrorOnceAndReportsFailure)
{
    FakeMessageBox box;
    FatalErrorHandler handler(box);
    EXPECT_TRUE(handler.guard([] { return true; }));
    EXPECT_TRUE(box.shown.empty());

    EXPECT_FALSE(handler.guard([]() -> bool { throw PlatformError("Cannot start hh.exe."); }));
    EXPECT_FALSE(handler.guard([]() -> bool { throw std::bad_alloc(); }));
    const std::vector<std::u16string> expected = {
        u"Sumwright must close because of an error:\n\nCannot start hh.exe."};
    EXPECT_EQ(box.shown, expected);
}

TEST(FatalErrorHandler, ReportsAnExceptionOfAnyType)
{
    FakeMessageBox box;
    FatalErrorHandler handler(box);
    EXPECT_FALSE(handler.guard([]() -> bool { throw 42; }));
    const std::vector<std::u16string> expected = {
        u"Sumwright must close because of an error:\n\nAn unknown error occurred."};
    EXPECT_EQ(box.shown, expected);
}
