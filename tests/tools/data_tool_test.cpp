#include "tools/data_tool.h"

#include "core/line_readers.h"
#include "lessons/tedstr.h"
#include "tests/tools/tool_run.h"
#include "tests/tools/window_reading.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace quorvella {
namespace {

std::string trimmedRight(const std::string& text) {
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

TEST(DataTool, DecodesAndEncodesStandardInputByteForByte) {
    std::string plain;
    for (int b = 0; b < 256; ++b) {
        plain += static_cast<char>(b);
    }
    const ToolRun encoded = runTool({"encode", "--key", "40353"}, plain);
    ASSERT_EQ(encoded.status, 0) << encoded.err;
    EXPECT_EQ(encoded.out, tedstr::encode(plain, 40353));
    const ToolRun decoded = runTool({"decode", "--key", "40353"}, encoded.out);
    ASSERT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(decoded.out, plain);
    EXPECT_EQ(decoded.err, "");
}

TEST(DataTool, ReadsANamedFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hJ2Y");
    file.close();
    const ToolRun decoded = runTool({"decode", path.toStdString(), "--key", "0"});
    EXPECT_EQ(decoded.status, 0);
    EXPECT_EQ(decoded.out, tedstr::decode("hJ2Y", 0));

    const std::string missing = dir.filePath(QStringLiteral("none.txt")).toStdString();
    const ToolRun failed = runTool({"decode", "--key", "0", missing});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find(missing), std::string::npos) << failed.err;
    EXPECT_NE(failed.err.find("No such file or directory"), std::string::npos) << failed.err;
}

TEST(DataTool, RefusesWrongCommandLinesWithOneLineAndStatusTwo) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"decode"},
        {"decode", "--key"},
        {"decode", "--key", "65536"},
        {"decode", "--key", "-1"},
        {"encode", "--key", "0x10"},
        {"encode", "--key", "12a"},
        {"encode", "--key", ""},
        {"encode", "--key", " 5"},
        {"unpack", "--key", "5"},
        {"decode", "--key", "5", "--verbose"},
        {"decode", "--key", "5", "a.txt", "b.txt"},
        {"decode", "--lesson", "--key", "5"},
        {"encode", "--lesson"},
        {"decode", "--from", "x", "--key", "5"},
        {"check"},
        {"check", "--key", "5", "dir"},
        {"check", "one", "two"},
    };
    for (const auto& args : wrong) {
        const ToolRun result = runTool(args, "hJ2Y");
        EXPECT_EQ(result.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    EXPECT_EQ(runTool({"decode", "--key", "65535"}, "hJ2Y").status, 0);
}

TEST(DataTool, EncodesALessonThatTheWindowReadsToItsEnd) {
    const ToolRun lesson = runTool({"encode", "--lesson", "--key", "33965"},
                                   "    The Library\n    It opens at eight.\n");
    ASSERT_EQ(lesson.status, 0) << lesson.err;
    EXPECT_EQ(splitLines(lesson.out).size(), 1u);
    EXPECT_TRUE(lesson.out.ends_with("\r\n"));
    const std::vector<std::string> shown =
        splitLines(testing_tools::windowReading(lesson.out, 33965));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(trimmedRight(shown[0]), "    The Library");
    EXPECT_EQ(trimmedRight(shown[1]), "    It opens at eight.");
}

TEST(DataTool, HelpDescribesEveryCommand) {
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* usage :
         {"decode --key KEY [FILE]", "encode --key KEY [FILE]", "encode --lesson --key KEY [FILE]",
          "sample [--from SOURCE] DIR", "check DIR"}) {
        EXPECT_NE(help.out.find(usage), std::string::npos) << usage;
    }
}

} // namespace
} // namespace quorvella
