#include "errors.h"

int StrToInt(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw PlatformError(QStringLiteral("'%1' não é um valor inteiro válido").arg(text));
    return value;
}
