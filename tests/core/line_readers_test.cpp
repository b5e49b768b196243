#include "core/line_readers.h"

#include "core/app_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvella {
namespace {

using Lines = std::vector<std::string>;

class LineReaders : public testing::Test {
protected:
    QString write(const std::string& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("f%1.txt").arg(m_count++));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return path;
    }

    Lines streamed(const std::string& bytes) {
        LineReader reader(write(bytes));
        Lines lines;
        std::string line;
        while (reader.readLine(line)) {
            lines.push_back(line);
        }
        EXPECT_TRUE(reader.atEnd());
        EXPECT_FALSE(reader.readLine(line));
        EXPECT_EQ(line, "");
        return lines;
    }

    QTemporaryDir m_dir;
    int m_count = 0;
};

TEST_F(LineReaders, WholeFileSplitsAtEveryKindOfBreak) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},   // a final break adds no line
        {"a\rb\nc", {"a", "b", "c"}}, // lone CR, lone LF
        {"a\n\rb", {"a", "", "b"}},   // LF CR is two breaks
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}}, // a 0 byte ends the text
        {"a\x1A"
         "b",
         {"a\x1A"
          "b"}}, // Ctrl-Z is an ordinary byte here
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
        EXPECT_EQ(readFileLines(write(c.bytes)), c.lines);
    }
}

TEST_F(LineReaders, LineByLineEndsAtLfOrCrLfAndDropsLoneCr) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\nb\n", {"a", "b"}}, // a final break adds no line
        {"a\r\nb", {"a", "b"}},
        {"a\rb\r\nc\r", {"ab", "c"}}, // a lone CR is dropped
        {"\n", {""}},
        {"a\n\n", {"a", ""}},
        {"a\x1A"
         "b\nc",
         {"a"}}, // Ctrl-Z ends the file, even inside a line
        {"a\n\x1A\n", {"a"}},
        {"\x1A", {}},
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}}, // a 0 byte is kept
    };
    for (const Case& c : cases) {
        EXPECT_EQ(streamed(c.bytes), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST_F(LineReaders, LinesLongerThanTheBufferAreWhole) {
    const std::string longLine(200'000, 'x');
    EXPECT_EQ(streamed(longLine + "\r\n" + longLine), (Lines{longLine, longLine}));
}

TEST_F(LineReaders, AFileThatCannotBeOpenedNamesItsPathAndTheReason) {
    const QString missing = m_dir.filePath(QStringLiteral("missing.txt"));
    const QString expected =
        QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing);
    const auto textOf = [](auto&& read) {
        try {
            read();
        } catch (const AppError& error) {
            return error.text();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(textOf([&] { readFileLines(missing); }), expected);
    EXPECT_EQ(textOf([&] { LineReader reader(missing); }), expected);
    EXPECT_EQ(textOf([&] { readFileBytes(m_dir.path()); }),
              QStringLiteral("Cannot open file \"%1\". Is a directory").arg(m_dir.path()));
}

} // namespace
} // namespace quorvella
