#pragma once

#include "feedback/BugReport.h"
#include "feedback/BugReportEndpoint.h"
#include "feedback/BugReportService.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace vesk {

class Clock;
class Scheduler;

namespace platform {
class ScreenProviding;
class Workspace;
} // namespace platform

// The state behind one report form: what the user has chosen and typed, and
// the service that carries out its submissions. A new form starts with a new
// model: category bug, empty texts, logs on, no result.
class BugReportFormModel final : public QObject {
    Q_OBJECT

public:
    // What a host has at hand to build a form's model: reports go to the
    // endpoint with the shared log file attached.
    struct Environment {
        QNetworkAccessManager& network;
        Scheduler& mainQueue;
        const Clock& clock;
        platform::Workspace& workspace;
        const platform::ScreenProviding& screens;
        // Empty: not configured (a failed send, so the file fallback).
        QString endpoint = bugReportEndpointText();
    };
    static std::unique_ptr<BugReportFormModel> make(const Environment& environment);

    BugReportFormModel(std::unique_ptr<BugReportService> service, std::function<BugReportMetadata()> metadata,
                       QObject* parent = nullptr);

    BugReportCategory category() const { return category_; }
    const QString& title() const { return title_; }
    const QString& details() const { return details_; }
    const QString& contactEmail() const { return contactEmail_; }
    bool includeLogs() const { return includeLogs_; }
    BugReportService& service() const { return *service_; }

    void setCategory(BugReportCategory category);
    void setTitle(const QString& title);
    void setDetails(const QString& details);
    void setContactEmail(const QString& contactEmail);
    void setIncludeLogs(bool includeLogs);

    // The report as the fields stand now, with a fresh snapshot. The texts
    // are taken as typed; an empty contact field gives no contact address.
    BugReport makeReport() const;
    bool isValid() const { return makeReport().isValid(); }
    // Starts a submission of the current report (ignored while it is not
    // valid); the result arrives through the service's lastResult.
    void sendReport();

signals:
    void changed();

private:
    std::unique_ptr<BugReportService> service_;
    std::function<BugReportMetadata()> metadata_;
    BugReportCategory category_ = BugReportCategory::bug;
    QString title_;
    QString details_;
    QString contactEmail_;
    bool includeLogs_ = true;
};

} // namespace vesk
