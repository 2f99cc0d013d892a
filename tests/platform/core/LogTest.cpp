#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>

#include "platform/core/Log.h"
#include "tests/support/CommaLocale.h"

namespace {

using platform::NSLog;

TEST(LogFormat, NumbersKeepTheDecimalPointUnderACommaLocale) {
    const testing_support::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << testing_support::CommaLocale::kSkipReason;
    const platform::LogArg limit[] = {0.002};
    EXPECT_EQ(platform::formatMessage("bottomLimit: %f", limit), "bottomLimit: 0.002000") << comma.name();
    const platform::LogArg three[] = {600.25, 0.5, 1.5};
    EXPECT_EQ(platform::formatMessage("%.1fHz %g %e", three), "600.2Hz 0.5 1.500000e+00");
}

TEST(LogFormat, GivesTheSameTextAsThePhone) {
    platform::LogCapture log;
    NSLog("micSensitivityValue: %ld", int64_t{7});
    NSLog("bottomLimit: %f", 0.004);
    NSLog("Tuning fork is enabled: %d", 1);
    NSLog("Has apagado el Switch, valor de la variable = %d", false);
    NSLog("%@ Error setting category: %@", "init", std::string("The operation couldn't be completed."));
    NSLog("iPhone has a height of: %f", 844.0);
    NSLog("Acordes consultados:%ld", int64_t{-1});
    NSLog("AudioQueueSetProperty error: %d", 0);
    NSLog("100%% sure, %.1fHz", 440.00406f);
    NSLog("RATING PROMPT appWillResignActive");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "micSensitivityValue: 7",
                               "bottomLimit: 0.004000",
                               "Tuning fork is enabled: 1",
                               "Has apagado el Switch, valor de la variable = 0",
                               "init Error setting category: The operation couldn't be completed.",
                               "iPhone has a height of: 844.000000",
                               "Acordes consultados:-1",
                               "AudioQueueSetProperty error: 0",
                               "100% sure, 440.0Hz",
                               "RATING PROMPT appWillResignActive",
                           }));
}

TEST(LogFormat, IntegerWidthsFollowTheLengthModifier) {
    // %d takes a 32-bit int, as on the phone; %ld the whole 64-bit value.
    EXPECT_EQ(platform::formatMessage("%d", std::vector<platform::LogArg>{int64_t{1} << 32 | 5}), "5");
    EXPECT_EQ(platform::formatMessage("%ld", std::vector<platform::LogArg>{int64_t{LLONG_MIN}}),
              "-9223372036854775808");
    EXPECT_EQ(platform::formatMessage("%lu", std::vector<platform::LogArg>{uint64_t{ULLONG_MAX}}),
              "18446744073709551615");
}

TEST(LogFormat, MissingArgumentsPrintNothingAndStrayPercentsSurvive) {
    EXPECT_EQ(platform::formatMessage("a %@ b %d c", {}), "a  b  c");
    EXPECT_EQ(platform::formatMessage("50%", {}), "50%");
    EXPECT_EQ(platform::formatMessage("%q", std::vector<platform::LogArg>{1}), "%q");
}

TEST(LogSink, TheDefaultLineCarriesTimestampProgramAndProcess) {
    // Point file descriptor 2 at a temporary file for the one call.
    std::FILE* file = std::tmpfile();
    std::fflush(stderr);
    const int savedStderr = dup(2);
    dup2(fileno(file), 2);
    platform::NSLog("hello %d", 1);
    std::fflush(stderr);
    dup2(savedStderr, 2);
    close(savedStderr);

    std::rewind(file);
    char buffer[256] = {};
    ASSERT_TRUE(std::fgets(buffer, sizeof buffer, file));
    std::fclose(file);
    const std::string line = buffer;
    // "2026-12-10 00:12:34.567 <program>[<pid>] hello 1\n"
    ASSERT_GT(line.size(), 24u) << line;
    const std::string stamp = line.substr(0, 23);
    for (size_t i : {4u, 7u}) EXPECT_EQ(stamp[i], '-') << line;
    for (size_t i : {13u, 16u}) EXPECT_EQ(stamp[i], ':') << line;
    EXPECT_EQ(stamp[10], ' ') << line;
    EXPECT_EQ(stamp[19], '.') << line;
    const std::string rest = line.substr(24);
    const std::string tail = "[" + std::to_string(getpid()) + "] hello 1\n";
    ASSERT_GT(rest.size(), tail.size()) << line;
    EXPECT_EQ(rest.substr(rest.size() - tail.size()), tail) << line;
    EXPECT_EQ(rest.find(' '), rest.size() - tail.size() + tail.find(' ')) << "program name has no spaces: " << line;
}

}  // namespace
