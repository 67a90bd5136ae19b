#include "common/Windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = Windows1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(Windows1252::encode(text), all);
}

TEST(Windows1252, MapsTheHighControlRangeAsWindowsDoes)
{
    struct Case
    {
        unsigned char byte;
        char16_t ch;
    };
    const Case cases[] = {
        {0x80, u'€'}, {0x81, 0x0081}, {0x85, u'…'}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090},
        {0x93, u'“'}, {0x9D, 0x009D}, {0x9F, u'Ÿ'}, {0xA0, 0x00A0}, {0xE7, u'ç'},   {0x41, u'A'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Windows1252::toUnicode(c.byte), c.ch) << int(c.byte);
        EXPECT_EQ(static_cast<unsigned char>(Windows1252::encodeChar(c.ch)), c.byte) << int(c.byte);
    }
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeOneQuestionMark)
{
    EXPECT_EQ(Windows1252::encode(u"a\u4E2Db"), QByteArray("a?b"));
    EXPECT_EQ(Windows1252::encode(u"x\U0001F600y"), QByteArray("x?y"));
    EXPECT_FALSE(Windows1252::canEncode(u'\u4E2D'));
    EXPECT_TRUE(Windows1252::canEncode(u'ã'));
}
