#include "settings/Colours.h"

#include "common/QuorvelError.h"

using namespace Qt::Literals::StringLiterals;

QColor toQColor(CorTela cor)
{
    return QColor(vermelho(cor), verde(cor), azul(cor));
}

CorTela fromQColor(const QColor& color)
{
    return corRgb(color.red(), color.green(), color.blue());
}

QString CorParaHex(CorTela cor)
{
    return u"%1%2%3"_s.arg(vermelho(cor), 2, 16, QChar(u'0'))
        .arg(verde(cor), 2, 16, QChar(u'0'))
        .arg(azul(cor), 2, 16, QChar(u'0'))
        .toUpper();
}

CorTela HexParaCor(const QString& texto)
{
    CorTela cor = 0;
    for (int i = 0; i < 3; ++i) {
        const QString par = texto.mid(2 * i, 2);
        bool ok = !par.isEmpty();
        for (const QChar c : par)
            ok = ok && ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'));
        if (!ok)
            throw QuorvelError(u"'$"_s % par % u"' is not a valid integer value"_s);
        cor |= static_cast<CorTela>(par.toUInt(nullptr, 16)) << (8 * i);
    }
    return cor;
}
