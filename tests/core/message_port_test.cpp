#include "core/message_port.h"

#include "core/app_error.h"
#include "tests/support/recording_message_port.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(ErrorBox, AppendsAFullStopUnlessTheTextEndsAtOrBelowIt) {
    struct Case {
        QString text, shown;
    };
    const std::vector<Case> cases = {
        {"Cannot open file \"/a/b.txt\". No such file or directory",
         "Cannot open file \"/a/b.txt\". No such file or directory."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"a,", "a,"},
        {"trailing blank ", "trailing blank "},
        {"dash-", "dash-"},    // "-" (0x2D) is below "."
        {"slash/", "slash/."}, // "/" (0x2F) is above it
        {"9", "9."},
        {QStringLiteral(u"文件"), QStringLiteral(u"文件.")},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(withFullStop(c.text), c.shown) << c.text.toStdString();
    }
}

TEST(ErrorBox, AnErrorEscapingAHandlerEndsItAndIsShownOnce) {
    RecordingMessagePort port;
    int steps = 0;
    runHandler([&] {
        ++steps;
        throw AppError(QStringLiteral("Broken"));
        ++steps; // never reached
    });
    runHandler([&] { ++steps; });
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(port.errors, QStringList{QStringLiteral("Broken.")});
}

} // namespace
} // namespace quorvella
