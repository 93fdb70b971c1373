#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <variant>
#include <vector>

namespace vesk::platform {

// What the field codes of a command line stand for at one launch.
struct XdgExecContext {
    // The documents to open: files and URLs.
    QList<QUrl> documents;
    // The entry's Icon (%i), its localised Name (%c), its file (%k).
    QString icon;
    QString name;
    QString desktopFilePath;
};

// A desktop entry's Exec line split into its arguments, the quoting undone
// and the field codes still in them.
class XdgExecLine {
public:
    // None for an empty line or an unterminated quote. Arguments are
    // separated by spaces or tabs outside double quotes; inside them "\"",
    // "\`", "\$" and "\\" stand for the character.
    static std::optional<XdgExecLine> parse(const QString& exec);

    const QStringList& arguments() const { return arguments_; }
    const QString& program() const { return arguments_.front(); }

    // The commands to start, each program and arguments: one, or one per
    // document when the line takes a single file or URL (%f, %u) and there
    // are several. %F and %U become one argument per document, %f and %F
    // take local files only (others are left out), %u and %U give a local
    // file as its path and anything else as its URL; an argument holding
    // %f or %u with nothing to put there is left out. %i becomes "--icon"
    // and the icon (nothing without one), %c the name, %k the entry's file,
    // %% a percent sign; %d %D %n %N %v %m are dropped. Any other field
    // code, a lone '%' at the end, or %F, %U or %i inside a longer argument
    // make the line invalid: the reason is returned.
    std::variant<std::vector<QStringList>, QString> commands(const XdgExecContext& context) const;

    // Where the program that a command runs in the end stands in it: past an
    // "env" and the VAR=value assignments after it. The size of the list
    // when there is none.
    static qsizetype programIndex(const QStringList& arguments);

    bool operator==(const XdgExecLine&) const = default;

private:
    explicit XdgExecLine(QStringList arguments) : arguments_(std::move(arguments)) { }

    QStringList arguments_;
};

} // namespace vesk::platform
