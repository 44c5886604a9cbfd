#include "shell/dialogfilter.h"

namespace tw {
namespace {

QString DescriptionWithoutPatterns(const QString& description)
{
    const QString text = description.trimmed();
    const qsizetype open = text.lastIndexOf(QLatin1Char('('));
    if (open < 0 || !text.endsWith(QLatin1Char(')')))
        return text;
    return text.left(open).trimmed();
}

QString QtPatterns(const QString& patterns)
{
    QStringList result;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty())
            result.append(trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    return result.join(QLatin1Char(' '));
}

} // namespace

QStringList QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(DescriptionWithoutPatterns(parts[i]) + QStringLiteral(" (") + QtPatterns(parts[i + 1]) +
                       QLatin1Char(')'));
    return filters;
}

} // namespace tw
