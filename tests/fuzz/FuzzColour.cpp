// The colour texts: a text either converts or fails with the conversion
// error; a text that converts gives back its first six digits in upper case.
#include "common/QuorvelError.h"
#include "settings/Colours.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const ScreenColour colour = hexToColour(text);
        if ((colour >> 24) != 0)
            std::abort();
        if (text.size() >= 6 && colourToHex(colour) != text.left(6).toUpper())
            std::abort();
    } catch (const QuorvelError& e) {
        if (!e.message().endsWith(QStringLiteral("' is not a valid integer value")))
            std::abort();
    }
    return 0;
}
