#include "speech/spin_field.h"

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace quorvella {
namespace {

constexpr int intMax = std::numeric_limits<int>::max();
constexpr int intMin = std::numeric_limits<int>::min();

// A field with a range and a handler that counts its runs.
struct CountedField {
    SpinField field{5};
    int changes = 0;

    CountedField(int minimum, int maximum, const QString& text) {
        field.setMinimum(minimum);
        field.setMaximum(maximum);
        field.setText(text);
        field.setChangeHandler([this] { ++changes; });
    }
};

TEST(SpinField, ValueIsTheIntegerOfTheTextElseTheMinimum) {
    struct Case {
        QString text;
        int value;
    };
    const std::vector<Case> cases = {
        {"150", 150},
        {"+7", 7},
        {"-3", -3},
        {"007", 7},
        {"900", 900}, // not limited
        {"", 10},
        {"-", 10},
        {"+", 10},
        {"1.5", 10},
        {"12a", 10},
        {" 5", 10},
        {"5 ", 10},
        {"+-5", 10},
        {"１２", 10}, // full-width digits
        {"99999999999", intMax},
        {"-99999999999", intMin},
        {"000000000000000000000000042", 42},
    };
    for (const Case& c : cases) {
        CountedField f(10, 450, c.text);
        EXPECT_EQ(f.field.value(), c.value) << c.text.toStdString();
    }
}

TEST(SpinField, SettingTheValueLimitsItExceptWhenMinimumEqualsMaximum) {
    struct Case {
        int minimum, maximum, value;
        QString text;
    };
    const std::vector<Case> cases = {
        {80, 450, 150, "150"}, {80, 450, 20, "80"},    {80, 450, 500, "450"},
        {0, 0, -7, "-7"},      {0, 0, 99999, "99999"}, // an unfilled field passes anything
        {30, 30, 5, "5"},      {30, 30, 31, "31"},     {20, 10, 15, "20"},
        {20, 10, 5, "20"},     {20, 10, 25, "10"}, // crossed bounds
    };
    for (const Case& c : cases) {
        CountedField f(c.minimum, c.maximum, "0");
        f.field.setValue(c.value);
        EXPECT_EQ(f.field.text(), c.text) << c.minimum << ".." << c.maximum << " " << c.value;
    }
}

TEST(SpinField, OnlyAChangedTextRunsTheHandler) {
    CountedField f(80, 450, "150");

    f.field.setValue(150);
    f.field.setText("150");
    f.field.setValue(900); // limited to 450
    f.field.setValue(460); // limited to 450 again: same text
    EXPECT_EQ(f.changes, 1);

    f.field.setText("0450"); // same value, other text
    f.field.setText("");
    f.field.stepUp();
    EXPECT_EQ(f.changes, 4);

    // The bounds leave the shown text alone, even outside them.
    f.field.setText("500");
    f.field.setMaximum(300);
    f.field.setMinimum(200);
    EXPECT_EQ(f.field.text(), "500");
    EXPECT_EQ(f.changes, 5);
}

TEST(SpinField, ArrowsStepWithinTheRange) {
    struct Case {
        int minimum, maximum;
        QString text;
        bool up;
        QString after;
    };
    const std::vector<Case> cases = {
        {0, 65535, "30000", true, "35000"},
        {0, 65535, "30000", false, "25000"},
        {0, 65535, "63000", true, "65535"},
        {0, 65535, "3000", false, "0"},
        {0, 65535, "65535", true, "65535"},
        {100, 65535, "", true, "5100"},           // no integer: counts as the minimum
        {0, 0, "-3", false, "-5003"},             // unfilled: no limits
        {0, 0, "2147480000", true, "2147483647"}, // never past what an int holds
        {0, 0, "-2147480000", false, "-2147483648"},
    };
    for (const Case& c : cases) {
        SpinField field(5000);
        field.setMinimum(c.minimum);
        field.setMaximum(c.maximum);
        field.setText(c.text);
        if (c.up) {
            field.stepUp();
        } else {
            field.stepDown();
        }
        EXPECT_EQ(field.text(), c.after) << c.text.toStdString() << (c.up ? " up" : " down");
    }
}

TEST(SpinField, FocusLossWritesBackOnlyATypedValueOutsideTheRange) {
    struct Case {
        int minimum, maximum;
        QString typed;
        QString after;
        int changes;
    };
    const std::vector<Case> cases = {
        {80, 450, "500", "450", 1}, {80, 450, "7", "80", 1},      {80, 450, "300", "300", 0},
        {80, 450, "", "", 0},       {80, 450, "-", "-", 0}, // counts as the minimum: in range
        {0, 0, "500", "500", 0},    {80, 450, "+450", "+450", 0},
    };
    for (const Case& c : cases) {
        CountedField f(c.minimum, c.maximum, c.typed);
        f.field.focusLost();
        EXPECT_EQ(f.field.text(), c.after) << c.typed.toStdString();
        EXPECT_EQ(f.changes, c.changes) << c.typed.toStdString();
    }
}

TEST(SpinField, AcceptsDigitsSignsTheDecimalSeparatorAndControlKeysButEnter) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    struct Case {
        QChar key;
        bool english, german;
    };
    const std::vector<Case> cases = {
        {u'0', true, true},
        {u'9', true, true},
        {u'+', true, true},
        {u'-', true, true},
        {u'.', true, false},
        {u',', false, true},
        {u'\b', true, true},
        {QChar(0x16), true, true}, // backspace, Ctrl+V
        {u'\t', true, true},
        {u'\x1b', true, true},
        {u'\r', false, false},
        {u'a', false, false},
        {u' ', false, false},
        {u'e', false, false},
        {QChar(0xFF11), false, false}, // full-width 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpinField::acceptsKey(c.key, english), c.english) << int(c.key.unicode());
        EXPECT_EQ(SpinField::acceptsKey(c.key, german), c.german) << int(c.key.unicode());
    }
}

} // namespace
} // namespace quorvella
