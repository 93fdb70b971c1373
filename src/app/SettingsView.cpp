#include "app/SettingsView.h"

#include "app/GroupedForm.h"
#include "app/ScreensSettingsView.h"
#include "app/SheetDialog.h"
#include "core/AppVersion.h"
#include "feedback/BugReportView.h"
#include "platform/Workspace.h"
#include "settings/DurationDefaults.h"
#include "settings/VeskDefaultsStore.h"
#include "settings/VeskLanguage.h"
#include "ui/StyleSheetColor.h"
#include "ui/TextLabel.h"
#include "ui/ToggleSwitch.h"
#include "ui/VeskFont.h"
#include "update/SoftwareUpdateControlling.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <utility>
#include <vector>

namespace vesk {

namespace {

constexpr const char* context = "SettingsView";

// One row of a picker: its text and the value it stands for.
using PickerRows = std::vector<std::pair<QString, QVariant>>;

// A menu-style picker with the rows' texts, each carrying its value.
QComboBox* styledPicker(const QString& key, const PickerRows& rows, const VeskTheme& theme)
{
    auto* picker = new QComboBox;
    picker->setObjectName(key);
    for (const auto& [text, value] : rows)
        picker->addItem(text, value);
    picker->setFont(VeskFont::interface(12.5));
    picker->setCursor(Qt::PointingHandCursor);
    // The open list takes the application's look (ApplicationLook).
    picker->setStyleSheet(
        QStringLiteral("QComboBox { color: %1; background: %2; border: 1px solid %3; border-radius: 6px;"
                       " padding: 3px 10px; min-width: 130px; }")
            .arg(styleSheetColor(theme.textPrimary), styleSheetColor(theme.insetStrong),
                 styleSheetColor(theme.hairlineStrong)));
    return picker;
}

void selectValue(QComboBox* picker, const QVariant& value)
{
    picker->setCurrentIndex(picker->findData(value));
}

QPushButton* makeButton(const QString& text, const VeskTheme& theme)
{
    auto* button = new QPushButton(text);
    button->setFont(VeskFont::interface(12, QFont::Medium));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; background: %2; border: 1px solid %3; border-radius: 6px;"
                       " padding: 4px 12px; }"
                       " QPushButton:disabled { color: %4; background: transparent; }")
            .arg(styleSheetColor(theme.textPrimary), styleSheetColor(theme.insetStrong),
                 styleSheetColor(theme.hairlineStrong), styleSheetColor(theme.textDim)));
    return button;
}

} // namespace

SettingsView::SettingsView(Services services, Localizer localizer, QWidget* parent)
    : QWidget(parent)
    , services_(std::move(services))
    , localizer_(std::move(localizer))
{
    setFixedSize(tabViewSize);
    buildTabs();
}

SettingsView::~SettingsView()
{
    if (bugReportSheet_)
        delete bugReportSheet_;
}

QString SettingsView::localized(const char* text) const
{
    return localizer_.translate(context, text);
}

void SettingsView::setLocalizer(Localizer localizer)
{
    localizer_ = std::move(localizer);
    const int shown = currentTab();
    // The language picker that led here may still be on the stack.
    tabs_->hide();
    tabs_->setParent(nullptr);
    tabs_->deleteLater();
    buildTabs();
    showTab(shown);
}

