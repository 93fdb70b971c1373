#include "feedback/BugReportFormModel.h"

#include "feedback/WorkerBugReportSender.h"
#include "logging/VeskLogFileStore.h"

namespace vesk {

std::unique_ptr<BugReportFormModel> BugReportFormModel::make(const Environment& environment)
{
    auto sender =
        std::make_shared<WorkerBugReportSender>(environment.endpoint, environment.network, environment.mainQueue);
    auto service =
        std::make_unique<BugReportService>(std::move(sender), VeskLogFileStore::shared(), environment.workspace);
    return std::make_unique<BugReportFormModel>(std::move(service),
                                                [&screens = environment.screens, &clock = environment.clock] {
                                                    return BugReportMetadata::current(screens, clock);
                                                });
}

BugReportFormModel::BugReportFormModel(std::unique_ptr<BugReportService> service,
                                       std::function<BugReportMetadata()> metadata, QObject* parent)
    : QObject(parent)
    , service_(std::move(service))
    , metadata_(std::move(metadata))
{
    connect(service_.get(), &BugReportService::lastResultChanged, this, &BugReportFormModel::changed);
}

void BugReportFormModel::setCategory(BugReportCategory category)
{
    if (category_ == category)
        return;
    category_ = category;
    emit changed();
}

void BugReportFormModel::setTitle(const QString& title)
{
    if (title_ == title)
        return;
    title_ = title;
    emit changed();
}

void BugReportFormModel::setDetails(const QString& details)
{
    if (details_ == details)
        return;
    details_ = details;
    emit changed();
}

void BugReportFormModel::setContactEmail(const QString& contactEmail)
{
    if (contactEmail_ == contactEmail)
        return;
    contactEmail_ = contactEmail;
    emit changed();
}

void BugReportFormModel::setIncludeLogs(bool includeLogs)
{
    if (includeLogs_ == includeLogs)
        return;
    includeLogs_ = includeLogs;
    emit changed();
}

BugReport BugReportFormModel::makeReport() const
{
    BugReport report;
    report.category = category_;
    report.title = title_;
    report.description = details_;
    if (!contactEmail_.isEmpty())
        report.contactEmail = contactEmail_;
    report.includeLogs = includeLogs_;
    report.metadata = metadata_();
    return report;
}

void BugReportFormModel::sendReport()
{
    const BugReport report = makeReport();
    if (report.isValid())
        service_->submit(report);
}

} // namespace vesk
