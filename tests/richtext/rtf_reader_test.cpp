#include "richtext/rtf_reader.h"

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace quorvella {
namespace {

QString colorName(const RtfColor& color) {
    return QStringLiteral("#%1%2%3")
        .arg(color.red, 2, 16, QLatin1Char('0'))
        .arg(color.green, 2, 16, QLatin1Char('0'))
        .arg(color.blue, 2, 16, QLatin1Char('0'));
}

// A run as its text, followed by its format in braces unless the format is the pane's own:
// "big{b 18pt font=Arial fg=#ff0000}". Runs are joined by '|', paragraphs by '¶'.
QString describe(const RtfDocument& document) {
    QStringList paragraphs;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        QStringList runs;
        for (const RtfRun& run : paragraph.runs) {
            const RtfCharFormat& f = run.format;
            QStringList tags;
            if (f.bold) {
                tags << "b";
            }
            if (f.italic) {
                tags << "i";
            }
            if (f.underline) {
                tags << "u";
            }
            if (f.pointSize) {
                tags << QString::number(*f.pointSize) + "pt";
            }
            if (!f.fontFamily.isEmpty()) {
                tags << "font=" + f.fontFamily;
            }
            if (f.foreground) {
                tags << "fg=" + colorName(*f.foreground);
            }
            if (f.background) {
                tags << "bg=" + colorName(*f.background);
            }
            runs << (tags.isEmpty() ? run.text : run.text + "{" + tags.join(' ') + "}");
        }
        paragraphs << runs.join('|');
    }
    return paragraphs.join(u'¶');
}

QString describeRtf(const std::string& bytes) {
    const auto document = readRtf(bytes);
    return document ? describe(*document) : QStringLiteral("<not RTF>");
}

struct Case {
    const char* what;
    std::string rtf;
    QString expected;
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(describeRtf(c.rtf), c.expected) << c.what;
    }
}

TEST(RtfReader, CharacterFormats) {
    expectCases({
        {"plain text", "{\\rtf1\\ansi Hello world}", "Hello world"},
        {"toggles", "{\\rtf1 a{\\b b}c{\\i d}e{\\ul f}g\\ul h\\ulnone i\\uld j\\ul0 k\\b1 l\\b0 m}",
         "a|b{b}|c|d{i}|e|f{u}|g|h{u}|i|j{u}|k|l{b}|m"},
        {"half-point sizes", "{\\rtf1\\fs36 big\\fs17 small\\plain norm}",
         "big{18pt}|small{8.5pt}|norm"},
        {"colour table, out-of-range and auto entries",
         "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}"
         "\\cf1 red\\cf2\\cb1 mixed\\cf0\\cb0 plain\\highlight2 hi\\highlight0\\cf9 none}",
         "red{fg=#ff0000}|mixed{fg=#0080ff bg=#ff0000}|plain|hi{bg=#0080ff}|none"},
        {"font table with \\deff, a GBK name and \\plain back to the default font",
         "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}"
         "{\\f1\\fnil\\fcharset134{\\*\\panose 02010600030101010101}\\'cb\\'ce\\'cc\\'e5;}}"
         "a\\f1 b\\plain c}",
         "a{font=Times New Roman}|b{font=宋体}|c{font=Times New Roman}"},
        {"flat font table without inner groups",
         "{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fmodern Courier;}\\f1 x}",
         "x{font=Courier}"},
        {"nested groups restore the outer format", "{\\rtf1\\b a{\\i b{\\b0\\ul c}d}e}",
         "a{b}|b{b i}|c{i u}|d{b i}|e{b}"},
        {"a parameter ends at a non-digit, a space delimiter is eaten", "{\\rtf1\\b1x\\b0  y}",
         "x{b}| y"},
    });
}

TEST(RtfReader, ParagraphsBreaksAndEscapes) {
    expectCases({
        {"par, line and tab; the empty paragraph after the last par is dropped",
         "{\\rtf1 one\\par two\\line three\\tab four\\par}", "one¶two\u2028three\tfour"},
        {"an empty paragraph between two is kept", "{\\rtf1 a\\par\\par b}", "a¶¶b"},
        {"a backslash before a line break of the file is a par; line breaks are not text",
         "{\\rtf1 a\\\r\nb\r\nc}", "a¶bc"},
        {"escaped characters", "{\\rtf1 a\\\\b\\{c\\}d\\~e\\-f\\_g}", "a\\b{c}d\u00A0ef\u2011g"},
        {"symbol words",
         "{\\rtf1\\ldblquote x\\rdblquote\\lquote y\\rquote\\emdash\\endash\\bullet}",
         "\u201Cx\u201D\u2018y\u2019\u2014\u2013\u2022"},
        {"empty document", "{\\rtf1\\ansi}", ""},
    });
}

TEST(RtfReader, SkipsDestinationsAndBinaryData) {
    expectCases({
        {"tables, info, header, footer, pictures, starred and field instructions",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
         "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}{\\*\\generator G;}"
         "{\\header H}{\\footerl F}{\\pict\\pngblip 89504e47}{\\*\\unknown X{\\b Y}}"
         "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} body"
         "{\\*\\shppict{\\pict P}}{\\nonshppict{\\pict Q}}}",
         "link body"},
        {"unknown words are passed over, their text kept",
         "{\\rtf1\\pard\\qc\\sa120\\lang2052\\kerning2 kept}", "kept"},
        {"hidden text", "{\\rtf1 a{\\v hidden\\u20013?}b\\v c\\tab\\v0 d}", "abd"},
        {"binary data may hold braces, inside or outside a skipped group",
         "{\\rtf1 a{\\*\\objdata\\bin4 }{\\x}b\\bin3 {}x}", "ab"},
    });
}