void SettingsView::buildTabs()
{
    tabs_ = new QWidget(this);
    tabs_->setGeometry(rect());
    auto* layout = new QVBoxLayout(tabs_);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    bar->addStretch();
    layout->addLayout(bar);
    auto* hairline = new QWidget(tabs_);
    hairline->setFixedHeight(1);
    hairline->setStyleSheet(QStringLiteral("background: %1;").arg(styleSheetColor(theme_.hairline)));
    layout->addWidget(hairline);
    pages_ = new QStackedWidget(tabs_);
    layout->addWidget(pages_, 1);
    tabButtons_ = new QButtonGroup(tabs_);
    connect(tabButtons_, &QButtonGroup::idClicked, pages_, &QStackedWidget::setCurrentIndex);

    addTab(QT_TRANSLATE_NOOP("SettingsView", "Allgemein"), Symbol::gearshape, makeGeneralPage());
    addTab(QT_TRANSLATE_NOOP("SettingsView", "Darstellung"), Symbol::paintbrush, makeAppearancePage());
    addTab(QT_TRANSLATE_NOOP("SettingsView", "Stage Vesk"), Symbol::rectangle3Group, makeStagePage());
    screensPage_ = new ScreensSettingsView(services_.defaults, services_.bugReports.screens, localizer_);
    addTab(QT_TRANSLATE_NOOP("SettingsView", "Bildschirme"), Symbol::rectangleOnRectangle, screensPage_);
    addTab(QT_TRANSLATE_NOOP("SettingsView", "Sound"), Symbol::speakerWave2, makeSoundPage());
    addTab(QT_TRANSLATE_NOOP("SettingsView", "Feedback"), Symbol::exclamationmarkBubble, makeFeedbackPage());
    bar->addStretch();
    showTab(0);
    tabs_->show();
}

void SettingsView::addTab(const char* title, Symbol symbol, QWidget* page)
{
    auto* button = new QToolButton(tabs_);
    button->setText(localized(title));
    button->setIcon(QIcon(symbolPixmap(symbol, 17, theme_.textPrimary)));
    button->setIconSize(QSize(22, 22));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setCheckable(true);
    button->setFont(VeskFont::interface(11));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedWidth(78);
    button->setStyleSheet(QStringLiteral("QToolButton { color: %1; background: transparent; border: none;"
                                         " border-radius: 6px; padding: 4px 2px; }"
                                         " QToolButton:checked { color: %2; background: %3; }")
                              .arg(styleSheetColor(theme_.textSecondary), styleSheetColor(theme_.textStrong),
                                   styleSheetColor(theme_.insetStrong)));
    auto* bar = static_cast<QHBoxLayout*>(tabs_->layout()->itemAt(0)->layout());
    bar->addWidget(button);
    tabButtons_->addButton(button, pages_->count());
    // A page taller than the window (long texts in some languages) scrolls.
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    scroll->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    pages_->addWidget(scroll);
}

QStringList SettingsView::tabTitles() const
{
    QStringList titles;
    for (QAbstractButton* button : tabButtons_->buttons())
        titles.append(button->text());
    return titles;
}

int SettingsView::currentTab() const
{
    return pages_->currentIndex();
}

void SettingsView::showTab(int index)
{
    pages_->setCurrentIndex(index);
    tabButtons_->button(index)->setChecked(true);
}

QWidget* SettingsView::makeToggle(const QString& key, bool (VeskDefaultsStore::*read)() const,
                                  void (VeskDefaultsStore::*write)(bool), void (VeskDefaultsStore::*changed)())
{
    VeskDefaultsStore& defaults = services_.defaults;
    auto* toggle = new ToggleSwitch(theme_);
    toggle->setObjectName(key);
    toggle->setChecked((defaults.*read)());
    connect(toggle, &ToggleSwitch::clicked, &defaults, [&defaults, write](bool on) { (defaults.*write)(on); });
    connect(&defaults, changed, toggle, [toggle, &defaults, read] { toggle->setChecked((defaults.*read)()); });
    return toggle;
}

QWidget* SettingsView::makePicker(const QString& key, const PickerRows& rows, std::function<QVariant()> read,
                                  std::function<void(const QVariant&)> write, void (VeskDefaultsStore::*changed)())
{
    QComboBox* picker = styledPicker(key, rows, theme_);
    selectValue(picker, read());
    connect(picker, &QComboBox::activated, this, [picker, write](int row) { write(picker->itemData(row)); });
    connect(&services_.defaults, changed, picker, [picker, read] { selectValue(picker, read()); });
    return picker;
}

