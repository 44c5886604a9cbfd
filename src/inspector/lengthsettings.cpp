#include "inspector/lengthsettings.h"

#include "document/qzhtml.h"

#include <QRegularExpression>

namespace tw {
namespace {

bool IsLength(int setting)
{
    return setting == siFontSize || setting == siSubmenuFontSize || setting == siSubmenuLeftMargin;
}

} // namespace

QString LengthNeed(int setting)
{
    if (!IsLength(setting))
        return {};
    const QString examples = setting == siSubmenuLeftMargin ? QStringLiteral("„20px“ oder „1.5em“")
                                                            : QStringLiteral("„12px“, „0.9em“ oder „80%“");
    return QStringLiteral("Eine Größe mit Einheit, z. B. ") + examples + QStringLiteral(".");
}

QString MissingUnitWarning(int setting, const QString& text)
{
    static const QRegularExpression BareNumber(QStringLiteral("^\\s*(\\d*[.,]?\\d+)\\s*$"));
    const QRegularExpressionMatch match = BareNumber.match(text);
    const QString number = match.captured(1).replace(QLatin1Char(','), QLatin1Char('.'));
    if (!IsLength(setting) || !match.hasMatch() || number.toDouble() == 0.0)
        return {};
    return QStringLiteral("„") + text.trimmed() +
           QStringLiteral("“ hat keine Einheit; der Browser übergeht den Wert. Gemeint ist wohl „") + number +
           QStringLiteral("px“.");
}

} // namespace tw
