#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The one codec between the program's texts and the Windows-1252 bytes of the
// files it reads and writes. Bytes 0x80-0x9F map as Windows maps them; the five
// bytes Windows leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own
// code point, so every byte survives a decode/encode round trip.
namespace Windows1252 {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);

// The character a byte stands for.
char16_t toUnicode(unsigned char byte);
// The byte for a character, or '?' when Windows-1252 has no such character.
char encodeChar(char16_t ch);
bool canEncode(char16_t ch);

} // namespace Windows1252