QWidget* SettingsView::makeGeneralPage()
{
    VeskDefaultsStore& defaults = services_.defaults;
    auto* form = new GroupedForm(theme_);

    QWidget* session = form->addSection(localizer_.translate("SettingsView", "Sitzung"));
    PickerRows languages{{localizer_.translate("SettingsView", "System (Standard)"), toRaw(VeskLanguage::system)},
                         {QStringLiteral("Deutsch"), toRaw(VeskLanguage::german)},
                         {QStringLiteral("English"), toRaw(VeskLanguage::english)},
                         {QStringLiteral("Italiano"), toRaw(VeskLanguage::italian)},
                         {QStringLiteral("Français"), toRaw(VeskLanguage::french)},
                         {QStringLiteral("Español"), toRaw(VeskLanguage::spanish)}};
    QWidget* language = makePicker(
        QStringLiteral("vesk.language"), languages, [&defaults] { return QVariant(toRaw(defaults.language())); },
        [&defaults](const QVariant& value) {
            defaults.setLanguage(fromRaw<VeskLanguage>(value.toString()).value_or(VeskLanguage::system));
        },
        &VeskDefaultsStore::languageChanged);
    form->addRow(session, form->labelledRow(localizer_.translate("SettingsView", "Sprache"), language));

    PickerRows durations;
    for (const DurationDefaults::Option& option : DurationDefaults::options())
        durations.emplace_back(localizer_.translate("DurationDefaults", option.label), option.seconds);
    QWidget* duration = makePicker(
        QStringLiteral("vesk.defaultDurationSeconds"), durations,
        [&defaults] { return QVariant(defaults.defaultDurationSeconds()); },
        [&defaults](const QVariant& value) { defaults.setDefaultDurationSeconds(value.toLongLong()); },
        &VeskDefaultsStore::defaultDurationSecondsChanged);
    form->addRow(session, form->labelledRow(localizer_.translate("SettingsView", "Standard-Dauer"), duration));

    form->addRow(session,
                 form->labelledRow(localizer_.translate("SettingsView", "Hardcore-Modus standardmaessig aktiv"),
                                   makeToggle(QStringLiteral("vesk.defaultHardcoreOn"),
                                              &VeskDefaultsStore::defaultHardcoreOn,
                                              &VeskDefaultsStore::setDefaultHardcoreOn,
                                              &VeskDefaultsStore::defaultHardcoreOnChanged)));

    QWidget* updates = form->addSection(localizer_.translate("SettingsView", "Software-Updates"));
    form->addRow(updates, form->captioned(form->labelledRow(localizer_.translate("SettingsView",
                                                                                 "Automatisch nach Updates suchen"),
                                                            makeToggle(QStringLiteral("vesk.autoCheckForUpdates"),
                                                                       &VeskDefaultsStore::autoCheckForUpdates,
                                                                       &VeskDefaultsStore::setAutoCheckForUpdates,
                                                                       &VeskDefaultsStore::autoCheckForUpdatesChanged)),
                                          localizer_.translate("SettingsView", "Prüft täglich im Hintergrund.")));
    form->addRow(
        updates,
        form->captioned(form->labelledRow(localizer_.translate("SettingsView", "Updates automatisch installieren"),
                                          makeToggle(QStringLiteral("vesk.autoInstallUpdates"),
                                                     &VeskDefaultsStore::autoInstallUpdates,
                                                     &VeskDefaultsStore::setAutoInstallUpdates,
                                                     &VeskDefaultsStore::autoInstallUpdatesChanged)),
                        localizer_.translate("SettingsView",
                                             "Lädt & installiert neue Versionen beim Beenden — ohne Nachfrage.")));
    form->addRow(updates, services_.updateSourceNote
                              ? form->captioned(makeVersionRow(form),
                                                localizer_.translate("SettingsView", services_.updateSourceNote))
                              : makeVersionRow(form));
    return form;
}

