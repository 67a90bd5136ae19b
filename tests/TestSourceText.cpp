#include "harvest/SourceText.h"
#include "tests/support/TestFiles.h"

#include <QDir>

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
    // Without the mark the same bytes are Windows-1252 characters.
    EXPECT_EQ(SourceText::fromBytes(QByteArray("ol\xC3\xA1")), u"olÃ¡\r\n"_s);
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
