#pragma once

#include "analytics/client/SystemFactsProviding.h"

namespace vesk::telemetry::testing {

// The system facts a test hands the client, instead of the machine's own.
class FixedSystemFacts final : public SystemFactsProviding {
public:
    static SystemFacts example()
    {
        SystemFacts facts;
        facts.systemMajorVersion = 14;
        facts.systemMinorVersion = 5;
        facts.systemPatchVersion = 1;
        facts.appVersion = QStringLiteral("1.4.0");
        facts.buildNumber = QStringLiteral("27");
        facts.modelName = QStringLiteral("Workstation1,1");
        facts.architecture = QStringLiteral("arm64");
        facts.localeIdentifier = QStringLiteral("de_DE");
        facts.regionCode = QStringLiteral("DE");
        facts.languageCode = QStringLiteral("de");
        facts.preferredLanguages = {QStringLiteral("en-GB"), QStringLiteral("de-DE")};
        facts.timeZone = QTimeZone("Europe/Berlin");
        facts.darkAppearance = true;
        facts.layoutDirection = SystemFacts::LayoutDirection::leftToRight;
        facts.mainScreen = SystemFacts::Screen{1920, 1080, 2};
        return facts;
    }

    SystemFacts facts = example();

    SystemFacts currentFacts() const override { return facts; }
    QTimeZone timeZone() const override { return facts.timeZone; }
};

} // namespace vesk::telemetry::testing
