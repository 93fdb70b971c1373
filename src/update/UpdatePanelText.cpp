#include "update/UpdatePanelText.h"

#include <cmath>

namespace vesk {

namespace {

const QString fallbackNotesLine = QStringLiteral("Diese Version enthält Verbesserungen und Fehlerbehebungen.");

} // namespace

QStringList releaseNotesLines(const std::optional<QString>& html)
{
    if (!html || html->isEmpty())
        return {fallbackNotesLine};
    QString text = *html;
    for (const char* lineEnd : {"</li>", "<br>", "<br/>", "<br />"})
        text.replace(QString::fromLatin1(lineEnd), QStringLiteral("\n"));
    QStringList lines;
    for (const QString& piece : text.split(QLatin1Char('\n'))) {
        const QString line = stripHTMLTags(piece).trimmed();
        if (!line.isEmpty())
            lines.append(line);
    }
    if (lines.isEmpty())
        return {fallbackNotesLine};
    return lines;
}

QString stripHTMLTags(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    bool inTag = false;
    for (const QChar character : text) {
        if (character == QLatin1Char('<'))
            inTag = true;
        else if (character == QLatin1Char('>'))
            inTag = false;
        else if (!inTag)
            kept.append(character);
    }
    return kept;
}

QString megabyteText(std::uint64_t bytes, const QLocale& locale)
{
    const double megabytes = static_cast<double>(bytes) / 1'000'000.0;
    const int decimals = megabytes < 100 ? 1 : 0;
    return locale.toString(megabytes, 'f', decimals) + QStringLiteral(" MB");
}

long long roundedPercent(double progress)
{
    if (!std::isfinite(progress))
        return 0;
    return std::llround(progress * 100);
}

} // namespace vesk