// The dot, "VESK <version>" over "Build <build>", and "Jetzt suchen".
QWidget* SettingsView::makeVersionRow(GroupedForm* form)
{
    auto* row = new QWidget(form);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(9);
    auto* dot = new QWidget(row);
    dot->setFixedSize(7, 7);
    dot->setStyleSheet(QStringLiteral("background: %1; border-radius: 3px;").arg(styleSheetColor(theme_.ok)));
    layout->addWidget(dot, 0, Qt::AlignVCenter);

    auto* column = new QVBoxLayout;
    column->setSpacing(1);
    TextStyle versionStyle;
    versionStyle.font = VeskFont::interface(12.5);
    column->addWidget(
        new TextLabel(QStringLiteral("VESK ") + appVersionString(), versionStyle, theme_.textPrimary, row));
    TextStyle buildStyle;
    buildStyle.font = VeskFont::interface(11);
    column->addWidget(new TextLabel(localizer_.translate("SettingsView", "Build %1").arg(appBuildString()), buildStyle,
                                    theme_.textSecondary, row));
    layout->addLayout(column, 1);

    checkNowButton_ = makeButton(localizer_.translate("SettingsView", "Jetzt suchen"), theme_);
    checkNowButton_->setObjectName(QStringLiteral("checkForUpdates"));
    connect(checkNowButton_, &QPushButton::clicked, this, [this] { services_.updates.checkForUpdates(); });
    layout->addWidget(checkNowButton_, 0, Qt::AlignVCenter);
    refreshUpdateButton();
    return row;
}

void SettingsView::refreshUpdateButton()
{
    checkNowButton_->setEnabled(services_.updates.canCheckForUpdates());
}

QWidget* SettingsView::makeAppearancePage()
{
    auto* form = new GroupedForm(theme_);
    QWidget* section = form->addSection();
    form->addRow(
        section,
        form->captioned(form->labelledRow(
                            localizer_.translate("SettingsView", "Animationen reduzieren"),
                            makeToggle(QStringLiteral("vesk.reducedMotion"), &VeskDefaultsStore::reducedMotion,
                                       &VeskDefaultsStore::setReducedMotion, &VeskDefaultsStore::reducedMotionChanged)),
                        localizer_.translate("SettingsView",
                                             "Pausiert das Funkeln der Sterne und den Orbit des Wormvesk-Symbols.")));
    return form;
}

QWidget* SettingsView::makeStagePage()
{
    VeskDefaultsStore& defaults = services_.defaults;
    auto* form = new GroupedForm(theme_);
    QWidget* section = form->addSection();
    PickerRows minutes{{localizer_.translate("SettingsView", "3 Min"), qint64(3)},
                       {localizer_.translate("SettingsView", "5 Min"), qint64(5)},
                       {localizer_.translate("SettingsView", "10 Min"), qint64(10)},
                       {localizer_.translate("SettingsView", "15 Min"), qint64(15)}};
    QWidget* aging = makePicker(
        QStringLiteral("vesk.stageVeskAgingMinutes"), minutes,
        [&defaults] { return QVariant(defaults.stageVeskAgingMinutes()); },
        [&defaults](const QVariant& value) { defaults.setStageVeskAgingMinutes(value.toLongLong()); },
        &VeskDefaultsStore::stageVeskAgingMinutesChanged);
    form->addRow(section,
                 form->captioned(form->labelledRow(localizer_.translate("SettingsView", "Queue-Aging"), aging),
                                 localizer_.translate("SettingsView",
                                                      "Apps in der Queue werden nach dieser Zeit visuell als „Brauchst "
                                                      "du das noch?“ markiert.")));
    return form;
}

QWidget* SettingsView::makeSoundPage()
{
    auto* form = new GroupedForm(theme_);
    QWidget* section = form->addSection();
    form->addRow(section,
                 form->labelledRow(localizer_.translate("SettingsView", "Sound aktiviert"),
                                   makeToggle(QStringLiteral("vesk.soundEnabled"), &VeskDefaultsStore::soundEnabled,
                                              &VeskDefaultsStore::setSoundEnabled,
                                              &VeskDefaultsStore::soundEnabledChanged)));
    return form;
}