TEST(RtfReader, DecodesBytesByCodePageAndFontCharset) {
    expectCases({
        {"\\'hh in a 936 document, a GBK-only character included",
         "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4 \\'e9\\'46}", "中文 镕"},
        {"a GB2312 font in a Western document; Windows-1252 elsewhere",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 SimSun;}}"
         "\\f0 caf\\'e9 \\'93q\\'94 \\f1\\'d6\\'d0\\'ce\\'c4}",
         "café \u201Cq\u201D {font=Arial}|中文{font=SimSun}"},
        {"raw GBK bytes, a trail byte that is a letter included",
         "{\\rtf1\\ansi\\ansicpg936 \xD6\xD0\xCE\xC4\xE9"
         "F}",
         "中文镕"},
        {"a double-byte character split over a line break of the file",
         "{\\rtf1\\ansicpg936 \\'d6\r\n\\'d0}", "中"},
        {"no code page named: the system's GBK", "{\\rtf1\\ansi \\'d6\\'d0\\'ce\\'c4}", "中文"},
        {"a 936 document reads a Western font's bytes as GBK too",
         "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 \\'d6\\'d0}",
         "中{font=Arial}"},
        {"without a code page, a Western font's bytes are Windows-1252",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 caf\\'e9}", "café{font=Arial}"},
        {"\\u with one fallback byte, negative values, a surrogate pair",
         "{\\rtf1\\uc1 \\u20013?\\u25991?\\u-32767?\\u-10176?\\u-9216?}",
         QString::fromUcs4(U"中文老\U00020000")},
        {"\\uc2 skips two \\'hh bytes; \\uc0 none; a group restores \\uc",
         "{\\rtf1{\\uc2\\u20013\\'d6\\'d0 x}\\u25991?{\\uc0\\u22269 y}}", "中 x文国y"},
        {"a group's end stops the fallback skipping", "{\\rtf1\\uc3{\\u20013}abc}", "中abc"},
    });
}

TEST(RtfReader, OnlyTextStartingWithTheRtfGroupIsRtf) {
    for (const char* text : {"", "Hello", " {\\rtf1 x}", "{\\RTF1 x}", "{rtf1 x}"}) {
        EXPECT_FALSE(readRtf(text).has_value()) << text;
    }
    EXPECT_TRUE(readRtf("{\\rtf").has_value());
}

TEST(RtfReader, DamagedInputGivesWhatWasRead) {
    struct Damaged {
        const char* what;
        std::string rtf;
        QString expected;
        bool complete;
    };
    const char raw[] = "{\\rtf1 a\0\x01\x1F\tb}";
    const std::string withNuls(raw, sizeof raw - 1);
    const std::vector<Damaged> cases = {
        {"cut off in the text", "{\\rtf1 Hello \\b wor", "Hello |wor{b}", false},
        {"cut off in the font table", "{\\rtf1{\\fonttbl{\\f0 Ari", "", false},
        {"cut off in \\'hh: the \\' is passed over", "{\\rtf1 a\\'4", "a4", false},
        {"a lone backslash at the end", "{\\rtf1 a\\", "a", false},
        {"\\u at the end", "{\\rtf1 a\\", "a", false},
        {"\\bin longer than the input", "{\\rtf1 a\\bin999999999 xyz", "a", false},
        {"huge parameters", "{\\rtf1\\fs99999999999999999999\\u-99999999999?x}", "x{1600pt}", true},
        {"closing braces beyond the document's end", "{\\rtf1 a}}}} b", "a", true},
        {"control bytes and NULs in the text", withNuls, "a\tb", true},
    };
    for (const Damaged& c : cases) {
        const auto document = readRtf(c.rtf);
        ASSERT_TRUE(document.has_value()) << c.what;
        EXPECT_EQ(describe(*document), c.expected) << c.what;
        EXPECT_EQ(document->complete, c.complete) << c.what;
    }
}

TEST(RtfReader, DeepNestingIsBoundedAndStillRestoresFormats) {
    const std::string unclosed = "{\\rtf1 " + std::string(200000, '{') + "deep";
    EXPECT_EQ(describeRtf(unclosed), "deep");

    // Far past any sane depth, then closed again: the text after is the root's.
    std::string closed = "{\\rtf1 ";
    for (int i = 0; i < 5000; ++i) {
        closed += "{\\b ";
    }
    closed += "x" + std::string(5000, '}') + "y}";
    const auto document = readRtf(closed);
    ASSERT_TRUE(document.has_value());
    EXPECT_EQ(describe(*document), "x{b}|y");
    EXPECT_TRUE(document->complete);
}

TEST(RtfReader, RandomBytesAfterTheHeaderEndQuickly) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    // Biased toward the bytes that drive the reader: braces, backslashes, letters, digits.
    const std::string drivers = "{}\\\\\\'*ubinfscfpar0123456789- ";
    std::uniform_int_distribution<std::size_t> driver(0, drivers.size() - 1);
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < 300; ++round) {
        std::string rtf = "{\\rtf1";
        for (int i = 0; i < 4000; ++i) {
            rtf += round % 2 == 0 ? char(byte(random)) : drivers[driver(random)];
        }
        const auto document = readRtf(rtf);
        ASSERT_TRUE(document.has_value());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

} // namespace
} // namespace quorvella
