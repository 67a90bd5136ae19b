#include "harvest/SourceText.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(SourceText, EveryLineEndsWithCarriageReturnAndLineFeed)
{
    struct Case
    {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {"", u""_s},
        {"a", u"a\r\n"_s},
        {"a\r\n", u"a\r\n"_s},
        {"a\rb\nc\r\nd", u"a\r\nb\r\nc\r\nd\r\n"_s},
        {"a\n\r\nb", u"a\r\n\r\nb\r\n"_s},
        {"\r\n", u"\r\n"_s},
        {"a\n\n", u"a\r\n\r\n"_s},
        {"\n\r", u"\r\n\r\n"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SourceText::fromBytes(c.bytes), c.text) << c.bytes.toStdString();
}

TEST(SourceText, ReadsWindows1252AndStopsAtByteZero)
{
    EXPECT_EQ(SourceText::fromBytes(QByteArray("ol\xE1 \x80\n")), u"olá €\r\n"_s);
    EXPECT_EQ(SourceText::fromBytes(QByteArray("ab\0cd\n", 6)), u"ab\r\n"_s);
}

TEST(SourceText, AUtf8ByteOrderMarkSwitchesToUtf8)
{
    EXPECT_EQ(SourceText::fromBytes(QByteArray("\xEF\xBB\xBFol\xC3\xA1\r\nx")), u"olá\r\nx\r\n"_s);
    // Forced to Windows-1252, the same bytes without the mark are its characters.
    EXPECT_EQ(SourceText::fromBytes(QByteArray("ol\xC3\xA1"), Encoding::Windows1252), u"olÃ¡\r\n"_s);
    // The mark wins over any forced choice.
    EXPECT_EQ(SourceText::fromBytes(QByteArray("\xEF\xBB\xBF\xC3\xA7"), Encoding::Windows1252), u"ç\r\n"_s);
}

// Without the mark: UTF-8 when there is a byte above 127 and every byte is
// UTF-8, Windows-1252 otherwise; forced UTF-8 replaces what is not, visibly,
// and tells the line of the first such byte.
TEST(SourceText, TheEncodingOfAFileWithoutItsMark)
{
    const struct
    {
        QByteArray bytes;
        Encoding encoding;
        QString text;
        bool utf8;
        int invalidLine;
    } cases[] = {
        {"ol\xC3\xA1", Encoding::Auto, u"olá\r\n"_s, true, 0},
        {"a\xE7\xE3o", Encoding::Auto, u"ação\r\n"_s, false, 0},              // Windows-1252, no UTF-8 here
        {"ol\xC3\xA1 e a\xE7", Encoding::Auto, u"olÃ¡ e aç\r\n"_s, false, 0}, // UTF-8 up to a point
        {"ascii", Encoding::Auto, u"ascii\r\n"_s, false, 0},
        {"\xC0\xAF", Encoding::Auto, u"À¯\r\n"_s, false, 0},                // an overlong '/' is no UTF-8
        {"\xED\xA0\x80", Encoding::Auto, u"í\u00A0\u20AC\r\n"_s, false, 0}, // nor a surrogate
        {"um\r\ndois\nol\xE1\r", Encoding::Utf8, u"um\r\ndois\r\nol\uFFFD\r\n"_s, true, 3},
        {"ol\xC3\xA1", Encoding::Utf8, u"olá\r\n"_s, true, 0},
        {"ol\xC3\xA1", Encoding::Windows1252, u"olÃ¡\r\n"_s, false, 0},
    };
    for (const auto& c : cases) {
        QString text;
        const SourceText::Decoding decoding = SourceText::fromBytes(c.bytes, text, c.encoding);
        EXPECT_EQ(text, c.text) << c.bytes.toStdString();
        EXPECT_EQ(decoding.utf8, c.utf8) << c.bytes.toStdString();
        EXPECT_EQ(decoding.invalidLine, c.invalidLine) << c.bytes.toStdString();
    }
}

// A byte-order mark decides the encoding: UTF-16 from either end, read whole
// though every ASCII letter has a byte 0 beside it; and what is not valid in
// the marked encoding is told with its line, as in a text forced to UTF-8.
TEST(SourceText, FilesWithAByteOrderMark)
{
    const QString text = u"unit Ação;\r\n//? Geral\n//* 😀 fim"_s;
    const auto utf16 = [&](QStringConverter::Encoding encoding) {
        return QByteArray(QStringEncoder(encoding, QStringConverter::Flag::WriteBom).encode(text));
    };
    const QString expected = u"unit Ação;\r\n//? Geral\r\n//* 😀 fim\r\n"_s;
    const struct
    {
        QByteArray bytes;
        QString text;
        int invalidLine;
        bool utf16;
    } cases[] = {
        {utf16(QStringConverter::Utf16LE), expected, 0, true},
        {utf16(QStringConverter::Utf16BE), expected, 0, true},
        {utf16(QStringConverter::Utf16LE) + QByteArray("\0\0x\0", 4), expected, 0,
         true}, // a character 0 ends it
        {QByteArray("\xFF\xFEu\0\n\0\x00\xDCz\0", 10), u"u\r\n\uFFFDz\r\n"_s, 2, true}, // a lone surrogate
        {"\xEF\xBB\xBFum\ndois \xE1\n", u"um\r\ndois \uFFFD\r\n"_s, 2, false},
    };
    TestFolder folder;
    for (const auto& c : cases) {
        const QByteArray read = SourceText::readFile(folder.write(u"u.pas"_s, c.bytes));
        QString decoded;
        const SourceText::Decoding decoding = SourceText::fromBytes(read, decoded, Encoding::Windows1252);
        EXPECT_EQ(decoded, c.text) << c.bytes.toHex().toStdString();
        EXPECT_TRUE(decoding.utf8);
        EXPECT_EQ(decoding.utf16, c.utf16);
        EXPECT_EQ(decoding.invalidLine, c.invalidLine) << c.bytes.toHex().toStdString();
    }
}

TEST(SourceText, AFolderIsNotAFileAndCannotBeRead)
{
    TestFolder folder;
    const QString file = folder.write(u"u.pas"_s, "unit u;");
    QDir().mkpath(folder.path(u"pasta.pas"_s));
    EXPECT_TRUE(SourceText::fileExists(file));
    EXPECT_FALSE(SourceText::fileExists(folder.path(u"pasta.pas"_s)));
    EXPECT_FALSE(SourceText::fileExists(folder.path(u"nada.pas"_s)));
    EXPECT_EQ(SourceText::readFile(file), QByteArray("unit u;"));
}

TEST(SourceText, ReadsAWholeFileIntoNoMoreRoomThanItNeeds)
{
    TestFolder folder;
    QByteArray big(300 * 1024, 'x');
    big[0] = 'a';
    big[big.size() - 1] = 'z';
    const QByteArray read = SourceText::readFile(folder.write(u"grande.pas"_s, big));
    EXPECT_EQ(read, big);
    EXPECT_LE(read.capacity(), big.size() + 1); // the trace may keep it for long

    // A file that reports no size at all, as those of /proc do, is read whole.
    const QByteArray status = SourceText::readFile(u"/proc/self/maps"_s);
    EXPECT_GT(status.size(), 4096);
    EXPECT_TRUE(status.endsWith('\n'));
}