QWidget* SettingsView::makeFeedbackPage()
{
    auto* form = new GroupedForm(theme_);

    QWidget* report = form->addSection(localizer_.translate("SettingsView", "Problem melden"));
    auto* reportButton = makeButton(localizer_.translate("SettingsView", "Bug, Feedback oder Idee senden"), theme_);
    reportButton->setObjectName(QStringLiteral("reportProblem"));
    reportButton->setIcon(QIcon(symbolPixmap(Symbol::exclamationmarkBubble, 12, theme_.textPrimary)));
    connect(reportButton, &QPushButton::clicked, this, [this] { setBugReportPresented(true); });
    auto* buttonRow = new QWidget(form);
    auto* buttonLayout = new QHBoxLayout(buttonRow);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    buttonLayout->addWidget(reportButton);
    buttonLayout->addStretch();
    form->addRow(report, form->captioned(buttonRow,
                                         localizer_.translate("SettingsView",
                                                              "Öffnet ein Formular und sendet deinen Bericht inkl. "
                                                              "optionaler Diagnose-Logs an die VESK-Beta-Adresse.")));

    QWidget* analytics = form->addSection();
    form->addRow(
        analytics,
        form->captioned(form->labelledRow(localizer_.translate("SettingsView", "Anonyme Nutzungsstatistiken teilen"),
                                          makeToggle(QStringLiteral("vesk.analyticsEnabled"),
                                                     &VeskDefaultsStore::analyticsEnabled,
                                                     &VeskDefaultsStore::setAnalyticsEnabled,
                                                     &VeskDefaultsStore::analyticsEnabledChanged)),
                        localizer_.translate("SettingsView", "Hilft uns, VESK zu verbessern. Jederzeit abschaltbar.")));

    form->addRow(form->addSection(localizer_.translate("SettingsView", "Was wir sehen")),
                 form->captionText(
                     localizer_.translate("SettingsView",
                                          "Anzahl & ungefähre Dauer von Sessions, Zielerreichung "
                                          "(erledigt/teilweise/nicht), ob VESK geholfen hat, App- & macOS-Version.")));
    form->addRow(form->addSection(localizer_.translate("SettingsView", "Was wir nie sehen")),
                 form->captionText(localizer_.translate("SettingsView",
                                                        "Deinen Namen, welche Apps du nutzt, deine Ziele im Wortlaut, "
                                                        "irgendwelche Inhalte, deine IP (keine Speicherung).")));

    if (services_.privacyPolicy && services_.privacyPolicy->isValid()) {
        auto* link = new QPushButton(localizer_.translate("SettingsView", "Datenschutz"));
        link->setObjectName(QStringLiteral("privacyPolicy"));
        QFont linkFont = VeskFont::interface(11);
        linkFont.setUnderline(true);
        link->setFont(linkFont);
        link->setCursor(Qt::PointingHandCursor);
        link->setFocusPolicy(Qt::NoFocus);
        link->setStyleSheet(QStringLiteral("QPushButton { color: %1; background: transparent; border: none;"
                                           " padding: 0; text-align: left; }")
                                .arg(styleSheetColor(theme_.accent)));
        connect(link, &QPushButton::clicked, this,
                [this] { services_.bugReports.workspace.openURL(*services_.privacyPolicy); });
        auto* linkRow = new QWidget(form);
        auto* linkLayout = new QHBoxLayout(linkRow);
        linkLayout->setContentsMargins(0, 0, 0, 0);
        linkLayout->addWidget(link);
        linkLayout->addStretch();
        form->addRow(form->addSection(), linkRow);
    }
    return form;
}

void SettingsView::setBugReportPresented(bool presented)
{
    isBugReportPresented_ = presented;
    if (presented && !bugReportSheet_) {
        auto* bugReport = new BugReportView(
            BugReportFormModel::make(services_.bugReports), [this] { setBugReportPresented(false); }, localizer_);
        bugReportSheet_ = new SheetDialog(window(), bugReport);
        connect(bugReportSheet_, &QDialog::rejected, this, [this] { isBugReportPresented_ = false; });
        bugReportSheet_->show();
    } else if (!presented && bugReportSheet_) {
        bugReportSheet_->close();
    }
}

void SettingsView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), theme_.windowGradient.in(rect()));
}

} // namespace vesk
