#include "platform/com.h"

#include "platform/adodb_stream.h"

#include <gtest/gtest.h>

#include <thread>

using namespace brisma::platform::com;

namespace {

TEST(Com, InitialisationIsCountedPerThread)
{
    ASSERT_EQ(initialisationCount(), 0);
    EXPECT_EQ(CoInitialize(), S_OK_);
    EXPECT_EQ(CoInitialize(), S_FALSE_);
    EXPECT_EQ(initialisationCount(), 2);

    int countOnOtherThread = -1;
    std::thread other([&countOnOtherThread] {
        countOnOtherThread = initialisationCount();
        CoInitialize();
        CoUninitialize();
    });
    other.join();
    EXPECT_EQ(countOnOtherThread, 0);
    EXPECT_EQ(initialisationCount(), 2);

    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(initialisationCount(), 0);
    CoUninitialize(); // one too many changes nothing
    EXPECT_EQ(initialisationCount(), 0);
}

TEST(Com, ObjectsAreCreatedOnlyOnInitialisedThreads)
{
    EXPECT_EQ(CreateObject("Adodb.Stream"), nullptr);
    CoInitialize();
    EXPECT_NE(CreateObjectAs<AdodbStream>("Adodb.Stream"), nullptr);
    EXPECT_NE(CreateObjectAs<AdodbStream>("ADODB.STREAM"), nullptr);
    EXPECT_EQ(CreateObject("Nothing.Registered"), nullptr);
    std::thread other([] { EXPECT_EQ(CreateObject("Adodb.Stream"), nullptr); });
    other.join();
    CoUninitialize();
    EXPECT_EQ(CreateObject("Adodb.Stream"), nullptr);
}

TEST(Com, ATestCanMakeCreationFailWhileItsGuardLives)
{
    CoInitialize();
    {
        ScopedCreationFailure failing("Adodb.Stream");
        EXPECT_EQ(CreateObject("Adodb.Stream"), nullptr);
        {
            ScopedCreationFailure again("Adodb.Stream");
        }
        EXPECT_EQ(CreateObject("Adodb.Stream"), nullptr);
    }
    EXPECT_NE(CreateObject("Adodb.Stream"), nullptr);
    CoUninitialize();
}

} // namespace
