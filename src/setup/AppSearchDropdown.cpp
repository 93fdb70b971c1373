#include "setup/AppSearchDropdown.h"

#include "setup/AppSearchResultsView.h"
#include "ui/Shapes.h"
#include "ui/StyleSheetColor.h"
#include "ui/Symbol.h"
#include "ui/VeskFont.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace vesk {

namespace {

QSize symbolBox(double pointSize)
{
    const int side = static_cast<int>(std::ceil(symbolSide(pointSize)));
    return {side, side};
}

} // namespace

AppSearchDropdown::AppSearchDropdown(Options options, std::function<void(const InstalledApp&)> onPick,
                                     const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , options_(options)
    , onPick_(std::move(onPick))
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(static_cast<int>(listGap));
    column->addWidget(fieldBox_ = makeField(localizer));
    list_ = new AppSearchResultsView(options_.showsTrailingPlus,
                                     localizer.translate("AppSearchDropdown", "Keine weiteren Apps gefunden"),
                                     [this](const InstalledApp& app) { pick(app); });
    if (options_.reservesDropdownSpace)
        column->addWidget(list_);
    else {
        list_->setParent(this);
        list_->setBackdrop(theme_.panelTop);
    }
    list_->hide();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    refresh();
}

AppSearchDropdown::~AppSearchDropdown()
{
    // A floating list lives in the window, not in this widget.
    if (list_ && list_->parentWidget() != this)
        delete list_.data();
}

QWidget* AppSearchDropdown::makeField(const Localizer& localizer)
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(14, 11, 14, 11);
    row->setSpacing(10);

    auto* symbol = new QLabel;
    symbol->setPixmap(
        symbolPixmap(Symbol::magnifyingglass, 14, theme_.textSecondary, QFont::Normal, devicePixelRatioF()));
    symbol->setFixedSize(symbolBox(14));
    row->addWidget(symbol, 0, Qt::AlignVCenter);

    field_ = new QLineEdit;
    field_->setFrame(false);
    field_->setFont(VeskFont::interface(14));
    field_->setPlaceholderText(localizer.translate("AppSearchDropdown", "Apps hinzufuegen"));
    field_->setStyleSheet(QStringLiteral("QLineEdit { color: %1; background: transparent; border: none; padding: 0; "
                                         "selection-background-color: %2; }")
                              .arg(styleSheetColor(theme_.textPrimary), styleSheetColor(theme_.accentTint)));
    QPalette palette = field_->palette();
    palette.setColor(QPalette::PlaceholderText, theme_.textSecondary);
    field_->setPalette(palette);
    connect(field_, &QLineEdit::textEdited, this, &AppSearchDropdown::changeTextByUser);
    row->addWidget(field_, 1, Qt::AlignVCenter);

    clearButton_ = new QToolButton;
    clearButton_->setIcon(
        symbolPixmap(Symbol::xmarkCircleFill, 13, theme_.textMuted, QFont::Normal, devicePixelRatioF()));
    clearButton_->setIconSize(symbolBox(13));
    clearButton_->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    clearButton_->setCursor(Qt::PointingHandCursor);
    clearButton_->setFocusPolicy(Qt::NoFocus);
    clearButton_->setToolTip(localizer.translate("AppSearchDropdown", "Suche loeschen"));
    connect(clearButton_, &QToolButton::clicked, this, &AppSearchDropdown::clear);
    row->addWidget(clearButton_, 0, Qt::AlignVCenter);
    return box;
}

std::vector<InstalledApp> AppSearchDropdown::matchingApps(const std::vector<InstalledApp>& apps,
                                                          const std::set<QString>& selectedIDs, const QString& query,
                                                          int limit)
{
    const QString trimmed = query.trimmed();
    std::vector<InstalledApp> found;
    if (trimmed.isEmpty() || limit < 1)
        return found;
    // Upper-cased by the current locale's rules, so that "STRASSE" finds
    // "Straße" and, in Turkish, "İST" finds "istanbul".
    const QLocale locale;
    const QString needle = locale.toUpper(trimmed);
    for (const InstalledApp& app : apps) {
        if (selectedIDs.contains(app.id) || !locale.toUpper(app.name).contains(needle))
            continue;
        found.push_back(app);
        if (static_cast<int>(found.size()) == limit)
            break;
    }
    return found;
}

std::vector<InstalledApp> AppSearchDropdown::matches() const
{
    return matchingApps(apps_, selectedIDs_, searchText_, matchLimit);
}

AppSearchResultsView* AppSearchDropdown::list() const
{
    return list_;
}

bool AppSearchDropdown::isClearButtonShown() const
{
    return !clearButton_->isHidden();
}

void AppSearchDropdown::setApps(std::vector<InstalledApp> apps)
{
    apps_ = std::move(apps);
    refresh();
}

void AppSearchDropdown::setSelectedIDs(std::set<QString> selectedIDs)
{
    selectedIDs_ = std::move(selectedIDs);
    refresh();
}

void AppSearchDropdown::setSearchText(const QString& text)
{
    if (field_->text() != text)
        field_->setText(text);
    searchText_ = text;
    refresh();
}

void AppSearchDropdown::changeTextByUser(const QString& text)
{
    setSearchText(text);
    emit searchTextChanged(text);
}

void AppSearchDropdown::clear()
{
    changeTextByUser(QString());
}

void AppSearchDropdown::pick(const InstalledApp& app)
{
    if (onPick_)
        onPick_(app);
    // Emptied even when the host did not take the application.
    clear();
}

void AppSearchDropdown::refresh()
{
    clearButton_->setHidden(searchText_.isEmpty());
    list_->setRows(matches());
    const bool open = isListOpen();
    if (!options_.reservesDropdownSpace && open)
        placeFloatingList();
    // A floating list lives outside this widget: it follows its visibility
    // and its enabled state (the setup column is disabled during the start).
    list_->setVisible(open && (options_.reservesDropdownSpace || (isVisible() && isEnabled())));
}

void AppSearchDropdown::placeFloatingList()
{
    QWidget* host = window() == this ? this : window();
    if (list_->parentWidget() != host) {
        list_->setParent(host);
        watchAncestors();
    }
    const QPoint origin = mapTo(host, QPoint(0, fieldBox_->geometry().bottom() + 1 + static_cast<int>(listGap)));
    list_->setGeometry(QRect(origin, QSize(width(), list_->sizeHint().height())));
    list_->raise();
}

void AppSearchDropdown::watchAncestors()
{
    for (const QPointer<QWidget>& ancestor : watchedAncestors_) {
        if (ancestor)
            ancestor->removeEventFilter(this);
    }
    watchedAncestors_.clear();
    for (QWidget* widget = this; widget; widget = widget->parentWidget()) {
        widget->installEventFilter(this);
        watchedAncestors_.emplace_back(widget);
        if (widget->isWindow())
            break;
    }
}

bool AppSearchDropdown::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        if (!options_.reservesDropdownSpace && isListOpen())
            placeFloatingList();
    }
    return QWidget::eventFilter(watched, event);
}

void AppSearchDropdown::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void AppSearchDropdown::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        refresh();
}

void AppSearchDropdown::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!options_.reservesDropdownSpace)
        list_->hide();
}

void AppSearchDropdown::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(QRectF(fieldBox_->geometry()), cornerRadius), theme_.inset);
}

} // namespace vesk
