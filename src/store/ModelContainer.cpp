#include "store/ModelContainer.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

namespace vesk {

namespace {

template <typename Model>
QString createTableStatement()
{
    QString sql = QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" (pk INTEGER PRIMARY KEY")
                      .arg(QString::fromUtf8(Model::tableName()));
    for (const ModelColumn& column : Model::columns())
        sql += QStringLiteral(", \"%1\" %2").arg(QString::fromUtf8(column.name), QString::fromUtf8(column.sqlType));
    return sql + QLatin1Char(')');
}

// "pk INTEGER, id TEXT, …" as the model declares its table.
template <typename Model>
QStringList expectedColumns()
{
    QStringList columns{QStringLiteral("pk INTEGER")};
    for (const ModelColumn& column : Model::columns())
        columns.append(QStringLiteral("%1 %2").arg(QString::fromUtf8(column.name), QString::fromUtf8(column.sqlType)));
    return columns;
}

// The columns the file's table has, in the same form; empty when there is no such table.
StoreResult<QStringList> storedColumns(QSqlDatabase& database, const char* table)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(QString::fromUtf8(table))))
        return StoreError{query.lastError().text()};
    QStringList columns;
    while (query.next())
        columns.append(QStringLiteral("%1 %2").arg(query.value(1).toString(), query.value(2).toString()));
    return columns;
}

// A table of ours in the file must have exactly the model's columns; at the
// current version every one of them must be there. Anything else is a file
// this version cannot use, and it is left as it is.
template <typename Model>
std::optional<StoreError> checkTable(QSqlDatabase& database, bool mustExist)
{
    const StoreResult<QStringList> stored = storedColumns(database, Model::tableName());
    if (!stored)
        return stored.error();
    const QStringList expected = expectedColumns<Model>();
    if (stored.value().isEmpty() && !mustExist)
        return std::nullopt;
    if (stored.value() == expected)
        return std::nullopt;
    const QString found =
        stored.value().isEmpty() ? QStringLiteral("no table") : stored.value().join(QStringLiteral(", "));
    return StoreError{QStringLiteral("The store's table %1 does not match this version of Vesk — expected=%2, found=%3")
                          .arg(QString::fromUtf8(Model::tableName()), expected.join(QStringLiteral(", ")), found)};
}

std::optional<StoreError> checkTables(QSqlDatabase& database, bool mustExist)
{
    if (auto error = checkTable<FocusSession>(database, mustExist))
        return error;
    if (auto error = checkTable<AllowlistPreset>(database, mustExist))
        return error;
    return checkTable<CurrentAllowlist>(database, mustExist);
}

std::optional<StoreError> execute(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql))
        return StoreError{query.lastError().text()};
    return std::nullopt;
}

// Brings the file up to the current schema version, in one transaction.
std::optional<StoreError> migrate(QSqlDatabase& database)
{
    QSqlQuery query(database);
    if (auto error = execute(query, QStringLiteral("PRAGMA user_version")))
        return error;
    if (!query.next())
        return StoreError{QStringLiteral("Could not read the schema version of the store")};
    const int version = query.value(0).toInt();
    query.finish();
    if (version > ModelContainer::schemaUserVersion)
        return StoreError{
            QStringLiteral("The store was written by a newer version of Vesk — userVersion=%1").arg(version)};
    if (auto error = checkTables(database, version == ModelContainer::schemaUserVersion))
        return error;
    if (version == ModelContainer::schemaUserVersion)
        return std::nullopt;

    if (!database.transaction())
        return StoreError{database.lastError().text()};
    for (const QString& sql : {createTableStatement<FocusSession>(), createTableStatement<AllowlistPreset>(),
                               createTableStatement<CurrentAllowlist>(),
                               QStringLiteral("PRAGMA user_version = %1").arg(ModelContainer::schemaUserVersion)}) {
        if (auto error = execute(query, sql)) {
            database.rollback();
            return error;
        }
    }
    if (!database.commit()) {
        const StoreError error{database.lastError().text()};
        database.rollback();
        return error;
    }
    return std::nullopt;
}

void closeConnection(const QString& connectionName)
{
    {
        QSqlDatabase database = QSqlDatabase::database(connectionName, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

} // namespace

QString ModelContainer::defaultStorePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(storeFileName);
}

ModelContainer::ModelContainer(QString path, QString connectionName)
    : path_(std::move(path))
    , connectionName_(std::move(connectionName))
    , mainContext_(std::make_unique<ModelContext>(connectionName_))
{
}

ModelContainer::~ModelContainer()
{
    mainContext_.reset();
    closeConnection(connectionName_);
}

StoreResult<std::unique_ptr<ModelContainer>> ModelContainer::open(const QString& path)
{
    const QFileInfo file(path);
    if (!QDir().mkpath(file.absolutePath()))
        return StoreError{QStringLiteral("Could not create the folder %1").arg(file.absolutePath())};
    if (file.isDir())
        return StoreError{QStringLiteral("The store path is a folder")};

    const QString connectionName = QStringLiteral("VeskData-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::optional<StoreError> error;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        database.setDatabaseName(file.absoluteFilePath());
        if (!database.open())
            error = StoreError{database.lastError().text()};
        else
            error = migrate(database);
    }
    if (error) {
        closeConnection(connectionName);
        return *error;
    }
    return std::unique_ptr<ModelContainer>(new ModelContainer(file.absoluteFilePath(), connectionName));
}

} // namespace vesk
