#pragma once

#include "feedback/BugReportFormModel.h"
#include "ui/Localizer.h"
#include "ui/Symbol.h"
#include "ui/VeskTheme.h"

#include <QDialog>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QButtonGroup;
class QPushButton;
class QStackedWidget;

namespace vesk {

class GroupedForm;
class ScreensSettingsView;
class SoftwareUpdateControlling;
class VeskDefaultsStore;

// The settings window's content: six tabs (Allgemein, Darstellung, Stage
// Vesk, Bildschirme, Sound, Feedback) whose controls are bound to the
// settings store. A control writes its setting the moment it changes and
// follows the store when the setting changes elsewhere; the view keeps no
// copy. Each control's object name is its setting's key ("vesk.language").
class SettingsView final : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize tabViewSize{520, 420};

    struct Services {
        VeskDefaultsStore& defaults;
        // For "Jetzt suchen" and whether a check may start.
        SoftwareUpdateControlling& updates;
        // The bug-report form's services; its workspace opens the privacy
        // link, its screens list the "Bildschirme" page.
        BugReportFormModel::Environment bugReports;
        // The privacy-policy page; none: the "Datenschutz" section is absent.
        std::optional<QUrl> privacyPolicy;
        // Where updates come from when Vesk does not install them itself (a
        // German text marked QT_TRANSLATE_NOOP("SettingsView", …)), shown
        // under the version row; none: no such line.
        const char* updateSourceNote = nullptr;
    };

    SettingsView(Services services, Localizer localizer = Localizer(), QWidget* parent = nullptr);
    ~SettingsView() override;

    // Labels every page again in the localizer's language; the tab shown stays.
    void setLocalizer(Localizer localizer);
    const Localizer& localizer() const { return localizer_; }
    // Enables "Jetzt suchen" exactly while the update service can check.
    void refreshUpdateButton();

    bool isBugReportPresented() const { return isBugReportPresented_; }
    void setBugReportPresented(bool presented);
    QDialog* bugReportSheet() const { return bugReportSheet_; }

    QStringList tabTitles() const;
    int currentTab() const;
    void showTab(int index);
    ScreensSettingsView* screensPage() const { return screensPage_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildTabs();
    void addTab(const char* title, Symbol symbol, QWidget* page);
    QWidget* makeGeneralPage();
    QWidget* makeAppearancePage();
    QWidget* makeStagePage();
    QWidget* makeSoundPage();
    QWidget* makeFeedbackPage();
    QWidget* makeVersionRow(GroupedForm* form);
    QWidget* makeToggle(const QString& key, bool (VeskDefaultsStore::*read)() const,
                        void (VeskDefaultsStore::*write)(bool), void (VeskDefaultsStore::*changed)());
    // A menu-style picker showing `read()`; a chosen row's value goes to `write`.
    QWidget* makePicker(const QString& key, const std::vector<std::pair<QString, QVariant>>& rows,
                        std::function<QVariant()> read, std::function<void(const QVariant&)> write,
                        void (VeskDefaultsStore::*changed)());
    QString localized(const char* text) const;

    Services services_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();
    bool isBugReportPresented_ = false;
    QPointer<QDialog> bugReportSheet_;
    QPointer<QWidget> tabs_;
    QButtonGroup* tabButtons_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QPushButton* checkNowButton_ = nullptr;
    ScreensSettingsView* screensPage_ = nullptr;
};

} // namespace vesk
